#include "support/folder_entries.h"

#include "host/files.h"

#include <windows.h>

namespace sw::test {

std::optional<std::pair<uint64_t, uint64_t>> FileIdentity(const std::string& path) {
    // Opened without any access to the contents, and shared in every way, so
    // that it stands in no one's way.
    HANDLE file = CreateFileW(host::PathFromUtf8(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return std::make_pair(static_cast<uint64_t>(info.dwVolumeSerialNumber),
                          (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
}

}  // namespace sw::test
