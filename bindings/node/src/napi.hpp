// node-addon-api, with the version of Node-API the binding asks for pinned
// low enough for current Node, NW.js and Electron alike (8: Node 12.22+,
// every maintained NW.js and Electron). C++ exceptions carry JavaScript
// errors inside the binding; every function Node calls catches what remains
// (see Guard in requests.hpp), so no exception leaves the addon.
#pragma once

#ifndef NAPI_VERSION
#define NAPI_VERSION 8
#endif
#ifndef NAPI_CPP_EXCEPTIONS
#define NAPI_CPP_EXCEPTIONS
#endif
#if defined(_WIN32) && !defined(NAPI_EXTERN)
// Node-API is resolved from the host process by napi_shim.c: plain declarations.
#define NAPI_EXTERN
#endif

#include <napi.h>
