#include "game/player_files.h"

#include "data/settings_files.h"
#include "game/saved_game.h"
#include "host/files.h"

#include <cstdio>

namespace sw {

std::string PlayerFiles::Path(const std::string& name) const {
    auto onDisk = host::FileNameOnDisk(folder, name);
    return host::JoinPath(folder, onDisk ? *onDisk : name);
}

bool PlayerFiles::Has(const std::string& name) const { return host::FindFile(folder, name).has_value(); }

StoredVoice PlayerFiles::ReadVoiceSettings() const {
    StoredVoice stored;
    if (auto path = host::FindFile(folder, "baseball.vol")) {
        if (auto vol = data::ReadVolumes(*path, {0, 90})) {
            stored.haveVolumes = true;
            stored.waveVolume = vol->waveVolume;
            stored.speechVolume = vol->speechVolume;
        }
    }
    if (auto path = host::FindFile(folder, "baseball.cfg")) {
        if (auto cfg = data::ReadVoiceConfig(*path)) {
            stored.haveConfig = true;
            stored.voiceIndex = cfg->voiceIndex;
            stored.speechRate = cfg->speechRate;
        }
    }
    return stored;
}

void PlayerFiles::WriteVolumes(int waveVolume, int speechVolume) const {
    if (folder.empty()) return;
    data::WriteVolumes(Path("baseball.vol"), {waveVolume, speechVolume});
}

void PlayerFiles::WriteVoiceConfig(int voiceIndex, int speechRate) const {
    if (folder.empty()) return;
    data::WriteVoiceConfig(Path("baseball.cfg"), {voiceIndex, speechRate});
}

void PlayerFiles::ReadSeries(GameState& gs) const {
    gs.seriesOpenerHome = 0;
    gs.seriesWinsTeam1 = 0;
    gs.seriesWinsTeam2 = 0;
    auto path = host::FindFile(folder, "baseball.rec");
    if (!path) return;
    data::SeriesRecord rec;
    const bool whole = data::ReadSeriesRecord(*path, rec);
    if (rec.seriesOpenerHome == 0) return;
    // A side with four wins has already taken the series: the record of a
    // program stopped after the deciding game was counted.
    if (rec.seriesWinsTeam1 >= 4 || rec.seriesWinsTeam2 >= 4) return;
    if (!whole || rec.teamName1.empty() || rec.managerName.empty() || rec.teamName2.empty()) {
        std::fprintf(stderr, "series record: %s cannot be read in full; a new series begins\n", path->c_str());
        return;
    }
    gs.seriesOpenerHome = rec.seriesOpenerHome;
    gs.seriesWinsTeam1 = rec.seriesWinsTeam1;
    gs.seriesWinsTeam2 = rec.seriesWinsTeam2;
    gs.teamName[1] = rec.teamName1;
    gs.managerName = rec.managerName;
    gs.teamName[2] = rec.teamName2;
}

void PlayerFiles::WriteSeries(const GameState& gs) const { data::WriteSeriesRecord(Path("baseball.rec"), SeriesRecordOf(gs)); }

void PlayerFiles::WriteSeriesDecided() const {
    data::WriteSaveMarker(Path("baseball.sav"), data::kMarkerNoGame);
    data::WriteSeriesDecided(Path("baseball.rec"));
}

data::SaveProbe PlayerFiles::ProbeSave() const {
    auto path = host::FindFile(folder, "baseball.sav");
    if (!path) return {};
    return data::ProbeSavedGame(*path);
}

bool PlayerFiles::ReadSave(data::SavedGame& saved) const { return data::ReadSavedGame(Path("baseball.sav"), saved); }

void PlayerFiles::WriteSaveMarker(int marker) const { data::WriteSaveMarker(Path("baseball.sav"), marker); }

void PlayerFiles::WriteSavedGame(const GameState& gs, const data::Rosters& rosters) const {
    data::WriteSavedGame(Path("baseball.sav"), SavedGameOf(gs, rosters));
    data::WriteBattingOrder(Path("basebats.sav"), {gs.batterUpTeam1, gs.batterUpTeam2});
}

void PlayerFiles::ReadBattingOrder(GameState& gs) const {
    auto bats = host::FindFile(folder, "basebats.sav");
    if (!bats) return;
    data::BattingOrder order{gs.batterUpTeam1, gs.batterUpTeam2};
    data::ReadBattingOrder(*bats, order);
    gs.batterUpTeam1 = order.batterUpTeam1;
    gs.batterUpTeam2 = order.batterUpTeam2;
}

void PlayerFiles::StartNewLog() const { data::StartNewLog(Path("baseballlog.txt")); }

void PlayerFiles::AppendLog(const std::vector<std::string>& lines) const { data::AppendLog(Path("baseballlog.txt"), lines); }

std::string PlayerFiles::ReadLogHeader() const { return data::ReadLogHeader(Path("baseballlog.txt")); }

std::string PlayerFiles::ReadLogJoined() const {
    std::string text;
    try {
        auto path = host::FindFile(folder, "baseballlog.txt");
        if (!path) return text;
        const std::string raw = host::ReadText(*path);
        for (char c : raw)
            if (c != '\r' && c != '\n') text += c;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "game log: %s\n", e.what());
    }
    return text;
}

}  // namespace sw
