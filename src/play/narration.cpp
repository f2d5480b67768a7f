#include "play/narration.h"

namespace sw {

Narration::Narration(const PlayDeps& d, FieldingSounds& field, StatusReport& status, CalledPitches& called)
    : gs_(d.gs),
      pv_(d.pv),
      pitch_(d.pitch),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      field_(field),
      status_(status),
      called_(called) {}

void Narration::advanceRunners() {}
void Narration::Narrate() {}
void Narration::ClosingSteps() {}
void Narration::PlayerSteal() {}
void Narration::ComputerSteal() {}
void Narration::StealThrow() {}

}  // namespace sw
