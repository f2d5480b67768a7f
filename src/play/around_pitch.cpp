#include "play/around_pitch.h"

namespace sw {

AroundThePitch::AroundThePitch(const PlayDeps& d, FieldingSounds& field, StatusReport& status, Narration& narration,
                               Pitch& pitch)
    : gs_(d.gs),
      pv_(d.pv),
      pitchValues_(d.pitch),
      words_(d.words),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      field_(field),
      status_(status),
      narration_(narration),
      pitch_(pitch) {}

bool AroundThePitch::PickOff() { return true; }
void AroundThePitch::WildPitch() {}
void AroundThePitch::HitBatter() {}
void AroundThePitch::Bunt() {}

}  // namespace sw
