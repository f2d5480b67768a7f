#include "game/commercials.h"

#include "host/files.h"

namespace sw {

int getcommercials(const std::string& soundsFolder) {
    int extra = 0;
    while (host::FileSize(host::JoinPath(soundsFolder, "baseco" + std::to_string(extra + 1) + ".wav"))) ++extra;
    return extra;
}

}  // namespace sw
