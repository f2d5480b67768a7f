// The two programs share one set of operations; where the practice program's
// copy behaves differently, the difference is one of these switches.
#pragma once

namespace sw {

struct Variant {
    // getkey lets the crowd act on every turn of its wait, whatever crowdOn says.
    bool crowdAlways = false;
    // After a hot key, the pending key is "1" (the operation that waited asks again).
    bool hotKeyLeavesOne = false;
    // adjrate ends by speaking an empty text instead of leaving the key "1".
    bool rateDialogSpeaksEmpty = false;
    // changevoice gives a new voice the stored speech volume.
    bool voiceChangeSetsVolume = true;
    // changevoice leaves F1 ("112") pending when it ends.
    bool voiceDialogLeavesF1 = false;
    // play3 ends early when a key is pressed, like play2.
    bool play3CutByKey = false;
    // Escape leaves the batter's box like "e".
    bool escapeLeavesBox = false;
    // The swing instructions count starts again each time practice is entered.
    bool resetPromptCountOnEntry = true;
    // Speech volume when no volume file says otherwise.
    int defaultSpeechVolume = 90;

    static Variant Game() { return {}; }
    static Variant Batting() {
        Variant v;
        v.crowdAlways = true;
        v.hotKeyLeavesOne = true;
        v.rateDialogSpeaksEmpty = true;
        v.voiceChangeSetsVolume = false;
        v.voiceDialogLeavesF1 = true;
        v.play3CutByKey = true;
        v.escapeLeavesBox = true;
        v.resetPromptCountOnEntry = false;
        v.defaultSpeechVolume = 80;
        return v;
    }
};

}  // namespace sw
