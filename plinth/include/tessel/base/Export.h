/* Export and import markers shared by the base library and every module.
 *
 * Each library defines TESSEL_BUILDING_<NAME> while it is compiled; its
 * public header turns that into the library's own API macro (PLINTH_API,
 * LUDEX_API, ...) from TESSEL_EXPORT or TESSEL_IMPORT. Nothing is exported
 * unless it carries that macro. */
#ifndef TESSEL_BASE_EXPORT_H
#define TESSEL_BASE_EXPORT_H

#if defined(_WIN32)
#define TESSEL_EXPORT __declspec(dllexport)
#define TESSEL_IMPORT __declspec(dllimport)
#else
#define TESSEL_EXPORT __attribute__((visibility("default")))
#define TESSEL_IMPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define TESSEL_EXTERN_C extern "C"
#else
#define TESSEL_EXTERN_C
#endif

/* Compile-time checks usable from C and C++ headers alike. */
#ifdef __cplusplus
#define TESSEL_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define TESSEL_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

#endif
