// Self-pinning of the real DLLs: once a module is initialized the game can
// call FreeLibrary as often as it likes and the DLL stays loaded. The
// program does not link the modules; it loads them by name like a game
// that loads them on demand.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tessel/base/TesselBase.h"

namespace {

struct ModuleCase {
    const wchar_t* file;
    const char* initialize;
    const char* uninitialize;
    // Initialize takes one pointer-sized argument (passed as null) or none.
    bool initializeTakesArgument;
};

void PrintTo(const ModuleCase& module, std::ostream* os)
{
    *os << std::string(module.file, module.file + wcslen(module.file));
}

const ModuleCase kModules[] = {
    {L"Ludex.dll", "TesselAPI_GamingServicesInitialize", "TesselAPI_GamingServicesUnInitialize", false},
    {L"Scrivo.dll", "TesselAPI_LogInitialize", "TesselAPI_LogUnInitialize", false},
};

bool IsLoaded(const wchar_t* file) { return GetModuleHandleW(file) != nullptr; }

template <class Fn>
Fn Export(HMODULE module, const char* name)
{
    FARPROC address = GetProcAddress(module, name);
    EXPECT_NE(address, nullptr) << name;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(address));
}

TesselAPIResult CallInitialize(HMODULE module, const ModuleCase& info)
{
    if (info.initializeTakesArgument) {
        return Export<TesselAPIResult (*)(void*)>(module, info.initialize)(nullptr);
    }
    return Export<TesselAPIResult (*)()>(module, info.initialize)();
}

class WindowsPinTest : public ::testing::TestWithParam<ModuleCase> {
protected:
    void SetUp() override { Tessel_Initialize(L"windows-pin-test"); }
    void TearDown() override { Tessel_UnInitialize(); }
};

TEST_P(WindowsPinTest, InitializePinsTheDllAgainstEveryFreeLibrary)
{
    const ModuleCase& module = GetParam();
    ASSERT_FALSE(IsLoaded(module.file)) << "the program must not link the module";

    // Loaded and released without Initialize: one FreeLibrary unloads it.
    HMODULE handle = LoadLibraryW(module.file);
    ASSERT_NE(handle, nullptr) << "LoadLibraryW failed: " << GetLastError();
    EXPECT_TRUE(IsLoaded(module.file));
    ASSERT_TRUE(FreeLibrary(handle));
    ASSERT_FALSE(IsLoaded(module.file)) << "an unpinned DLL unloads with its last reference";

    // Loaded again and initialized: the pin outlives every reference the
    // game holds, and UnInitialize does not undo it.
    handle = LoadLibraryW(module.file);
    ASSERT_NE(handle, nullptr) << "LoadLibraryW failed: " << GetLastError();
    EXPECT_EQ(CallInitialize(handle, module).resultCode, TESSEL_RESULT_SUCCESS);
    EXPECT_EQ(Export<TesselAPIResult (*)()>(handle, module.uninitialize)().resultCode, TESSEL_RESULT_SUCCESS);
    for (int i = 0; i < 5; ++i) {
        FreeLibrary(handle);
    }
    EXPECT_TRUE(IsLoaded(module.file)) << "pinned for the rest of the process";
    EXPECT_EQ(GetModuleHandleW(module.file), handle) << "the same image stayed mapped";
}

INSTANTIATE_TEST_SUITE_P(Modules, WindowsPinTest, ::testing::ValuesIn(kModules));

}  // namespace
