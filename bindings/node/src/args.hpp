// Reading JavaScript arguments into C values. Every reader throws a
// TypeError (wrong type) or a RangeError (a number the C field cannot hold)
// that names the argument, so a request is refused before anything is sent.
// An absent field (undefined) reads as 0, false or a null text.
#pragma once

#include <cstdint>

#include "napi.hpp"
#include "texts.hpp"

namespace tessel_node {

// An object argument; null or undefined give an empty Object when @p optional.
Napi::Object ReadObject(const Napi::Value& value, const char* what, bool optional);
// A whole number within [min, max]; a bigint is taken too when the range is 64-bit.
double ReadWhole(const Napi::Value& value, const char* what, double min, double max);
int32_t ReadInt32(const Napi::Value& value, const char* what);
uint32_t ReadUint32(const Napi::Value& value, const char* what);
long long ReadInt64(const Napi::Value& value, const char* what);
double ReadDouble(const Napi::Value& value, const char* what);
bool ReadBool(const Napi::Value& value, const char* what);

}  // namespace tessel_node
