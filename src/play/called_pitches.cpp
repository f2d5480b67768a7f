#include "play/called_pitches.h"

namespace sw {

CalledPitches::CalledPitches(const PlayDeps& d, FieldingSounds& field, StatusReport& status)
    : gs_(d.gs),
      pv_(d.pv),
      pitch_(d.pitch),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      field_(field),
      status_(status) {}

void CalledPitches::CalledPitch() {}
void CalledPitches::SwingingStrike() {}
const char* CalledPitches::PitchNameOf(int) { return nullptr; }

}  // namespace sw
