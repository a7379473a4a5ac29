// Readers of JavaScript arguments (see args.hpp).
#include "args.hpp"

#include <cmath>
#include <string>

namespace tessel_node {
namespace {

[[noreturn]] void Refuse(const Napi::Value& value, const char* what, const char* expected)
{
    throw Napi::TypeError::New(value.Env(), std::string(what) + " must be " + expected);
}

}  // namespace

Napi::Object ReadObject(const Napi::Value& value, const char* what, bool optional)
{
    if (value.IsObject() && !value.IsArray() && !value.IsFunction()) return value.As<Napi::Object>();
    if (optional && (value.IsNull() || value.IsUndefined())) return Napi::Object();
    Refuse(value, what, optional ? "an object or null" : "an object");
}

double ReadWhole(const Napi::Value& value, const char* what, double min, double max)
{
    if (value.IsUndefined()) return 0;
    double number = 0;
    if (value.IsBigInt()) {
        bool lossless = false;
        number = static_cast<double>(value.As<Napi::BigInt>().Int64Value(&lossless));
        if (!lossless) throw Napi::RangeError::New(value.Env(), std::string(what) + " is out of range");
        return number;
    }
    if (!value.IsNumber()) Refuse(value, what, "a number");
    number = value.As<Napi::Number>().DoubleValue();
    if (!(number >= min && number <= max) || std::trunc(number) != number) {
        throw Napi::RangeError::New(value.Env(), std::string(what) + " must be a whole number in range");
    }
    return number;
}

int32_t ReadInt32(const Napi::Value& value, const char* what)
{
    return static_cast<int32_t>(ReadWhole(value, what, -2147483648.0, 2147483647.0));
}

uint32_t ReadUint32(const Napi::Value& value, const char* what)
{
    return static_cast<uint32_t>(ReadWhole(value, what, 0, 4294967295.0));
}

long long ReadInt64(const Napi::Value& value, const char* what)
{
    if (value.IsBigInt()) {
        bool lossless = false;
        long long number = value.As<Napi::BigInt>().Int64Value(&lossless);
        if (!lossless) throw Napi::RangeError::New(value.Env(), std::string(what) + " is out of range");
        return number;
    }
    return static_cast<long long>(ReadWhole(value, what, -9007199254740991.0, 9007199254740991.0));
}

double ReadDouble(const Napi::Value& value, const char* what)
{
    if (value.IsUndefined()) return 0;
    if (!value.IsNumber()) Refuse(value, what, "a number");
    return value.As<Napi::Number>().DoubleValue();
}

bool ReadBool(const Napi::Value& value, const char* what)
{
    if (value.IsUndefined()) return false;
    if (!value.IsBoolean()) Refuse(value, what, "a boolean");
    return value.As<Napi::Boolean>().Value();
}

}  // namespace tessel_node
