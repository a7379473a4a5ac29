// Registration of the names of Vendra's data enumerations with EnTT's meta
// system (a no-op without EnTT).
#pragma once

namespace vendra {

// Registers ProductTypeCode, DiscountType, PurchaseLimitTypeCode and
// PurchaseProgress, in that order, in the default meta context of the
// calling library. Runs when the module is loaded.
void RegisterEnumerationNames();

}  // namespace vendra
