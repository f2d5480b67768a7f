#include "host/real/keymap.h"

#include <SDL.h>

namespace sw::host::real {
namespace {

// The code of the key at place `s` on a US keyboard, punctuation aside, or 0.
int PlaceCode(int s) {
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return 'A' + (s - SDL_SCANCODE_A);
    // The digit row runs 1..9 then 0.
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return '1' + (s - SDL_SCANCODE_1);
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return 97 + (s - SDL_SCANCODE_KP_1);
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return 112 + (s - SDL_SCANCODE_F1);

    switch (s) {
        case SDL_SCANCODE_0: return '0';
        case SDL_SCANCODE_KP_0: return 96;

        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER: return 13;
        case SDL_SCANCODE_ESCAPE: return 27;
        case SDL_SCANCODE_BACKSPACE: return 8;
        case SDL_SCANCODE_TAB: return 9;
        case SDL_SCANCODE_SPACE: return 32;

        case SDL_SCANCODE_LEFT: return 37;
        case SDL_SCANCODE_UP: return 38;
        case SDL_SCANCODE_RIGHT: return 39;
        case SDL_SCANCODE_DOWN: return 40;
        case SDL_SCANCODE_PAGEUP: return 33;
        case SDL_SCANCODE_PAGEDOWN: return 34;
        case SDL_SCANCODE_END: return 35;
        case SDL_SCANCODE_HOME: return 36;
        case SDL_SCANCODE_INSERT: return 45;
        case SDL_SCANCODE_DELETE: return 46;

        case SDL_SCANCODE_LSHIFT:
        case SDL_SCANCODE_RSHIFT: return 16;
        case SDL_SCANCODE_LCTRL:
        case SDL_SCANCODE_RCTRL: return 17;
        case SDL_SCANCODE_LALT:
        case SDL_SCANCODE_RALT: return 18;

        case SDL_SCANCODE_KP_MULTIPLY: return 106;
        case SDL_SCANCODE_KP_PLUS: return 107;
        case SDL_SCANCODE_KP_MINUS: return 109;
        case SDL_SCANCODE_KP_PERIOD: return 110;
        case SDL_SCANCODE_KP_DIVIDE: return 111;

        default: break;
    }
    return 0;
}

// The punctuation keys of a US keyboard: the place, the symbol it types
// unshifted, and the OEM key code.
struct Punctuation {
    int scancode;
    int symbol;
    int code;
};
constexpr int kNoSymbol = -1;  // a key found by its place only
constexpr Punctuation kPunctuation[] = {
    {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, SDLK_EQUALS, 187},
    {SDL_SCANCODE_COMMA, SDLK_COMMA, 188},
    {SDL_SCANCODE_MINUS, SDLK_MINUS, 189},
    {SDL_SCANCODE_PERIOD, SDLK_PERIOD, 190},
    {SDL_SCANCODE_SLASH, SDLK_SLASH, 191},
    {SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, 192},
    {SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH, 220},
    {SDL_SCANCODE_NONUSHASH, kNoSymbol, 220},
    {SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, 222},
    // The extra key beside the left Shift of international keyboards.
    {SDL_SCANCODE_NONUSBACKSLASH, kNoSymbol, 226},
};

// The code of the punctuation key at `scancode`'s place, or 0.
int PunctuationAtPlace(int scancode) {
    for (const Punctuation& p : kPunctuation)
        if (p.scancode == scancode) return p.code;
    return 0;
}

// The code of the US punctuation key that types `keycode`, or 0.
int PunctuationTyping(int keycode) {
    for (const Punctuation& p : kPunctuation)
        if (p.symbol == keycode) return p.code;
    return 0;
}

}  // namespace

int VirtualKey(int scancode, int keycode) {
    const bool letterPlace = scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z;
    const int punctuation = PunctuationAtPlace(scancode);
    // Only the keys that type characters take their layout's letter.
    if (letterPlace || punctuation != 0) {
        if (keycode >= SDLK_a && keycode <= SDLK_z) return 'A' + (keycode - SDLK_a);
        if (punctuation != 0) return punctuation;
        if (int code = PunctuationTyping(keycode)) return code;
    }
    return PlaceCode(scancode);
}

}  // namespace sw::host::real
