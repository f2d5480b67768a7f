#include "data/rosters.h"

#include <cstring>
#include <iterator>
#include <span>
#include <utility>

namespace sw::data {

namespace {

constexpr RosterLayout kLayouts[] = {
    {"baseballbatters.txt", "Your Batters:", "Other team's Batters:", 9, 9, false,
     " The baseball batters dot T X T file seems to be corrupt. "},
    {"baseballstartingpitchers.txt", "Your starting pitchers:", "Other team's starting pitchers:", 5, 5,
     false, " The baseball starting pitchers dot T X T file seems to be corrupt. "},
    {"baseballreliefpitchers.txt", "Your relief pitchers:", "Other team's relief pitchers:", 6, 9, true,
     " The baseball relief pitchers dot T X T file seems to be corrupt. "},
};

// The built-in rosters. Batter and starter names are read back as
// comma-delimited fields, so they hold no commas or double quotes. The
// player's relievers are whole lines: the name ends at the first colon.
constexpr const char* kBattersTeam1[] = {
    "Toby Lindgren", "Marcus Fairweather", "Dale Okafor",    "Hector Bramble", "Jonah Whitlock",
    "Ray Castellan", "Wes Pemberton",      "Luis Arbolada", "Gideon Tully",
};
constexpr const char* kBattersTeam2[] = {
    "Felix Brannigan",  "Andre Moss",    "Curtis Halloway", "Victor Kessling", "Nolan Ashdown",
    "Rafael Ostrander", "Emmett Quigg", "Sam Rutherford",  "Owen Bellamy",
};
constexpr const char* kStartersTeam1[] = {
    "Grady Holcomb", "Isaac Vandermeer", "Miles Tanaka", "Boone Caldwell", "Pedro Salcedo",
};
constexpr const char* kStartersTeam2[] = {
    "Leon Harrow", "Calvin Stroud", "Dusty Merriwether", "Tomas Ferrante", "Abel Kincaid",
};
constexpr const char* kBullpenTeam1[] = {
    "Harlan Pike:     age 34.    throws a heavy sinker.   ",
    "Nico Vance:    age 27.   his fast ball reaches ninety seven miles an hour.   ",
    "Bert Osgood:   age 38.    a knuckle ball pitcher, slow but hard to hit.   ",
    "Jesse Carmody:     left handed.    won eleven games last season.   ",
    "Manny Rourke:    age 29.    lives on the slider.   ",
    "Quentin Ames:   age 31.    saved twenty two games last year, with a sharp curve.   ",
};
constexpr const char* kBullpenTeam2[] = {
    "Clint Smokestack Barlow", "Vern The Owl Hastings",  "Ricky Buzzsaw Molina",
    "Abe Thunder Pruitt",      "Lonnie Sidewinder Greer", "Dex Lucky Fontaine",
    "Horace Slingshot Reyes",  "Wade Tumbleweed Ocampo",  "Ellis Frosty Sorrell",
};

static_assert(std::size(kBattersTeam1) == kLayouts[0].count1 && std::size(kBattersTeam2) == kLayouts[0].count2);
static_assert(std::size(kStartersTeam1) == kLayouts[1].count1 && std::size(kStartersTeam2) == kLayouts[1].count2);
static_assert(std::size(kBullpenTeam1) == kLayouts[2].count1 && std::size(kBullpenTeam2) == kLayouts[2].count2);

struct Defaults {
    std::span<const char* const> team1, team2;
};

Defaults DefaultsOf(RosterFile which) {
    switch (which) {
    case RosterFile::Batters: return {kBattersTeam1, kBattersTeam2};
    case RosterFile::StartingPitchers: return {kStartersTeam1, kStartersTeam2};
    case RosterFile::ReliefPitchers: break;
    }
    return {kBullpenTeam1, kBullpenTeam2};
}

// The two arrays a file fills, element 0 included.
std::pair<std::span<std::string>, std::span<std::string>> ArraysOf(RosterFile which, Rosters& r) {
    switch (which) {
    case RosterFile::Batters: return {r.battersTeam1, r.battersTeam2};
    case RosterFile::StartingPitchers: return {r.startersTeam1, r.startersTeam2};
    case RosterFile::ReliefPitchers: break;
    }
    return {r.bullpenTeam1, r.bullpenTeam2};
}

// Reads a roster file front to back as delimited fields or whole lines.
// A line ends in CR LF, LF or a lone CR.
class Cursor {
public:
    explicit Cursor(const std::string& text) : text_(text) {
        // Some editors put a byte-order mark before the first line of a
        // file they save; it is not part of the header.
        if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
    }

