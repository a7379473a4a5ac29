// The one export a test-only module build has beyond the module's own: the
// module's default EnTT meta context, where its load-time registration put
// the enumeration names (read by ModuleMetaContext.hpp). Never part of a
// shipped module.
#include <entt/locator/locator.hpp>
#include <entt/meta/meta.hpp>

#include "tessel/base/Export.h"

TESSEL_EXTERN_C TESSEL_EXPORT const entt::meta_ctx* TesselTest_ModuleMetaContext();

const entt::meta_ctx* TesselTest_ModuleMetaContext() { return &entt::locator<entt::meta_ctx>::value_or(); }
