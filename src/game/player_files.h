// The player's files in the data folder: where they are, and every read and
// write the game makes of them. The start-up, the volume dialog, the pause
// menu and the end of a game all go through this one object.
#pragma once

#include "data/game_files.h"
#include "data/rosters.h"
#include "record/game_state.h"
#include "speech/speech.h"

#include <optional>
#include <string>
#include <vector>

namespace sw {

class PlayerFiles {
public:
    // The data folder, chosen at start-up; empty until then.
    std::string folder;

    // The full path of a file of the data folder, found ignoring case; the
    // name as given when it is not there yet.
    std::string Path(const std::string& name) const;
    bool Has(const std::string& name) const;

    // baseball.vol and baseball.cfg, as far as they can be read.
    StoredVoice ReadVoiceSettings() const;
    void WriteVolumes(int waveVolume, int speechVolume) const;
    void WriteVoiceConfig(int voiceIndex, int speechRate) const;

    // baseball.rec into the series fields of `gs`. A record that cannot be
    // read in full, or that names nobody, is no series at all.
    void ReadSeries(GameState& gs) const;
    void WriteSeries(const GameState& gs) const;
    // The series is decided: baseball.rec and baseball.sav both hold 0.
    void WriteSeriesDecided() const;

    // baseball.sav.
    data::SaveProbe ProbeSave() const;
    bool ReadSave(data::SavedGame& saved) const;
    void WriteSaveMarker(int marker) const;
    // "Save and exit": the whole game, then the batting order.
    void WriteSavedGame(const GameState& gs, const data::Rosters& rosters) const;
    void ReadBattingOrder(GameState& gs) const;

    // baseballlog.txt.
    void StartNewLog() const;
    void AppendLog(const std::vector<std::string>& lines) const;
    std::string ReadLogHeader() const;
    // The whole log with its lines joined with nothing between them.
    std::string ReadLogJoined() const;
};

}  // namespace sw
