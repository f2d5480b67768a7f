// The verdict on the player's swing: what the batter did and how much of the
// pitch sound had been heard when the key went down decide the pitch.
#pragma once

namespace sw {

enum class SwingAction { None, Swing, Bunt };

enum class SwingVerdict {
    Take,    // no swing: the umpire calls the pitch
    Miss,    // a swing outside 80..95 percent
    Foul,    // contact at 80..85 or 90..95; a bunt there rolls foul
    InPlay,  // contact at 85..90 (both ends in); a bunt there is laid down
};

// `percent` is the position of the pitch sound at the key, 0..100.
SwingVerdict VerdictOf(SwingAction action, double percent);

}  // namespace sw
