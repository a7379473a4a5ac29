// The world the running sandbox answers from, and taking a profile into use.
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/environment.hpp"
#include "tools/outcomes.hpp"
#include "world/profile.hpp"
#include "tessel/base/TesselBase.h"

namespace plinth {
namespace {

struct Current {
    std::mutex mutex;
    std::shared_ptr<const World> world;
    std::string message;
};

Current& TheCurrent()
{
    static Current current;
    return current;
}

std::vector<void (*)(const World&)>& Seeds()
{
    static std::vector<void (*)(const World&)> seeds;
    return seeds;
}

}  // namespace

WorldSeed::WorldSeed(void (*seed)(const World& world)) { Seeds().push_back(seed); }

std::shared_ptr<const World> CurrentWorld()
{
    Current& current = TheCurrent();
    std::lock_guard<std::mutex> lock(current.mutex);
    if (!current.world) {
        current.world = DefaultWorld();
    }
    return current.world;
}

uint32_t UseProfile(const ProfileResult& result) noexcept
try {
    Current& current = TheCurrent();
    {
        std::lock_guard<std::mutex> lock(current.mutex);
        current.message = result.message;
        if (result.world) {
            current.world = result.world;
        }
    }
    if (result.world) {
        ReplaceProfileOutcomes(result.world->outcomes, result.world->latencyMs);
        for (auto seed : Seeds()) {
            seed(*result.world);
        }
    } else {
        std::fprintf(stderr, "Tessel sandbox: %s\n", result.message.c_str());
    }
    return result.code;
} catch (...) {
    return TESSEL_RESULT_OUT_OF_MEMORY;
}

const char* LastProfileMessageText() noexcept
{
    Current& current = TheCurrent();
    std::lock_guard<std::mutex> lock(current.mutex);
    return current.message.c_str();
}

uint32_t UseProfileFromEnvironment() noexcept
{
    std::string path;
    try {
        path = EnvironmentText("TESSEL_SANDBOX_PROFILE");
    } catch (...) {
        return TESSEL_RESULT_OUT_OF_MEMORY;
    }
    if (path.empty()) {
        return TESSEL_RESULT_SUCCESS;
    }
    return UseProfile(ReadProfileFile(path));
}

}  // namespace plinth
