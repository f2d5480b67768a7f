// UTF-8, as every string in the program is, to and from the UTF-16 that the
// Windows calls take, and Windows' error codes as text.
#pragma once

#include <string>

namespace sw::host::win {

// Throws HostError when `utf8` is not valid UTF-8.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
std::string Utf8(const wchar_t* wide);

// The system's text for an error code of GetLastError().
std::string ErrorText(unsigned long code);

}  // namespace sw::host::win
