// libFuzzer target of the profile loader: any input is either read into a
// world or refused with a message, and never crashes, hangs or leaks.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "world/profile.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const plinth::ProfileResult result = plinth::ParseProfile(text, "fuzz.json");
    const bool read = result.code == 0;
    if (read != (result.world != nullptr) || read != result.message.empty()) {
        __builtin_trap();
    }
    if (result.world) {
        // The texts a profile feeds to the expander.
        plinth::ExpandText(result.world->webOpenKey, {{L"serial", L"1"}});
        plinth::ExpandText(result.world->characterText, {{L"characterId", L"{serverId}"}, {L"serverId", L""}});
    }
    return 0;
}
