// Self-pinning of the real DLLs: once a module is initialized the game can
// call FreeLibrary as often as it likes and the DLL stays loaded. The
// program does not link the modules; it loads them by name like a game
// that loads them on demand.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tessel/base/TesselBase.h"

namespace {

struct ModuleCase {
    const wchar_t* file;
    const char* initialize;
    const char* uninitialize;
    // Initialize takes one pointer-sized argument (a store id) or none.
    bool initializeTakesArgument;
};

void PrintTo(const ModuleCase& module, std::ostream* os)
{
    *os << std::string(module.file, module.file + wcslen(module.file));
}

// Every module the SDK may ship; the test runs for those of this build.
const ModuleCase kModules[] = {
    {L"Ludex.dll", "TesselAPI_GamingServicesInitialize", "TesselAPI_GamingServicesUnInitialize", false},
    {L"Scrivo.dll", "TesselAPI_LogInitialize", "TesselAPI_LogUnInitialize", false},
    {L"Panora.dll", "TesselAPI_ViewInitialize", "TesselAPI_ViewUnInitialize", false},
    {L"Vendra.dll", "TesselAPI_IAPInitialize", "TesselAPI_IAPUnInitialize", true},
};

// The module DLLs of this build, as the build lists them.
std::vector<std::wstring> BuiltModuleFiles()
{
    std::vector<std::wstring> files;
    std::wstringstream list(TESSEL_MODULE_DLLS);
    for (std::wstring file; std::getline(list, file, L'|');) {
        if (!file.empty()) {
            files.push_back(file);
        }
    }
    return files;
}

std::vector<ModuleCase> BuiltModules()
{
    const std::vector<std::wstring> built = BuiltModuleFiles();
    std::vector<ModuleCase> cases;
    for (const ModuleCase& module : kModules) {
        if (std::find(built.begin(), built.end(), module.file) != built.end()) {
            cases.push_back(module);
        }
    }
    return cases;
}

TEST(WindowsPinCoverageTest, EveryModuleOfTheBuildHasAPinCase)
{
    const std::vector<std::wstring> built = BuiltModuleFiles();
    EXPECT_FALSE(built.empty());
    for (const std::wstring& file : built) {
        const bool known = std::any_of(std::begin(kModules), std::end(kModules),
                                       [&](const ModuleCase& module) { return file == module.file; });
        EXPECT_TRUE(known) << "no pin case for " << std::string(file.begin(), file.end());
    }
}

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
        return Export<TesselAPIResult (*)(const wchar_t*)>(module, info.initialize)(L"windows-pin-test");
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

INSTANTIATE_TEST_SUITE_P(Modules, WindowsPinTest, ::testing::ValuesIn(BuiltModules()));

}  // namespace
