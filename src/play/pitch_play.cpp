#include "play/pitch_play.h"

namespace sw {

PitchPlay::PitchPlay(const PlayDeps& d, Pitch& pitch, CalledPitches& called, BattedBalls& balls, Fouls& fouls,
                     AroundThePitch& around, Narration& narration)
    : gs_(d.gs),
      pv_(d.pv),
      pitchValues_(d.pitch),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      pitch_(pitch),
      called_(called),
      balls_(balls),
      fouls_(fouls),
      around_(around),
      narration_(narration) {}

void PitchPlay::pickspecpitch() {}
void PitchPlay::throwspitball() {}
void PitchPlay::DrawHitChance() {}
void PitchPlay::DrawBatterAction() {}
bool PitchPlay::ThePitch() { return true; }
void PitchPlay::JudgeSwing() {}
void PitchPlay::BallInPlay(int) {}

}  // namespace sw
