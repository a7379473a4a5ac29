// Texts between JavaScript and the C interface. JavaScript strings are
// UTF-16; the C interface takes zero-terminated wchar_t texts, 2 bytes
// (UTF-16) on Windows and 4 bytes (UTF-32) elsewhere. A character outside the
// basic plane is one surrogate pair in JavaScript and one wchar_t on Linux.
// null and undefined are a null text, "" an empty one; a string with an
// embedded NUL is refused with a TypeError (the C side would cut it short).
#pragma once

#include <string>

#include "napi.hpp"

namespace tessel_node {

// A text argument, kept alive for the duration of the C call: short texts
// in place, longer ones on the heap.
class TextArg {
public:
    static constexpr size_t kSmall = 64;
    const wchar_t* get() const { return !present_ ? nullptr : large_.empty() ? small_ : large_.c_str(); }
    bool present_ = false;
    wchar_t small_[kSmall] = {0};
    std::wstring large_;
};

// Reads a string, null or undefined; anything else throws a TypeError naming @p what.
TextArg ReadText(const Napi::Value& value, const char* what);
// A C text as a JavaScript string; null stays null.
napi_value WriteText(napi_env env, const wchar_t* text);

}  // namespace tessel_node
