// Registration of enumerator names with EnTT's meta system, shared by the
// modules that publish their enumerations (Vendra, Panora).
//
// Each enumeration is registered in the default meta context (EnTT's service
// locator, created on first use) under its default type id; each enumerator
// becomes a constant data member whose id is the hashed fully qualified name
// ("Tessel::PCSDK::IAP::ProductTypeCode::NONE") and which carries a
// std::map<std::string, std::string> with the single entry "name".
//
// Without EnTT (TESSEL_HAVE_ENTT undefined) registration compiles to nothing.
#pragma once

#include <cstddef>

#if defined(TESSEL_HAVE_ENTT)
#include <map>
#include <string>

#include <entt/core/hashed_string.hpp>
#include <entt/meta/factory.hpp>
#include <entt/meta/meta.hpp>
#endif

namespace tessel::rt {

inline constexpr bool kEnumNamesAvailable =
#if defined(TESSEL_HAVE_ENTT)
    true;
#else
    false;
#endif

// RegisterEnumNames<Enum, Enum::A, Enum::B, ...>("Tessel::PCSDK::IAP::Enum", {"A", "B", ...}):
// values in ascending order, names in the same order.
template <class Enum, Enum... Values>
void RegisterEnumNames([[maybe_unused]] const char* qualifiedType,
                       [[maybe_unused]] const char* const (&names)[sizeof...(Values)])
{
#if defined(TESSEL_HAVE_ENTT)
    entt::meta_factory<Enum> factory{};
    std::size_t index = 0;
    auto add = [&](auto value) {
        const std::string name = names[index++];
        const std::string qualified = std::string(qualifiedType) + "::" + name;
        factory.template data<decltype(value)::value>(entt::hashed_string::value(qualified.c_str()))
            .template custom<std::map<std::string, std::string>>(
                std::map<std::string, std::string>{{"name", name}});
    };
    (add(std::integral_constant<Enum, Values>{}), ...);
#endif
}

}  // namespace tessel::rt
