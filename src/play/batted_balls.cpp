#include "play/batted_balls.h"

namespace sw {

BattedBalls::BattedBalls(const PlayDeps& d, FieldingSounds& field, Narration& narration)
    : gs_(d.gs),
      pv_(d.pv),
      words_(d.words),
      speech_(d.speech),
      sound_(d.sound),
      keys_(d.keys),
      field_(field),
      narration_(narration) {}

void BattedBalls::HitPlay() {}
void BattedBalls::OutPlay() {}

}  // namespace sw
