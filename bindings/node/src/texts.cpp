// Conversions of texts between JavaScript's UTF-16 and the C interface's wchar_t.
#include "texts.hpp"

#include <cwchar>

namespace tessel_node {

TextArg ReadText(const Napi::Value& value, const char* what)
{
    TextArg arg;
    if (value.IsNull() || value.IsUndefined()) return arg;
    if (!value.IsString()) throw Napi::TypeError::New(value.Env(), std::string(what) + " must be a string or null");
    napi_env env = value.Env();
    size_t length = 0;
    NAPI_THROW_IF_FAILED(env, napi_get_value_string_utf16(env, value, nullptr, 0, &length), arg);
    char16_t small[TextArg::kSmall];
    std::u16string large;
    char16_t* units = small;
    if (length + 1 > TextArg::kSmall) {
        large.resize(length);
        units = &large[0];
        arg.large_.resize(length);
    }
    NAPI_THROW_IF_FAILED(env, napi_get_value_string_utf16(env, value, units, length + 1, &length), arg);
    arg.present_ = true;
    wchar_t* out = arg.large_.empty() ? arg.small_ : &arg.large_[0];
    size_t n = 0;
    for (size_t i = 0; i < length; ++i) {
        char32_t unit = units[i];
        if (unit == 0) throw Napi::TypeError::New(env, std::string(what) + " must not contain a NUL character");
#if WCHAR_MAX > 0xFFFF
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < length && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(units[i + 1]) - 0xDC00);
            ++i;
        }
#endif
        out[n++] = static_cast<wchar_t>(unit);
    }
    out[n] = L'\0';
    if (!arg.large_.empty()) arg.large_.resize(n);
    return arg;
}

napi_value WriteText(napi_env env, const wchar_t* text)
{
    napi_value result = nullptr;
    if (text == nullptr) {
        napi_get_null(env, &result);
        return result;
    }
    size_t length = std::wcslen(text);
#if WCHAR_MAX > 0xFFFF
    // Short texts are transcoded on the stack, longer ones in one allocation:
    // the only copy besides the engine's own.
    char16_t small[256];
    std::u16string large;
    char16_t* units = small;
    if (2 * length > sizeof small / sizeof small[0]) {
        large.resize(2 * length);
        units = &large[0];
    }
    size_t n = 0;
    for (size_t i = 0; i < length; ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (c < 0x10000) {
            units[n++] = static_cast<char16_t>(c);
        } else if (c <= 0x10FFFF) {
            c -= 0x10000;
            units[n++] = static_cast<char16_t>(0xD800 + (c >> 10));
            units[n++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            units[n++] = u'\xFFFD';
        }
    }
    napi_create_string_utf16(env, units, n, &result);
#else
    napi_create_string_utf16(env, reinterpret_cast<const char16_t*>(text), length, &result);
#endif
    return result;
}

}  // namespace tessel_node