    bool AtEnd() const { return pos_ >= text_.size(); }

    // A field into `out`: leading blanks skipped; either the text between
    // double quotes (anything after the closing quote up to the delimiter is
    // dropped) or the text up to a comma or the line end. The delimiter is
    // consumed. False, leaving `out` alone, when the text is used up.
    bool Field(std::string& out) {
        if (AtEnd()) return false;
        while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
        if (!AtEnd() && text_[pos_] == '"') {
            size_t end = LineEndOr('"', pos_ + 1);
            out.assign(text_, pos_ + 1, end - pos_ - 1);
            pos_ = LineEndOr(',', end);
        } else {
            size_t end = LineEndOr(',', pos_);
            out.assign(text_, pos_, end - pos_);
            pos_ = end;
        }
        if (!AtEnd() && text_[pos_] == ',')
            ++pos_;
        else
            SkipLineEnd();
        return true;
    }

    // The rest of the line as it stands, into `out`; the line end is
    // consumed. False, leaving `out` alone, when the text is used up.
    bool Line(std::string& out) {
        if (AtEnd()) return false;
        size_t end = LineEndOr('\n', pos_);  // the line end alone
        out.assign(text_, pos_, end - pos_);
        pos_ = end;
        SkipLineEnd();
        return true;
    }

private:
    // The first position from `from` on holding `stop` or a line end; the
    // end of the text when there is none.
    size_t LineEndOr(char stop, size_t from) const {
        const char* p = text_.data();
        size_t end = text_.size();
        for (char c : {'\n', '\r', stop})
            if (const void* hit = std::memchr(p + from, c, end - from)) end = static_cast<const char*>(hit) - p;
        return end;
    }

    void SkipLineEnd() {
        if (AtEnd()) return;
        if (text_[pos_] == '\r') {
            ++pos_;
            if (!AtEnd() && text_[pos_] == '\n') ++pos_;
        } else if (text_[pos_] == '\n') {
            ++pos_;
        }
    }

    const std::string& text_;
    size_t pos_ = 0;
};

}  // namespace

const RosterLayout& Layout(RosterFile which) { return kLayouts[static_cast<int>(which)]; }

bool ParseRoster(RosterFile which, const std::string& text, Rosters& rosters) {
    const RosterLayout& layout = Layout(which);
    auto [team1, team2] = ArraysOf(which, rosters);
    Cursor in(text);
    auto entry = [&](std::string& out) { return layout.wholeLineEntries ? in.Line(out) : in.Field(out); };

    // Reading past the end of the text is a corrupt file like any other:
    // carrying on would leave names empty without a word to the player.
    std::string header;
    if (!in.Field(header) || header != layout.header1) return false;
    for (int i = 1; i <= layout.count1; ++i) {
        if (!entry(team1[i])) return false;
        // The second header must still follow, even after the last entry.
        if (in.AtEnd()) return false;
    }
    if (!in.Field(header) || header != layout.header2) return false;
    for (int i = 1; i <= layout.count2; ++i) {
        if (!entry(team2[i])) return false;
        if (in.AtEnd() && i < layout.count2) return false;
    }
    // Anything after the last entry is ignored.
    return !team2[layout.count2].empty();
}

void SetDefaults(RosterFile which, Rosters& rosters) {
    const Defaults d = DefaultsOf(which);
    auto [team1, team2] = ArraysOf(which, rosters);
    for (auto& s : team1) s.clear();
    for (auto& s : team2) s.clear();
    for (size_t i = 0; i < d.team1.size(); ++i) team1[i + 1] = d.team1[i];
    for (size_t i = 0; i < d.team2.size(); ++i) team2[i + 1] = d.team2[i];
}

std::string DefaultRosterText(RosterFile which) {
    const RosterLayout& layout = Layout(which);
    const Defaults d = DefaultsOf(which);
    std::string text = std::string(layout.header1) + "\r\n";
    for (const char* name : d.team1) text += std::string(name) + "\r\n";
    text += std::string(layout.header2) + "\r\n";
    for (const char* name : d.team2) text += std::string(name) + "\r\n";
    return text;
}

}  // namespace sw::data
