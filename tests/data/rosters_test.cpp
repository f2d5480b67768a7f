// The roster files: default rosters, the shape a file must have, and a
// reader that survives anything a text editor (or a broken disk) hands it.
#include "data/rosters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace sw::data {
namespace {

constexpr RosterFile kFiles[] = {RosterFile::Batters, RosterFile::StartingPitchers,
                                 RosterFile::ReliefPitchers};

std::pair<std::span<std::string>, std::span<std::string>> Arrays(RosterFile f, Rosters& r) {
    if (f == RosterFile::Batters) return {r.battersTeam1, r.battersTeam2};
    if (f == RosterFile::StartingPitchers) return {r.startersTeam1, r.startersTeam2};
    return {r.bullpenTeam1, r.bullpenTeam2};
}

bool SameArrays(RosterFile f, Rosters& a, Rosters& b) {
    auto [a1, a2] = Arrays(f, a);
    auto [b1, b2] = Arrays(f, b);
    return std::equal(a1.begin(), a1.end(), b1.begin()) && std::equal(a2.begin(), a2.end(), b2.begin());
}

std::vector<std::string> Lines(RosterFile f) {
    std::vector<std::string> lines;
    std::string text = DefaultRosterText(f);
    for (size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::string& eol = "\r\n", bool last = true) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() || last ? eol : "");
    return text;
}

bool Parse(RosterFile f, const std::string& text, Rosters* out = nullptr) {
    Rosters r;
    bool ok = ParseRoster(f, text, r);
    if (out) *out = r;
    return ok;
}

TEST(Rosters, DefaultsRoundTripThroughTheirOwnText) {
    const long lineCounts[] = {20, 12, 17};
    for (RosterFile f : kFiles) {
        SCOPED_TRACE(Layout(f).fileName);
        const std::string text = DefaultRosterText(f);
        EXPECT_EQ(text.rfind(std::string(Layout(f).header1) + "\r\n", 0), 0u);
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), lineCounts[static_cast<int>(f)]);
        EXPECT_EQ(Join(Lines(f)), text);  // every line end a CR LF

        Rosters expected, parsed;
        expected.battersTeam1.fill("junk");
        expected.startersTeam2.fill("junk");
        expected.bullpenTeam2.fill("junk");
        SetDefaults(f, expected);
        ASSERT_TRUE(ParseRoster(f, text, parsed));
        auto [team1, team2] = Arrays(f, expected);
        EXPECT_EQ(team1[0], "");  // nothing left over from before
        EXPECT_EQ(team2.back(), "");
        EXPECT_EQ(f == RosterFile::Batters ? expected.startersTeam2[1] : expected.battersTeam1[1], "junk");
        EXPECT_TRUE(SameArrays(f, parsed, expected));
    }
    // The bullpen list names a reliever by the text up to the first colon.
    Rosters r;
    SetDefaults(RosterFile::ReliefPitchers, r);
    for (int i = 1; i <= 6; ++i) EXPECT_GT(r.bullpenTeam1[i].find(':'), 5u) << r.bullpenTeam1[i];
}

TEST(Rosters, FileShapeRules) {
    const auto lines = Lines(RosterFile::Batters);
    const RosterFile b = RosterFile::Batters;
    auto with = [&](size_t index, const std::string& value) {
        auto l = lines;
        l[index] = value;
        return l;
    };
    const std::vector<std::string> firstTeam(lines.begin(), lines.begin() + 10);

    EXPECT_FALSE(Parse(b, Join(with(19, ""))));  // ninth computer batter empty
    EXPECT_FALSE(Parse(b, Join(with(19, "   "))));
    EXPECT_TRUE(Parse(b, Join(with(15, ""))));   // only the last one is checked
    EXPECT_FALSE(Parse(b, Join(firstTeam)));     // ends after the ninth player batter
    EXPECT_FALSE(Parse(b, Join(firstTeam, "\r\n", false)));
    EXPECT_FALSE(Parse(b, Join(with(0, "your batters:"))));
    EXPECT_FALSE(Parse(b, Join(with(0, "Your Batters: "))));
    EXPECT_FALSE(Parse(b, Join(with(10, "Other team's batters:"))));
    EXPECT_FALSE(Parse(b, ""));
    // Files that end where an entry should be read.
    EXPECT_FALSE(Parse(b, "Your Batters:\r\n"));
    EXPECT_FALSE(Parse(b, Join(std::vector<std::string>(lines.begin(), lines.begin() + 11))));

    Rosters r;
    EXPECT_TRUE(Parse(b, Join(lines, "\r\n", false), &r));  // no final line break
    EXPECT_EQ(r.battersTeam2[9], "Owen Bellamy");
    auto extra = lines;
    extra.insert(extra.end(), {"Your Batters:", "", "Some, one"});
    EXPECT_TRUE(Parse(b, Join(extra)));

    Rosters expected;
    SetDefaults(b, expected);
    for (const char* eol : {"\n", "\r"}) {
        EXPECT_TRUE(Parse(b, Join(lines, eol), &r)) << int(eol[0]);
        EXPECT_TRUE(SameArrays(b, r, expected));
    }
    // A byte-order mark an editor put before the first header is not part of it.
    EXPECT_TRUE(Parse(b, "\xEF\xBB\xBF" + Join(lines), &r));
    EXPECT_TRUE(SameArrays(b, r, expected));
    EXPECT_FALSE(Parse(b, "\xEF\xBB" + Join(lines)));
}

