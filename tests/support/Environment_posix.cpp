#include <cstdlib>

#include "Environment.hpp"

namespace tessel::test {

void SetEnvironment(const char* name, const char* value)
{
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
}

}  // namespace tessel::test
