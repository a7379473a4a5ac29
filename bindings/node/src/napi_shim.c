/* Node-API for the Windows addons, resolved from the host process.
 *
 * A Windows DLL normally imports each function from a named DLL or
 * executable; Node-API lives in whichever program embeds Node (node.exe, a
 * shell's own executable or its node library), so an import library naming
 * one of them would tie the addon to it. Instead every Node-API function
 * the headers declare is defined here as a one-instruction jump through a
 * pointer, and the pointers are filled when the addon is loaded, before
 * Node calls into it: from the process's executable first, then from the
 * libraries shells keep Node in. A function the host does not have stays
 * null; the addon calls only functions of the Node-API version it pins.
 * napi_names.inc is generated from the Node headers by the build. */
#include <windows.h>

#define TESSEL_NAPI(name) void* tessel_napi_slot_##name;
#include "napi_names.inc"
#undef TESSEL_NAPI

#define TESSEL_NAPI(name)                                                    \
    __asm__(".text\n.globl " #name "\n.def " #name "; .scl 2; .type 32; .endef\n" #name \
            ":\n\tjmp *tessel_napi_slot_" #name "(%rip)\n");
#include "napi_names.inc"
#undef TESSEL_NAPI

static const struct {
    const char* name;
    void** slot;
} kFunctions[] = {
#define TESSEL_NAPI(name) {#name, &tessel_napi_slot_##name},
#include "napi_names.inc"
#undef TESSEL_NAPI
};

__attribute__((constructor)) static void ResolveNodeApi(void)
{
    /* Pinned: never unloaded before the process ends, though Node frees it
     * with the last environment that loaded it, because the platform's
     * queue may still hold answers whose callbacks are in this DLL. */
    HMODULE self = NULL;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       (LPCWSTR)(const void*)kFunctions, &self);

    static const wchar_t* const kHosts[] = {NULL, L"node.dll", L"libnode.dll", L"nw.dll"};
    HMODULE host = NULL;
    for (size_t i = 0; i < sizeof kHosts / sizeof kHosts[0] && host == NULL; ++i) {
        HMODULE candidate = GetModuleHandleW(kHosts[i]);
        if (candidate != NULL && GetProcAddress(candidate, "napi_create_object") != NULL) host = candidate;
    }
    if (host == NULL) return;
    for (size_t i = 0; i < sizeof kFunctions / sizeof kFunctions[0]; ++i) {
        *kFunctions[i].slot = (void*)(intptr_t)GetProcAddress(host, kFunctions[i].name);
    }
}
