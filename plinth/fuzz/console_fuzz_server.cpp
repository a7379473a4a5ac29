// The fuzzer's build of the sandbox has no HTTP server: its handler is
// driven directly. These stand in for the server's entry points.
#include "tools/console/console.hpp"
#include "tessel/sandbox/TesselSandbox.h"

namespace plinth::console {
void StartConsoleFromEnvironment() noexcept {}
}  // namespace plinth::console

uint32_t TesselSandbox_StartConsole(uint16_t, char*, size_t) { return TESSEL_RESULT_INVALID_ARGUMENT; }
void TesselSandbox_StopConsole(void) {}
