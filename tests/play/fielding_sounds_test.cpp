// Where the sounds of the field are heard: the umpire's calls at each base
// and field, the slides, the dives and the gloves.
#include "play_world.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using Strings = std::vector<std::string>;

TEST(FieldingSounds, CallsAtEveryPlace) {
    struct Case {
        int target;
        Strings out, safe;
    };
    const std::vector<Case> cases = {
        {1, {"glove@500/-1000", "yourout1@500/-1000"}, {"glove@500/-1000", "safe1@500/-1000"}},
        {2, {"glove@-500/-1000", "yourout2@-500/-1000"}, {"glove@-500/-1000", "safe2@-500/-1000"}},
        {3, {"glove@-2500/-800", "yourout3@-2500/-800"}, {"glove@-2500/-800", "safe3@-2500/-800"}},
        {4, {"glove@2700/0", "yourout@2700/0"}, {"safe@2700/0"}},
        {5, {"glove@500/-1900", "yourout1@500/-1900"}, {}},
        // Center field: a little left of the middle and far quieter than first.
        {6, {"glove@-500/-1900", "yourout2@-500/-1900"}, {}},
        {7, {"glove@-2500/-1700", "yourout3@-2500/-1700"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        for (int glove = 0; glove <= 1; ++glove) {
            test::PlayWorld w;
            w.pv().throwTarget = c.target;
            w.pv().noGloveFlag = glove == 0 ? 1 : 0;
            w.plays.field.sayoutat();
            Strings expect = c.out;
            if (glove == 0) expect.erase(expect.begin());  // a strikeout or a diving catch: the umpire alone
            EXPECT_EQ(w.Sounds(), expect);
        }
        if (c.safe.empty()) continue;
        test::PlayWorld w;
        w.pv().throwTarget = c.target;
        w.plays.field.saysafeat();
        EXPECT_EQ(w.Sounds(), c.safe);
        if (c.target <= 3) {
            test::PlayWorld g;
            g.plays.field.pig(c.target);
            EXPECT_EQ(g.Sounds(), Strings{c.safe.front()});
        }
    }
}

TEST(FieldingSounds, CallsWaitForEachOtherAndFollowTheVolume) {
    test::PlayWorld w;
    w.sound.waveVolume = -1200;
    w.pv().throwTarget = 3;
    w.plays.field.sayoutat();
    EXPECT_EQ(w.Sounds(), (Strings{"glove@-2500/-2000", "yourout3@-2500/-2000"}));
    const auto& s = w.sim().sounds();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_GE(s[1].start, s[0].stop);
    EXPECT_GE(w.sim().clock().now(), s[1].stop);
}

TEST(FieldingSounds, SlideReturnsWhileItStillSounds) {
    const Strings places = {"slide@500/-500", "slide@-500/-600", "slide@-2500/-500", "slide@2700/0"};
    for (int base = 1; base <= 4; ++base) {
        SCOPED_TRACE(base);
        test::PlayWorld w;
        w.pv().throwTarget = base;
        const double before = w.sim().clock().now();
        w.plays.field.playslide();
        const double after = w.sim().clock().now();
        EXPECT_EQ(w.Sounds(), Strings{places[base - 1]});
        EXPECT_NEAR(after - before, 0.37, 0.003);
        // The next call overlaps the slide: it is still sounding.
        EXPECT_EQ(w.sim().sounds().front().stop, -1);
        EXPECT_EQ(w.sim().liveBuffers().size(), 1u);
    }
}

TEST(FieldingSounds, FieldersAreHeardAtTheirPlaces) {
    // Each random part r(n) is 1 for the draw 0 and n for the draw just below 1.
    struct Case {
        int fielder;
        std::string low, high;  // slide place with r = 1 and with r = n
    };
    const std::vector<Case> cases = {
        {1, "599/-551", "200/-650"},     {2, "399/-651", "-600/-750"},   {3, "-1499/-651", "-500/-750"},
        {4, "-2499/-551", "-2100/-650"}, {5, "-2499/-1999", "-1500/-1100"}, {6, "-1499/-1999", "-500/-1100"},
        {7, "599/-1999", "-400/-1100"},
    };
    auto glove = [](const std::string& place, int quieter) {
        const auto slash = place.find('/');
        return place.substr(0, slash) + "/" + std::to_string(std::stoi(place.substr(slash + 1)) - quieter);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fielder);
        for (double draw : {0.0, 0.99999}) {
            const std::string place = draw == 0 ? c.low : c.high;
            test::PlayWorld w;
            w.Force({draw, draw});
            w.plays.field.playerslide(c.fielder, 1);
            EXPECT_EQ(w.Sounds(), (Strings{"slide@" + place, "glove@" + glove(place, 150)}));
            test::PlayWorld n;
            n.Force({draw, draw});
            n.plays.field.playerslide(c.fielder, 0);
            EXPECT_EQ(n.Sounds(), Strings{"slide@" + place});
            if (c.fielder > 4) continue;
            test::PlayWorld p;
            p.Force({draw, draw});
            p.plays.field.prig(c.fielder);
            EXPECT_EQ(p.Sounds(), Strings{"glove@" + glove(place, 100)});
        }
    }
    // Without forcing, two dives of one fielder are placed anew each time.
    test::PlayWorld w;
    w.plays.field.playerslide(2, 0);
    w.plays.field.playerslide(2, 0);
    ASSERT_EQ(w.Sounds().size(), 2u);
    EXPECT_NE(w.Sounds()[0], w.Sounds()[1]);
}

}  // namespace
}  // namespace sw
