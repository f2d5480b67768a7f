#include "play/fouls.h"

namespace sw {

Fouls::Fouls(const PlayDeps& d, Narration& narration) : gs_(d.gs), pv_(d.pv), keys_(d.keys), narration_(narration) {}

void Fouls::Foul() {}

}  // namespace sw
