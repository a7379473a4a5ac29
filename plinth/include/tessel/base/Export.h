/* Export and import markers shared by the base library and every module.
 *
 * Each library defines TESSEL_BUILDING_<NAME> while it is compiled; its
 * public headers turn that into the library's own API macro through
 * TESSEL_API_OF(). Nothing is exported unless it carries that macro. */
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

#endif
