// The process environment as the platform reads it: UTF-8 text on every
// system. One source file per platform (environment_posix.cpp,
// environment_windows.cpp).
#pragma once

#include <string>

namespace plinth {

// The value of the environment variable name (ASCII), as UTF-8; empty when
// it is not set. Throws std::bad_alloc when out of memory.
std::string EnvironmentText(const char* name);

}  // namespace plinth
