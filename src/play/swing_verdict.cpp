#include "play/swing_verdict.h"

namespace sw {

SwingVerdict VerdictOf(SwingAction action, double percent) {
    if (action == SwingAction::None) return SwingVerdict::Take;
    if (percent < 80 || percent > 95) return SwingVerdict::Miss;
    if (percent >= 85 && percent <= 90) return SwingVerdict::InPlay;
    return SwingVerdict::Foul;
}

}  // namespace sw
