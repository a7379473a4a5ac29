// Reading an enumerator's registered name in the default meta context of
// the binary that registered it.
#include <map>
#include <string>

#include <entt/core/hashed_string.hpp>
#include <entt/meta/meta.hpp>
#include <entt/meta/resolve.hpp>

#include "tessel/vendra/VendraEnums.hpp"

std::string ProductTypeName(const char* qualifiedName)  // "Tessel::PCSDK::IAP::ProductTypeCode::IN_GAME_ITEM"
{
    const entt::meta_type type = entt::resolve<Tessel::PCSDK::IAP::ProductTypeCode>();
    const entt::meta_data data = type.data(entt::hashed_string::value(qualifiedName));
    if (!data) {
        return {};
    }
    const std::map<std::string, std::string>* custom = data.custom();
    return custom != nullptr && custom->count("name") != 0 ? custom->at("name") : std::string();
}
