// Panora's internal conversions: the platform's popup records to the C
// records handed to fetch callbacks, their release, and the registration of
// the close button names. Built into the module and into its test program.
#pragma once

#include "tessel/panora/Panora.hpp"

namespace panora {

using Tessel::PCSDK::View::TesselPCPopupCpp;
using Tessel::PCSDK::View::TesselPCPopupRequestDataCpp;
using Tessel::PCSDK::View::TesselPCPopupStringPairCpp;

// Every text becomes a separate C runtime copy (an empty text a non-null
// empty copy), each list a malloc'ed array; an empty list is null with count
// 0. A copy that cannot be made leaves its member null; a list array that
// cannot be allocated leaves that list null with count 0.
TesselPopup PopupToC(const TesselPCPopupCpp& popup);
TesselPopupRequestData RequestDataToC(const TesselPCPopupRequestDataCpp& data);

// Free what the conversions made and null the pointers (and the counts), so
// that a second call does nothing.
void FreePopup(TesselPopup* popup);
void FreeRequestData(TesselPopupRequestData* data);

// Registers the names of CloseButtonType in the default meta context of the
// binary it is linked into. Once per binary; later calls do nothing.
void RegisterCloseButtonNames();

namespace testing {
// Makes the conversions' allocation number `index` (counted from 0 since this
// call) fail; a negative index lets every allocation succeed again.
void FailAllocation(int index);
}  // namespace testing

}  // namespace panora
