// Self-pinning: a module that was initialized, or that handed a callback to
// the platform's queue, can no longer be unloaded.
#include <dlfcn.h>

#include "TestSupport.hpp"

namespace {

using InitializeFn = TesselAPIResult (*)();
using LogSendFn = void (*)(const void*, void (*)(const TesselAPICallbackResult*), void*);

bool IsLoaded(const char* path)
{
    void* handle = dlopen(path, RTLD_LAZY | RTLD_NOLOAD);
    if (handle != nullptr) {
        dlclose(handle);
        return true;
    }
    return false;
}

template <class Fn>
Fn Symbol(void* handle, const char* name)
{
    void* address = dlsym(handle, name);
    EXPECT_NE(address, nullptr) << name;
    return reinterpret_cast<Fn>(address);
}

TEST(PinTest, AModuleThatWasNeverInitializedUnloads)
{
    void* handle = dlopen(LUDEX_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_TRUE(IsLoaded(LUDEX_PATH));
    dlclose(handle);
    EXPECT_FALSE(IsLoaded(LUDEX_PATH)) << "without a pin one close unloads it";
}

TEST(PinTest, InitializeKeepsTheModuleLoadedHoweverOftenItIsClosed)
{
    Tessel_Initialize(L"pin-test");
    void* handle = dlopen(LUDEX_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    const TesselAPIResult result = Symbol<InitializeFn>(handle, "TesselAPI_GamingServicesInitialize")();
    EXPECT_EQ(result.resultCode, 0u);
    auto uninitialize = Symbol<InitializeFn>(handle, "TesselAPI_GamingServicesUnInitialize");
    EXPECT_EQ(uninitialize().resultCode, 0u);
    for (int i = 0; i < 3; ++i) {
        dlclose(handle);
    }
    EXPECT_TRUE(IsLoaded(LUDEX_PATH)) << "pinned for the rest of the process, even after UnInitialize";
    Tessel_UnInitialize();
}

int g_reports = 0;

TEST(PinTest, AQueuedErrorPinsTheModuleSoItsCallbackCanStillRun)
{
    void* handle = dlopen(SCRIVO_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    Symbol<LogSendFn>(handle, "TesselAPI_LogSend")(
        nullptr, [](const TesselAPICallbackResult* r) { g_reports += r->result.resultCode == 17u ? 1 : 100; },
        nullptr);
    dlclose(handle);
    EXPECT_TRUE(IsLoaded(SCRIVO_PATH));
    Tessel_RunCallbacks();  // runs code inside the module: it must still be mapped
    EXPECT_EQ(g_reports, 1);
}

// A popup list fetch hands the platform a function of Panora's whatever
// Panora's state; the platform calls it (or destroys it) later.
TEST(PinTest, APopupListFetchPinsPanoraSoItsFunctionCanStillRun)
{
    using FetchFn = void (*)(void (*)(const TesselAPICallbackResult*, void*, unsigned int, void*));
    Tessel_Initialize(L"pin-test");
    void* handle = dlopen(PANORA_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    Symbol<FetchFn>(handle, "TesselAPI_FetchAutoPopup")(
        [](const TesselAPICallbackResult*, void*, unsigned int, void*) { ++g_reports; });
    dlclose(handle);
    ASSERT_TRUE(IsLoaded(PANORA_PATH)) << "the platform holds a function of Panora's";
    g_reports = 0;
    Tessel_RunCallbacks();
    Tessel_UnInitialize();
    EXPECT_EQ(g_reports, 1);
}

}  // namespace
