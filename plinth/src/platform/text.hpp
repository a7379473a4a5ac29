// Small text helpers of the platform.
#pragma once

#include <cstdint>
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

// Wide text (UTF-16 where wchar_t has 16 bits, else UTF-32) as UTF-8; an
// unpaired surrogate becomes U+FFFD.
inline std::string Utf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDFFF) {
            const bool paired = c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            c = paired ? 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[++i]) - 0xDC00) : 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

inline std::string Utf8Text(const std::optional<std::wstring>& text) { return text ? Utf8(*text) : std::string(); }

}  // namespace plinth
