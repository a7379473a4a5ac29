// The wrapper around every function Node calls, in both addons: what the
// binding did not turn into a JavaScript error itself (an allocation failure,
// say) becomes one here, so no C++ exception reaches Node-API.
#pragma once

#include <exception>

#include "napi.hpp"

namespace tessel_node {

template <Napi::Value (*F)(const Napi::CallbackInfo&)>
Napi::Value Guard(const Napi::CallbackInfo& info)
{
    try {
        return F(info);
    } catch (const Napi::Error&) {
        throw;
    } catch (const std::exception& e) {
        throw Napi::Error::New(info.Env(), e.what());
    } catch (...) {
        throw Napi::Error::New(info.Env(), "unexpected failure in the SDK binding");
    }
}

}  // namespace tessel_node
