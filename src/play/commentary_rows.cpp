#include "play/commentary_rows.h"

namespace sw {

int ValueOf(const RowValue& v, const Drawn& d) {
    if (v.draw < 0) return v.constant;
    const int drawn = d[static_cast<size_t>(v.draw)];
    return v.map ? v.map[drawn] : drawn;
}

std::string Build(const Fragment& f, const Drawn& d, const WordTables& words, const GameState& gs) {
    std::string out;
    for (const Piece& p : f) {
        const size_t i = static_cast<size_t>(d[static_cast<size_t>(p.draw)]);
        switch (p.kind) {
        case Piece::Kind::End:
            return out;
        case Piece::Kind::Text:
            out += p.text;
            break;
        case Piece::Kind::Pick:
            out += p.list[i];
            break;
        case Piece::Kind::FieldSpoken:
            out += words.fieldSpoken[p.map ? static_cast<size_t>(p.map[i]) : i];
            break;
        case Piece::Kind::FieldName:
            out += words.fieldName[i];
            break;
        case Piece::Kind::Ordinal:
            out += words.ordinalWord[i];
            break;
        case Piece::Kind::Team:
            out += gs.teamName[i];
            break;
        }
    }
    return out;
}

Drawn Tell(const CommentaryRow& row, int given, Keys& keys, const WordTables& words, const GameState& gs,
           PlayValues& pv) {
    Drawn d{given};
    for (size_t i = 0; i < row.draws.size() && row.draws[i].sides > 0; ++i) {
        const RowDraw& r = row.draws[i];
        if (r.ifDraw > 0 && d[static_cast<size_t>(r.ifDraw)] < r.ifAtLeast) continue;
        d[i + 1] = keys.wf(r.sides);
    }
    pv.foulKind = ValueOf(row.foulKind, d);
    std::string* fragments[] = {&pv.firstFragment, &pv.secondFragment, &pv.thirdFragment};
    for (size_t i = 0; i < row.words.size(); ++i)
        if (row.words[i][0].kind != Piece::Kind::End) *fragments[i] = Build(row.words[i], d, words, gs);
    if (const int t = ValueOf(row.throwTarget, d)) pv.throwTarget = t;
    if (const int f = ValueOf(row.fielder, d)) pv.fielderNumber = f;
    if (row.narrationMode) pv.narrationMode = row.narrationMode;
    if (row.pickupFielder) pv.pickupFielder = row.pickupFielder;
    if (row.runnerSafe) pv.runnerSafe = 1;
    if (row.slideSound) pv.slideSoundFlag = 1;
    if (row.stepNarration) pv.stepNarrationFlag = 1;
    if (row.noGlove) pv.noGloveFlag = 1;
    if (row.mirrorThrow) pv.mirrorThrowFlag = 1;
    if (row.diveCatch) pv.diveCatchFlag = 1;
    if (row.foulTip) pv.foulTipFlag = 1;
    return d;
}

}  // namespace sw
