// Small text helpers of the platform.
#pragma once

#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>

namespace plinth {

// A malloc'ed copy of the text (free() it), or null when out of memory.
inline wchar_t* DuplicateText(const std::wstring& text)
{
    auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    if (copy != nullptr) {
        std::wmemcpy(copy, text.c_str(), text.size() + 1);
    }
    return copy;
}

inline std::optional<std::wstring> TextFrom(const wchar_t* text)
{
    return text != nullptr ? std::optional<std::wstring>(text) : std::nullopt;
}

inline std::wstring TextOrEmpty(const wchar_t* text) { return text != nullptr ? text : L""; }

inline std::wstring_view ViewOrEmpty(const wchar_t* text)
{
    return text != nullptr ? std::wstring_view(text) : std::wstring_view();
}

}  // namespace plinth
