#include "play/status_report.h"

namespace sw {

StatusReport::StatusReport(const PlayDeps& d, const data::Rosters& rosters)
    : gs_(d.gs), words_(d.words), speech_(d.speech), keys_(d.keys), rosters_(rosters) {}

void StatusReport::Report(int) {}
void StatusReport::OutsReadOut() {}
std::string StatusReport::OutsSentence() const { return {}; }
void StatusReport::BatterReadOut() {}
bool StatusReport::ReadKey() { return true; }
std::string StatusReport::ItemText(int) const { return {}; }

}  // namespace sw
