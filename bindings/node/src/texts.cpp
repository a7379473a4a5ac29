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
    std::u16string units(length, u'\0');
    NAPI_THROW_IF_FAILED(env, napi_get_value_string_utf16(env, value, &units[0], length + 1, &length), arg);
    arg.present_ = true;
    arg.text_.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        char32_t unit = units[i];
        if (unit == 0) throw Napi::TypeError::New(env, std::string(what) + " must not contain a NUL character");
#if WCHAR_MAX > 0xFFFF
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < length && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(units[i + 1]) - 0xDC00);
            ++i;
        }
#endif
        arg.text_.push_back(static_cast<wchar_t>(unit));
    }
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
    // One UTF-16 buffer per thread, reused: the only copy besides the engine's own.
    thread_local std::u16string units;
    units.clear();
    for (size_t i = 0; i < length; ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            units.push_back(c > 0x10FFFF ? u'\xFFFD' : static_cast<char16_t>(c));
        }
    }
    napi_create_string_utf16(env, units.data(), units.size(), &result);
#else
    napi_create_string_utf16(env, reinterpret_cast<const char16_t*>(text), length, &result);
#endif
    return result;
}

}  // namespace tessel_node
