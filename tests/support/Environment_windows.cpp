#include <windows.h>

#include <cstdlib>
#include <string>

#include "Environment.hpp"

namespace tessel::test {

namespace {

// UTF-8 to UTF-16, as the platform reads the environment on Windows.
std::wstring Wide(const char* text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}

}  // namespace

// name and value are UTF-8.
void SetEnvironment(const char* name, const char* value)
{
    _wputenv_s(Wide(name).c_str(), Wide(value != nullptr ? value : "").c_str());
}

}  // namespace tessel::test
