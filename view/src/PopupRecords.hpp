// Panora's internal conversions: the platform's popup records to the C
// records handed to fetch callbacks, their release, and the registration of
// the close button names. Built into the module and into its test program.
#pragma once

#include "tessel/panora/Panora.hpp"
#include "tessel/runtime/Module.hpp"

namespace panora {

// Who Panora is in the answers it makes itself.
inline constexpr tessel::rt::ModuleIdentity kPanora{L"Panora", L"Panora is not Initialized.",
                                                    L"Panora was not initialized; popup was never attempted."};

using Tessel::PCSDK::View::TesselPCPopupCpp;
using Tessel::PCSDK::View::TesselPCPopupRequestDataCpp;
using Tessel::PCSDK::View::TesselPCPopupStringPairCpp;

// Every text becomes a separate C runtime copy (an empty text a non-null
// empty copy), each list a malloc'ed array; an empty list is null with count
// 0. When a copy or an array cannot be made, what was made is freed and
// std::bad_alloc is thrown: the fetch callback then hears code 22 with no
// popups instead of a record with holes.
TesselPopup PopupToC(const TesselPCPopupCpp& popup);
TesselPopupRequestData RequestDataToC(const TesselPCPopupRequestDataCpp& data);

// Free what the conversions made and null the pointers (and the counts), so
// that a second call does nothing.
void FreePopup(TesselPopup* popup);
void FreeRequestData(TesselPopupRequestData* data);

// Registers the names of CloseButtonType in the default meta context of the
// binary it is linked into. Once per binary; later calls do nothing.
void RegisterCloseButtonNames();

}  // namespace panora
