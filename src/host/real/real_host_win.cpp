// Where this user's files and this program live, on Windows.
#include "host/real/real_host.h"

#include "host/files.h"
#include "host/text_win.h"

#include <string>

#include <windows.h>
#include <shlobj.h>

namespace sw::host::real {

namespace {

// Windows names folders with backslashes; our paths use the slash, which
// every Windows call also takes, so that one JoinPath serves both.
std::string WithSlashes(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

}  // namespace

std::string ProgramFolder() {
    // Long paths are possible: grow the buffer until the name fits.
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, exe.data(), DWORD(exe.size()));
        if (n == 0) return {};
        if (n < exe.size()) {
            exe.resize(n);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    std::string path = WithSlashes(win::Utf8(exe));
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string UserDocumentsFolder() {
    wchar_t* folder = nullptr;
    std::string found;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, &folder))) {
        found = WithSlashes(win::Utf8(folder));
    }
    CoTaskMemFree(folder);
    return found;
}

}  // namespace sw::host::real
