// The speech service's events against what was handed to it, in the orders
// its thread can deliver them.
#include "host/speech_ledger.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace sw::host {
namespace {

// Steps, separated by blanks: "s" a text is sent; "q3" the service took
// it as id 3 (text "t3"); "b3", "e3", "c3" its begin, end and cancel; "f" a
// send failed; "p" a purge. Returns the captions in the order they were due.
std::vector<std::string> Play(SpeechLedger& ledger, const std::string& steps) {
    std::vector<std::string> captions;
    std::istringstream in(steps);
    for (std::string step; in >> step;) {
        const std::size_t id = step.size() > 1 ? std::stoul(step.substr(1)) : 0;
        std::vector<std::string> due;
        switch (step[0]) {
        case 's': ledger.Sending(); break;
        case 'f': ledger.SendFailed(); break;
        case 'p': ledger.Purge(); break;
        case 'q': due = ledger.Queued(id, "t" + std::to_string(id)); break;
        case 'b': due = ledger.Told(id, SpeechLedger::Event::Begin); break;
        case 'e': due = ledger.Told(id, SpeechLedger::Event::End); break;
        case 'c': due = ledger.Told(id, SpeechLedger::Event::Cancel); break;
        default: ADD_FAILURE() << "bad step " << step;
        }
        captions.insert(captions.end(), due.begin(), due.end());
    }
    return captions;
}

struct Case {
    const char* steps;
    std::vector<std::string> captions;
    bool speaking;
};

TEST(SpeechLedger, CaptionsOnceAtTheStartAndSpeaksUntilTheEnd) {
    using V = std::vector<std::string>;
    const Case cases[] = {
        {"", {}, false},
        {"s", {}, true},                                   // speaking from the call on
        {"s q1", {}, true},
        {"s q1 b1", V{"t1"}, true},
        {"s q1 b1 e1", V{"t1"}, false},
        {"s q1 s q2 b1 e1 b2", V{"t1", "t2"}, true},       // queued texts in turn
        {"s q1 b1 b1 e1", V{"t1"}, false},                 // a repeated begin is no second caption
        {"s b1 q1", V{"t1"}, true},                        // begin before the id came back
        {"s b1 e1 q1", V{"t1"}, false},                    // the whole text before it
        {"s q1 e1", V{"t1"}, false},                       // an end with no begin: it was heard
        {"s q1 e1 b1", V{"t1"}, false},                    // and the late begin is dropped
        {"s q1 c1", {}, false},                            // cancelled while queued: never heard
        {"s q1 b1 c1", V{"t1"}, false},                    // cancelled while speaking
        {"s q1 s q2 b1 c2", V{"t1"}, true},                // the queued one cancelled, the first goes on
        {"s f", {}, false},                                // the service did not take it
        {"s q1 b1 p", V{"t1"}, false},                     // purge while speaking
        {"s q1 p b1 e1", {}, false},                       // events of purged texts dropped
        {"s q1 p s q2 b1 b2", V{"t2"}, true},
        {"b7 e7", {}, false},                              // an id never sent, nothing on its way
        {"s q5 b3 e3", {}, true},                          // an older id not ours
        {"s b2 p s q3 b3", V{"t3"}, true},                 // an early event of an id that never came
    };
    for (const Case& c : cases) {
        SpeechLedger ledger;
        EXPECT_EQ(Play(ledger, c.steps), c.captions) << c.steps;
        EXPECT_EQ(ledger.Speaking(), c.speaking) << c.steps;
    }
}

TEST(SpeechLedger, StrayEarlyEventsAreBounded) {
    SpeechLedger ledger;
    ledger.Sending();
    for (std::size_t id = 100; id < 1000; ++id) ledger.Told(id, SpeechLedger::Event::Begin);
    // The text's own early begin still counts when room was left for it...
    EXPECT_TRUE(ledger.Queued(100, "first").size() == 1);
    // ...and one beyond the bound is dropped rather than kept for ever.
    ledger.Sending();
    EXPECT_TRUE(ledger.Queued(999, "last").empty());
}

}  // namespace
}  // namespace sw::host
