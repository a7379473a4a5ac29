// The names of CloseButtonType as Panora registered them when it was loaded,
// read from the module's own meta context (this program links the test-only
// build of Panora, see ModuleMetaContext.hpp).
#include <gtest/gtest.h>

#if defined(TESSEL_HAVE_ENTT)
#include "tessel/panora/Panora.hpp"
#include "ModuleMetaContext.hpp"

TEST(CloseButtonNamesTest, EveryValueIsRegisteredAtLoadInDeclarationOrder)
{
    tessel::test::ExpectRegisteredAtLoad<Tessel::PCSDK::View::CloseButtonType>(
        "Tessel::PCSDK::View::CloseButtonType",
        {"CUSTOM", "PRESET_01", "PRESET_02", "PRESET_03", "PRESET_04", "PRESET_05", "PRESET_06", "DEFAULT"});
}
#else
TEST(CloseButtonNamesTest, EveryValueIsRegisteredAtLoadInDeclarationOrder)
{
    GTEST_SKIP() << "EnTT 3.15 was not found at configure time: the names are not registered in this build";
}
#endif
