// The enumeration names a module registered when it was loaded, read from
// the module's own EnTT meta context.
//
// Every binary has its own default meta context and the shipped modules
// export nothing beyond their interfaces. The name tests therefore link a
// test-only build of the module (tessel_add_meta_test_module in
// tests/CMakeLists.txt): the module's own sources and one export more,
// TesselTest_ModuleMetaContext (module_meta_context.cpp), which hands out the
// module's default meta context. The test program registers nothing itself.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <entt/core/hashed_string.hpp>
#include <entt/core/type_info.hpp>
#include <entt/meta/context.hpp>
#include <entt/meta/meta.hpp>
#include <entt/meta/resolve.hpp>

#include "tessel/base/Export.h"

// The default meta context of the module this program is linked with.
TESSEL_EXTERN_C TESSEL_IMPORT const entt::meta_ctx* TesselTest_ModuleMetaContext();

namespace tessel::test {

// The module registered Enum at load, and registered only these enumerators,
// in this order: names[i] has the value i (so the values ascend from 0), its
// id is the hashed "<qualifiedType>::<name>" and its custom data is the map
// {"name": names[i]}. The type is only looked up, never created, in the
// module's context; this program's own context holds nothing for it.
template <class Enum>
void ExpectRegisteredAtLoad(const std::string& qualifiedType, const std::vector<std::string>& names)
{
    EXPECT_FALSE(entt::resolve(entt::type_id<Enum>())) << qualifiedType << " registered by the test program itself";
    const entt::meta_type type = entt::resolve(*TesselTest_ModuleMetaContext(), entt::type_id<Enum>());
    ASSERT_TRUE(type) << qualifiedType << " is not registered in the module's meta context";
    std::vector<std::string> registered;
    for (auto [id, data] : type.data()) {
        const std::map<std::string, std::string>* custom = data.custom();
        ASSERT_NE(custom, nullptr) << qualifiedType << " entry " << registered.size();
        ASSERT_EQ(custom->count("name"), 1u) << qualifiedType << " entry " << registered.size();
        const std::string name = custom->at("name");
        EXPECT_EQ(custom->size(), 1u) << name;
        EXPECT_EQ(id, entt::hashed_string::value((qualifiedType + "::" + name).c_str())) << name;
        EXPECT_EQ(static_cast<long long>(data.get({}).template cast<Enum>()), static_cast<long long>(registered.size()))
            << name << ": entry " << registered.size() << " of " << qualifiedType;
        registered.push_back(name);
    }
    EXPECT_EQ(registered, names) << qualifiedType << ": names in registration order";
}

// Enum is not registered in the module's meta context at all.
template <class Enum>
void ExpectNotRegistered()
{
    EXPECT_FALSE(entt::resolve(*TesselTest_ModuleMetaContext(), entt::type_id<Enum>()));
}

}  // namespace tessel::test
