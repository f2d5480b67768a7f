// The commentary of a ball in play or a foul as a row of data: the draws it
// makes, its fragments built from words and draws, its contact sound and the
// values it leaves for the narration. One interpreter tells any row.
#pragma once

#include "input/keys.h"
#include "record/game_state.h"
#include "play/play_values.h"

#include <array>
#include <cstdint>
#include <string>

namespace sw {

// The values a row's words refer to: index 0 is the value the caller drew
// before the row (the hit's second draw), 1.. the row's own draws in order.
using Drawn = std::array<int, 5>;

// One draw of `sides`; with `ifDraw`, made only when that earlier draw came to
// `ifAtLeast` or more (0 otherwise).
struct RowDraw {
    int8_t sides = 0;
    int8_t ifDraw = 0;
    int8_t ifAtLeast = 0;
};

// A number from a row: `constant`, or a drawn value, through `map` if given.
struct RowValue {
    int8_t constant = 0;
    int8_t draw = -1;
    const int* map = nullptr;
};

// A piece of a fragment: literal text, or a word chosen by a drawn value.
struct Piece {
    enum class Kind : uint8_t { End, Text, Pick, FieldSpoken, FieldName, Ordinal, Team };
    Kind kind = Kind::End;
    const char* text = nullptr;            // Text
    const char* const* list = nullptr;     // Pick: the words by drawn value
    int8_t draw = 0;
    const int* map = nullptr;              // FieldSpoken: drawn value to field
};

using Fragment = std::array<Piece, 5>;

// The words the tables are written in.
namespace rows {
constexpr RowValue Is(int v) { return {static_cast<int8_t>(v), -1, nullptr}; }
constexpr RowValue FromDraw(int i, const int* map = nullptr) { return {0, static_cast<int8_t>(i), map}; }
constexpr Piece T(const char* s) { return {Piece::Kind::Text, s, nullptr, 0, nullptr}; }
constexpr Piece Pick(const char* const* list, int i) { return {Piece::Kind::Pick, nullptr, list, static_cast<int8_t>(i), nullptr}; }
constexpr Piece Spoken(int i, const int* map = nullptr) { return {Piece::Kind::FieldSpoken, nullptr, nullptr, static_cast<int8_t>(i), map}; }
constexpr Piece FieldName(int i) { return {Piece::Kind::FieldName, nullptr, nullptr, static_cast<int8_t>(i), nullptr}; }
constexpr Piece Ordinal(int i) { return {Piece::Kind::Ordinal, nullptr, nullptr, static_cast<int8_t>(i), nullptr}; }
constexpr Piece Team(int i) { return {Piece::Kind::Team, nullptr, nullptr, static_cast<int8_t>(i), nullptr}; }
}  // namespace rows

// What the runners do once the words are told.
enum class RunnerRule : uint8_t {
    None,
    ExtraChance,      // with runners on, an even draw (or the hit and run) sends them an extra base
    AnyoneMovesUp,    // with runners on, they move up
    FirstMovesUp,     // a runner on first moves up
    Advance,          // the row's advance places every runner itself
};

// Where the batter and the runners on first, second and third end (4 home),
// and the tally the hit counts.
struct Advance {
    enum class Tally : uint8_t { None, Double, Triple, HomeRun };
    int8_t batter;
    std::array<int8_t, 3> runner;
    Tally tally;
};

struct CommentaryRow {
    std::array<RowDraw, 4> draws{};
    RowValue foulKind{};  // the contact sound
    std::array<Fragment, 3> words{};  // the first, second and third fragment; an empty one is left as it is
    RowValue throwTarget{};
    RowValue fielder{};
    int8_t narrationMode = 0, pickupFielder = 0;
    bool runnerSafe = false, slideSound = false, stepNarration = false, noGlove = false, mirrorThrow = false,
         diveCatch = false, foulTip = false, booDraw = false;
    RunnerRule rule = RunnerRule::None;
    const Advance* advances = nullptr;  // by `advanceDraw` when given, else the first
    int8_t advanceDraw = -1;
};

int ValueOf(const RowValue& v, const Drawn& d);
std::string Build(const Fragment& f, const Drawn& d, const WordTables& words, const GameState& gs);
// Makes the row's draws, writes its fragments and values into `pv` and
// returns what was drawn; the runner rule is the caller's.
Drawn Tell(const CommentaryRow& row, int given, Keys& keys, const WordTables& words, const GameState& gs,
           PlayValues& pv);

}  // namespace sw
