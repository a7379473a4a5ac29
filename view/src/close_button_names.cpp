// The names of CloseButtonType, registered when the module is loaded.
#include "PopupRecords.hpp"
#include "tessel/runtime/EnumNames.hpp"
#include "tessel/runtime/Module.hpp"

namespace panora {

void RegisterCloseButtonNames()
{
    using Tessel::PCSDK::View::CloseButtonType;
    static const bool registered = [] {
        tessel::rt::RegisterEnumNames<CloseButtonType, CloseButtonType::CUSTOM, CloseButtonType::PRESET_01,
                                      CloseButtonType::PRESET_02, CloseButtonType::PRESET_03,
                                      CloseButtonType::PRESET_04, CloseButtonType::PRESET_05,
                                      CloseButtonType::PRESET_06, CloseButtonType::DEFAULT>(
            "Tessel::PCSDK::View::CloseButtonType",
            {"CUSTOM", "PRESET_01", "PRESET_02", "PRESET_03", "PRESET_04", "PRESET_05", "PRESET_06", "DEFAULT"});
        return true;
    }();
    (void)registered;
}

}  // namespace panora

void tessel::rt::ModuleAttached() { panora::RegisterCloseButtonNames(); }
