/**
 * @file Export.h
 * @brief Export and import markers shared by the platform and every module.
 *
 * Each library defines TESSEL_BUILDING_<NAME> while it is compiled; its
 * public header turns that into the library's own API macro (PLINTH_API,
 * LUDEX_API, ...) from TESSEL_EXPORT or TESSEL_IMPORT. Nothing is exported
 * unless it carries that macro. A game defines none of them.
 */
#ifndef TESSEL_BASE_EXPORT_H
#define TESSEL_BASE_EXPORT_H

#if defined(DOXYGEN)
/** Marks a declaration as exported from the library being built. */
#define TESSEL_EXPORT
/** Marks a declaration as imported from one of the SDK's libraries. */
#define TESSEL_IMPORT
#elif defined(_WIN32)
#define TESSEL_EXPORT __declspec(dllexport)
#define TESSEL_IMPORT __declspec(dllimport)
#else
#define TESSEL_EXPORT __attribute__((visibility("default")))
#define TESSEL_IMPORT __attribute__((visibility("default")))
#endif

#if defined(DOXYGEN)
/** `extern "C"` in C++, nothing in C. */
#define TESSEL_EXTERN_C
#elif defined(__cplusplus)
#define TESSEL_EXTERN_C extern "C"
#else
#define TESSEL_EXTERN_C
#endif

/** @def TESSEL_CXX_EXPORTS_BEGIN
 * Opens a block of C++ entry points exported under plain (unmangled) names.
 * Their C++ return types are meant for C++ callers, so clang's warning about
 * C linkage with a C++ return type is silenced for the block, in the SDK's
 * build and in a game's. Closed by TESSEL_CXX_EXPORTS_END. */
/** @def TESSEL_CXX_EXPORTS_END
 * Closes the block opened by TESSEL_CXX_EXPORTS_BEGIN. */
#if defined(__clang__)
#define TESSEL_CXX_EXPORTS_BEGIN \
    _Pragma("clang diagnostic push") _Pragma("clang diagnostic ignored \"-Wreturn-type-c-linkage\"")
#define TESSEL_CXX_EXPORTS_END _Pragma("clang diagnostic pop")
#else
#define TESSEL_CXX_EXPORTS_BEGIN
#define TESSEL_CXX_EXPORTS_END
#endif

/** @def TESSEL_STATIC_ASSERT(condition, message)
 * A compile-time check usable from C and C++ headers alike (the record layouts use it). */
#ifdef __cplusplus
#define TESSEL_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define TESSEL_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

#endif
