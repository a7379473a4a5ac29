// Setting an environment variable of the test process (one source per platform).
#pragma once

namespace tessel::test {

// Sets name to value (both UTF-8); a null value removes it.
void SetEnvironment(const char* name, const char* value);

}  // namespace tessel::test
