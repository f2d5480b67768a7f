// The swing verdict at every edge of its bands, on both sides.
#include "play/swing_verdict.h"

#include <gtest/gtest.h>

#include <vector>

namespace sw {
namespace {

TEST(SwingVerdict, EveryBandEdgeOnBothSides) {
    using V = SwingVerdict;
    struct Case {
        double percent;
        V verdict;
    };
    const std::vector<Case> cases = {
        {0, V::Miss},       {79.99, V::Miss},   {80, V::Foul},   {84.99, V::Foul}, {85, V::InPlay},
        {90, V::InPlay},    {90.01, V::Foul},   {95, V::Foul},   {95.01, V::Miss}, {97.5, V::Miss},
        {100, V::Miss},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        // A bunt is judged in the same bands: a foul bunt rolls foul, one in play is laid down.
        EXPECT_EQ(VerdictOf(SwingAction::Swing, c.percent), c.verdict);
        EXPECT_EQ(VerdictOf(SwingAction::Bunt, c.percent), c.verdict);
        EXPECT_EQ(VerdictOf(SwingAction::None, c.percent), V::Take);
    }
}

}  // namespace
}  // namespace sw
