#include "play/fielding_sounds.h"

namespace sw {

FieldingSounds::FieldingSounds(const PlayDeps& d) : pv_(d.pv), sound_(d.sound), keys_(d.keys) {}

void FieldingSounds::sayoutat() {}
void FieldingSounds::saysafeat() {}
void FieldingSounds::playslide() {}
void FieldingSounds::playerslide(int, int) {}
void FieldingSounds::pig(int) {}
void FieldingSounds::prig(int) {}
Place FieldingSounds::CallPlace(int) { return {0, 0}; }
Place FieldingSounds::SlidePlace(int) { return {0, 0}; }
Place FieldingSounds::FielderPlace(int) { return {0, 0}; }
void FieldingSounds::PlayAt(const std::string&, Place, bool, bool) {}

}  // namespace sw
