/**
 * @file Ludex.hpp
 * @brief Ludex, the gaming services module, for a C++ game built with any
 * compiler. See Platform.hpp for how callables run.
 */
#ifndef TESSEL_CPP_LUDEX_HPP
#define TESSEL_CPP_LUDEX_HPP

#include <string>
#include <utility>

#include "tessel/cpp/detail/Bridge.hpp"
#include "tessel/ludex/Ludex.h"

/** Ludex, the gaming services module. */
namespace tessel::ludex {

/** @return The result of initializing Ludex (after the platform). Prefer the Ludex object. */
inline Result Initialize() { return ToResult(TesselAPI_GamingServicesInitialize()); }
/** @return The result of uninitializing Ludex. */
inline Result UnInitialize() { return tessel::detail::Ending(tessel::detail::kLudexKind, TesselAPI_GamingServicesUnInitialize()); }
/** @return The SDK's version text, e.g. "1.0.0" (empty on failure). */
inline std::wstring GetVersion() { return tessel::detail::Version(&TesselAPI_GamingServicesGetVersion); }

/** Keeps Ludex initialized while it lives (declare it after the Platform). */
class Ludex : public Lifetime {
public:
    /** @param when Whether the constructor initializes. */
    explicit Ludex(Start when = Start::Now)
        : Lifetime(tessel::detail::kLudexKind, [] { return Initialize(); }, &UnInitialize, "Ludex", when)
    {
    }
};

/**
 * Fetches a character's information.
 * @param characterId The character.
 * @param serverId The character's server.
 * @param callback `(const Result&, std::wstring character)`; the text is empty on failure.
 */
template <class F>
tessel::detail::Returned<F> FetchCharacter(TextArg characterId, TextArg serverId, F&& callback)
{
    return tessel::detail::Request<tessel::detail::TextValue, TesselFetchCharacterCallback>(
        std::forward<F>(callback), [&characterId, &serverId](TesselFetchCharacterCallback c, void* context) {
            TesselAPI_FetchCharacter(characterId.c_str(), serverId.c_str(), c, context);
        });
}

}  // namespace tessel::ludex

#endif
