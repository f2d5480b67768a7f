// How the player's new pitcher comes in from the bull-pen: one of three verbs
// by a draw of three.
#include "game/broadcast.h"
#include "game/bullpen.h"
#include "game/player_files.h"
#include "host/files.h"
#include "play/play_world.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::Draw;

TEST(Bullpen, TheNewPitchersVerbIsDrawnFromThree) {
    for (const auto& [roll, verb] :
         std::vector<std::pair<int, std::string>>{{1, "running"}, {2, "trotting"}, {3, "coming"}}) {
        SCOPED_TRACE(verb);
        test::PlayWorld w;
        PlayerFiles files;
        files.folder = w.world.dir.path() + "/data";
        host::MakeFolder(files.folder);
        Broadcast broadcast(w.gs, w.words, w.speech, w.sound, w.keys, files);
        Bullpen bullpen(w.gs, w.rosters, w.speech, w.sound, w.waits, w.plays, broadcast);
        w.gs.bullpenCountTeam1 = 6;
        w.sim().PressKey(13, 0.2);  // Enter: the first on the list
        w.Force({Draw(3, roll)});
        bullpen.PlayerChange();
        const auto said = w.Said();
        const std::string line = " is " + verb + " in from the bull-pen. we will be back";
        EXPECT_NE(std::find(said.begin(), said.end(), line), said.end());
    }
}

}  // namespace
}  // namespace sw
