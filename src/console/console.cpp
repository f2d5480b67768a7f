#include "console/console.h"

namespace sw {

Console::Console(host::Host& host, const Variant& v)
    : variant(v), keys(host, random, variant), speech(host, keys), sound(host, keys), dialogs(speech, sound, keys) {}

}  // namespace sw
