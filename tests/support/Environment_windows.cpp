#include <cstdlib>

#include "Environment.hpp"

namespace tessel::test {

void SetEnvironment(const char* name, const char* value) { _putenv_s(name, value != nullptr ? value : ""); }

}  // namespace tessel::test
