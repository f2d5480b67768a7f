#include "record/game_state.h"

namespace sw {

void WordTables::Fill() {
    ordinalWord = {"",           " first",      " second",      " third",      " fourth",
                   " fifth",     " sixth",      " seventh",     " eighth",     " ninth",
                   " tenth",     " eleventh",   " twelfth",     " thirteenth", " fourteenth",
                   " fifteenth", " sixteenth",  " seventeenth", " eighteenth", " nineteenth"};
    fieldSpoken = {"", " left", " right", " center"};
    fieldName = {"", "left", "center", "right"};
}

}  // namespace sw
