#include "host/keychar.h"
#include "host/real/keymap.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>
#include <gtest/gtest.h>

namespace sw::host {
namespace {

using real::VirtualKey;

// Keys by their place alone: the layout gives them no symbol.
TEST(KeymapTest, MapsPhysicalKeysToVirtualKeyCodes) {
    struct Case {
        SDL_Scancode scancode;
        int code;
    };
    const Case cases[] = {
        {SDL_SCANCODE_A, 65}, {SDL_SCANCODE_Y, 89}, {SDL_SCANCODE_Z, 90},
        {SDL_SCANCODE_1, 49}, {SDL_SCANCODE_9, 57}, {SDL_SCANCODE_0, 48},
        {SDL_SCANCODE_KP_0, 96}, {SDL_SCANCODE_KP_1, 97}, {SDL_SCANCODE_KP_9, 105},
        {SDL_SCANCODE_F1, 112}, {SDL_SCANCODE_F8, 119}, {SDL_SCANCODE_F12, 123},
        {SDL_SCANCODE_RETURN, 13}, {SDL_SCANCODE_KP_ENTER, 13}, {SDL_SCANCODE_ESCAPE, 27},
        {SDL_SCANCODE_BACKSPACE, 8}, {SDL_SCANCODE_TAB, 9}, {SDL_SCANCODE_SPACE, 32},
        {SDL_SCANCODE_LEFT, 37}, {SDL_SCANCODE_UP, 38}, {SDL_SCANCODE_RIGHT, 39},
        {SDL_SCANCODE_DOWN, 40}, {SDL_SCANCODE_PAGEUP, 33}, {SDL_SCANCODE_PAGEDOWN, 34},
        {SDL_SCANCODE_END, 35}, {SDL_SCANCODE_HOME, 36}, {SDL_SCANCODE_INSERT, 45},
        {SDL_SCANCODE_DELETE, 46},
        {SDL_SCANCODE_LSHIFT, 16}, {SDL_SCANCODE_RSHIFT, 16}, {SDL_SCANCODE_LCTRL, 17},
        {SDL_SCANCODE_RCTRL, 17}, {SDL_SCANCODE_LALT, 18}, {SDL_SCANCODE_RALT, 18},
        {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_PLUS, 107},
        {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_KP_PERIOD, 110},
        {SDL_SCANCODE_KP_DIVIDE, 111},
        {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_EQUALS, 187}, {SDL_SCANCODE_COMMA, 188},
        {SDL_SCANCODE_MINUS, 189}, {SDL_SCANCODE_PERIOD, 190}, {SDL_SCANCODE_SLASH, 191},
        {SDL_SCANCODE_GRAVE, 192}, {SDL_SCANCODE_LEFTBRACKET, 219},
        {SDL_SCANCODE_BACKSLASH, 220}, {SDL_SCANCODE_NONUSHASH, 220},
        {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_APOSTROPHE, 222},
        {SDL_SCANCODE_NONUSBACKSLASH, 226},
        // Keys the game does not know are ignored.
        {SDL_SCANCODE_UNKNOWN, 0}, {SDL_SCANCODE_CAPSLOCK, 0}, {SDL_SCANCODE_LGUI, 0},
        {SDL_SCANCODE_F13, 0}, {SDL_SCANCODE_VOLUMEUP, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKey(c.scancode, SDLK_UNKNOWN), c.code) << "scancode " << int(c.scancode);
    }
    EXPECT_EQ(VirtualKey(-1, SDLK_UNKNOWN), 0);
    EXPECT_EQ(VirtualKey(SDL_NUM_SCANCODES, SDLK_a), 0);
}

// Letters go by the layout's symbol, every other key by its place.
TEST(KeymapTest, LettersAreTheLayoutsAndControlsKeepTheirPlace) {
    struct Case {
        const char* key;
        SDL_Scancode scancode;
        int keycode;
        int code;
    };
    const Case cases[] = {
        // German: Y and Z swapped; an umlaut, the hot key left of 1 and the
        // minus at the slash's place keep their place.
        {"de y", SDL_SCANCODE_Z, SDLK_y, 'Y'},
        {"de z", SDL_SCANCODE_Y, SDLK_z, 'Z'},
        {"de o umlaut", SDL_SCANCODE_SEMICOLON, 0xF6, 186},
        {"de ^", SDL_SCANCODE_GRAVE, SDLK_CARET, 192},
        {"de -", SDL_SCANCODE_SLASH, SDLK_MINUS, 191},
        // French: A and Q swapped, M at the semicolon's place and a comma at
        // M's, the digits unshifted under other symbols.
        {"fr a", SDL_SCANCODE_Q, SDLK_a, 'A'},
        {"fr q", SDL_SCANCODE_A, SDLK_q, 'Q'},
        {"fr m", SDL_SCANCODE_SEMICOLON, SDLK_m, 'M'},
        {"fr ,", SDL_SCANCODE_M, SDLK_COMMA, 188},
        {"fr ;", SDL_SCANCODE_COMMA, SDLK_SEMICOLON, 188},
        {"fr &", SDL_SCANCODE_1, SDLK_AMPERSAND, '1'},
        // Dvorak: a letter on a punctuation place and the reverse.
        {"dvorak v", SDL_SCANCODE_PERIOD, SDLK_v, 'V'},
        {"dvorak '", SDL_SCANCODE_Q, SDLK_QUOTE, 222},
        // No Latin letter on the key: its place's letter.
        {"ru short i", SDL_SCANCODE_Q, 0x439, 'Q'},
        // A letter given to a key that types none moves no control.
        {"1 as q", SDL_SCANCODE_1, SDLK_q, '1'},
        {"space as a", SDL_SCANCODE_SPACE, SDLK_a, 32},
    };
    for (const Case& c : cases) EXPECT_EQ(VirtualKey(c.scancode, c.keycode), c.code) << c.key;
}

TEST(KeyCharTest, IsTheLowerCaseCharacterOfTheCode) {
    EXPECT_EQ(KeyChar(65), "a");
    EXPECT_EQ(KeyChar(90), "z");
    EXPECT_EQ(KeyChar(53), "5");
    EXPECT_EQ(KeyChar(32), " ");
    EXPECT_EQ(KeyChar(38), "&");   // Up arrow
    EXPECT_EQ(KeyChar(40), "(");   // Down arrow
    EXPECT_EQ(KeyChar(13), "\r");  // Enter
    EXPECT_EQ(KeyChar(97), "a");   // keypad 1 has the code of "a"
    EXPECT_EQ(KeyChar(112), "p");  // F1
    // Codes above 127 are Latin-1 characters, lowered, in UTF-8.
    EXPECT_EQ(KeyChar(192), "\xC3\xA0");  // grave accent key: "à"
    EXPECT_EQ(KeyChar(220), "\xC3\xBC");  // backslash key: "ü"
    EXPECT_EQ(KeyChar(222), "\xC3\xBE");  // apostrophe key: "þ"
    EXPECT_EQ(KeyChar(186), "\xC2\xBA");  // semicolon key: "º", no case
    EXPECT_EQ(KeyChar(215), "\xC3\x97");  // "×" has no lower case
    EXPECT_EQ(KeyChar(0), "");
    EXPECT_EQ(KeyChar(-5), "");
    EXPECT_EQ(KeyChar(140), "");
    EXPECT_EQ(KeyChar(256), "");
}

}  // namespace
}  // namespace sw::host
