// Vendra's load-time work: registering its enumeration names, once, while
// the library is being loaded.
#include "enum_names.hpp"
#include "tessel/runtime/Module.hpp"

void tessel::rt::ModuleAttached() { vendra::RegisterEnumerationNames(); }
