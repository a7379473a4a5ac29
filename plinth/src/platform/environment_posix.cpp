// The environment on POSIX systems: its bytes are taken as UTF-8.
#include <cstdlib>

#include "platform/environment.hpp"

namespace plinth {

std::string EnvironmentText(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

}  // namespace plinth
