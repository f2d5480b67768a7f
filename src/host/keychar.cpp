#include "host/keychar.h"

namespace sw::host {

std::string KeyChar(int code) {
    if (code <= 0 || code > 255 || (code >= 128 && code < 160)) return {};
    if (code < 128) {
        char c = char(code);
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        return std::string(1, c);
    }
    // Latin-1 capitals À..Þ (but not the multiplication sign) lower by 32.
    int point = code;
    if (point >= 0xC0 && point <= 0xDE && point != 0xD7) point += 0x20;
    return {char(0xC0 | (point >> 6)), char(0x80 | (point & 0x3F))};
}

}  // namespace sw::host