TEST(Rosters, CommaSplitsANameAndMovesLaterEntriesDown) {
    const auto lines = Lines(RosterFile::Batters);
    Rosters r;
    // In the player's list the surplus entry takes the second header's place.
    auto l = lines;
    l[3] = "Dale Okafor, Junior";
    EXPECT_FALSE(Parse(RosterFile::Batters, Join(l), &r));
    EXPECT_EQ(r.battersTeam1[3], "Dale Okafor");
    EXPECT_EQ(r.battersTeam1[4], "Junior");
    EXPECT_EQ(r.battersTeam1[9], lines[8]);
    // In the computer's list the last name falls off the end and is ignored.
    l = lines;
    l[13] = "Curtis Halloway,Junior";
    ASSERT_TRUE(Parse(RosterFile::Batters, Join(l), &r));
    EXPECT_EQ(r.battersTeam2[4], "Junior");
    EXPECT_EQ(r.battersTeam2[9], lines[18]);
    // A trailing comma leaves an empty entry before the line end.
    l = lines;
    l[1] += ",";
    EXPECT_FALSE(Parse(RosterFile::Batters, Join(l), &r));
    EXPECT_EQ(r.battersTeam1[2], "");
}

TEST(Rosters, QuotedFieldsAndWholeReliefLines) {
    auto s = Lines(RosterFile::StartingPitchers);
    s[0] = "  \"Your starting pitchers:\"";
    s[1] = "\t\"Grady, Holcomb\"  dropped";
    s[2] = "\"Isaac Vandermeer";  // unclosed: up to the line end
    s[3] = "Mi\"les\"  ";
    Rosters r;
    ASSERT_TRUE(Parse(RosterFile::StartingPitchers, Join(s), &r));
    EXPECT_EQ(r.startersTeam1[1], "Grady, Holcomb");
    EXPECT_EQ(r.startersTeam1[2], "Isaac Vandermeer");
    EXPECT_EQ(r.startersTeam1[3], "Mi\"les\"  ");
    EXPECT_EQ(r.startersTeam1[4], s[4]);

    auto p = Lines(RosterFile::ReliefPitchers);
    p[0] = "\"Your relief pitchers:\" ignored";
    p[2] = "  \"Nico\" Vance: age 27, throws hard: very hard.  ";
    p[13] = "Dex, Lucky, Fontaine";
    ASSERT_TRUE(Parse(RosterFile::ReliefPitchers, Join(p), &r));
    EXPECT_EQ(r.bullpenTeam1[2], p[2]);
    EXPECT_EQ(r.bullpenTeam2[6], p[13]);
    EXPECT_EQ(r.bullpenTeam2[9], p[16]);
}

// A default file cut short is used exactly when it still holds a character
// of the computer's last entry; that entry is then whatever survived.
TEST(Rosters, TruncatedDefaultsAreAcceptedOnlyWithTheLastEntryStarted) {
    for (RosterFile f : kFiles) {
        const std::string full = DefaultRosterText(f);
        const std::string last = Lines(f).back();
        const size_t start = full.size() - last.size() - 2;
        for (size_t len = 0; len <= full.size(); ++len) {
            Rosters r;
            bool ok = ParseRoster(f, full.substr(0, len), r);
            ASSERT_EQ(ok, len > start) << Layout(f).fileName << " cut at " << len;
            if (ok) {
                ASSERT_EQ(Arrays(f, r).second[Layout(f).count2], last.substr(0, len - start));
            }
        }
    }
}

// Random and mutated files: no crash, nothing written outside the used
// elements, no entry running over a line end.
TEST(Rosters, ReaderSurvivesRandomAndMutatedFiles) {
    std::mt19937 rng(20240611);
    auto pick = [&](size_t n) { return n == 0 ? size_t{0} : size_t{rng()} % n; };
    const std::string specials("\r\n,\"\0\xff\x80 \t:", 11);
    const std::string alphabet = specials + "abcYour Batters:Other team's";

    for (RosterFile f : kFiles) {
        SCOPED_TRACE(Layout(f).fileName);
        const RosterLayout& layout = Layout(f);
        const std::string bases[] = {DefaultRosterText(f), Join(Lines(f), "\n"), Join(Lines(f), "\r", false)};
        Rosters r;
        auto [team1, team2] = Arrays(f, r);
        for (auto& s : team1) s = "#";
        for (auto& s : team2) s = "#";

        std::string t;
        for (int n = 0; n < 100000; ++n) {
            if (n % 10 == 0) {
                t.clear();
                for (size_t k = pick(80); k > 0; --k) t += alphabet[pick(alphabet.size())];
            } else {
                t = bases[pick(3)];
                for (size_t m = 1 + pick(4); m > 0; --m) {
                    size_t at = pick(t.size() + 1);
                    switch (pick(6)) {
                    case 0: if (at < t.size()) t[at] = static_cast<char>(pick(256)); break;
                    case 1: t.resize(at); break;
                    case 2: t.insert(at, 1, specials[pick(specials.size())]); break;
                    case 3: t.erase(at, pick(12)); break;
                    case 4: {
                        size_t b = t.rfind('\n', at == 0 ? 0 : at - 1), e = t.find('\n', at);
                        b = b == std::string::npos ? 0 : b + 1;
                        t.insert(b, t.substr(b, e == std::string::npos ? std::string::npos : e + 1 - b));
                        break;
                    }
                    default: t.insert(at, std::string(pick(4), static_cast<char>(pick(256)))); break;
                    }
                }
            }
            bool ok = ParseRoster(f, t, r);
            bool sound = team1[0] == "#" && team2[0] == "#" && team1[layout.count1 + 1] == "#" &&
                         team2[layout.count2 + 1] == "#" && !(ok && team2[layout.count2].empty());
            for (auto team : {team1, team2})
                for (const std::string& e : team) sound = sound && e.find('\r') == e.npos && e.find('\n') == e.npos;
            ASSERT_TRUE(sound) << "input " << n << ": " << testing::PrintToString(t);
        }
    }
}

}  // namespace
}  // namespace sw::data
