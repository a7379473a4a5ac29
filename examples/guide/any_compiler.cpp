// The header-only C++ layer: lambdas and owned values over the C interface,
// for a game built with any compiler and standard library.
#include <cstdio>
#include <memory>
#include <string>

#include "tessel/cpp/Ludex.hpp"

int main()
{
    tessel::Platform platform(L"my-game");  // uninitialized last
    tessel::ludex::Ludex ludex;             // uninitialized first
    tessel::SetExceptionHook([](std::exception_ptr) { std::puts("a callback threw"); });

    int calls = 0;
    auto owned = std::make_unique<std::wstring>(L"kept until the callable ends");
    tessel::ludex::FetchCharacter(L"hero", L"eu",
                                  [&calls, owned = std::move(owned)](const tessel::Result& result, std::wstring text) {
                                      ++calls;  // runs once, inside RunCallbacks
                                      std::printf("%ls: %lu characters\n",
                                                  tessel::to_string(result.code).c_str(),  // a typed code
                                                  static_cast<unsigned long>(text.size()));
                                  });
    const bool early = calls != 0;
    for (int frame = 0; frame < 100000 && calls == 0; ++frame) {
        tessel::RunCallbacks();  // once per frame in a game loop
    }
    return !early && calls == 1 ? 0 : 1;
}
