// Where this user's files and this program live, on Windows.
#include "host/real/real_host.h"

#include "host/files.h"
#include "host/real/espeak_engine.h"
#include "host/text_win.h"
#include "host/win/sapi_engine.h"

#include <cstdio>
#include <string>

#include <fcntl.h>
#include <io.h>

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

// The engine's data ships beside the programs. The engine opens its files
// with the narrow calls of the ANSI code page: a folder name that page cannot
// spell (a user name in another script, say) is given in its short form.
std::string EspeakDataParent() {
    const std::string folder = ProgramFolder();
    if (folder.empty() || !IsFolder(JoinPath(folder, "espeak-ng-data"))) return {};
    // With UTF-8 as the code page (a Windows option) the name passes as it is.
    if (GetACP() == CP_UTF8) return folder;
    std::wstring wide = win::Wide(folder);
    auto narrow = [](const std::wstring& text, bool* lossy) {
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), int(text.size()), nullptr, 0,
                                          nullptr, &usedDefault);
        std::string out(size_t(n > 0 ? n : 0), '\0');
        if (n > 0) {
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), int(text.size()), out.data(), n, nullptr,
                                &usedDefault);
        }
        *lossy = n <= 0 || usedDefault;
        return out;
    };
    bool lossy = false;
    std::string path = narrow(wide, &lossy);
    if (lossy) {
        std::wstring shortName(MAX_PATH, L'\0');
        const DWORD n = GetShortPathNameW(wide.c_str(), shortName.data(), DWORD(shortName.size()));
        if (n == 0 || n >= shortName.size()) return {};
        shortName.resize(n);
        path = narrow(shortName, &lossy);
        if (lossy) return {};
    }
    return path;
}

// The voices installed in Windows come first, then the built-in ones. When
// SAPI cannot speak, the list says so once and the built-in voice speaks.
// The captions go out as they do elsewhere, each line ended by a line feed
// alone, so that whatever reads them reads the same bytes on every system.
std::unique_ptr<SpeechEngine> PlayerVoices(SpeechEngine& builtIn) {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    std::string error;
    std::unique_ptr<win::SapiEngine> sapi = win::SapiEngine::OpenInstalled(error);
    return std::make_unique<win::VoiceList>(std::move(sapi), error, builtIn);
}

}  // namespace sw::host::real
