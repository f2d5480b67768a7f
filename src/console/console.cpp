#include "console/console.h"

namespace sw {

Console::Console(host::Host& host, const Variant& v)
    : variant(v), keys(host, random, variant), speech(host, keys), sound(host, keys),
      waits(keys, speech, sound), dialogs(speech, sound, waits) {}

}  // namespace sw
