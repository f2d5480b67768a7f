// Physical keys to the game's key codes.
#pragma once

namespace sw::host::real {

// The Windows virtual-key number of the key with SDL scancode `scancode`
// (its place on a US keyboard) and SDL keycode `keycode` (the symbol the
// keyboard's layout gives it), or 0 for a key the game does not know, which
// is then ignored.
//
// Letters are the ones on the key: a letter key, or a punctuation key the
// layout makes a letter (M on a French keyboard), gives the code of the
// letter its layout names. Every other key keeps its place, so the game's
// controls stay where they are on any layout: digits, the keypad, F-keys,
// arrows, Space, Enter, Escape, the modifiers, and the punctuation keys that
// carry punctuation (the hot keys left of 1 and beside Enter among them).
//
// A key at a letter's place that the layout does not make a letter (a..z):
//  - carrying a symbol of a US punctuation key, it gives that key's code, so
//    the comma at M's place on a French keyboard reads as a comma, never as
//    the M that the layout has put elsewhere;
//  - carrying anything else (a Cyrillic or Greek letter, an accented letter,
//    no symbol at all), it keeps its place's letter, so a layout with no
//    Latin letters still answers every letter key.
int VirtualKey(int scancode, int keycode);

}  // namespace sw::host::real
