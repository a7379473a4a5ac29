// The environment on Windows: read in UTF-16 and converted to UTF-8, so a
// path outside the ANSI code page (a user folder such as C:\Users\Jörg)
// survives.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/environment.hpp"

namespace plinth {

std::string EnvironmentText(const char* name)
{
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));  // ASCII names
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (value == nullptr || *value == L'\0') {
        return std::string();
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, value, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return std::string();
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, value, -1, text.data(), size, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(size - 1));
    return text;
}

}  // namespace plinth
