// Vendra, the purchase module: its enumerations. All are 32 bits wide in
// every record.
//
// When the module is loaded it registers the names of the four data
// enumerations with EnTT's meta system, each enumerator as a constant data
// member under the hashed qualified name ("Tessel::PCSDK::IAP::ProductTypeCode::NONE")
// carrying a std::map<std::string, std::string> with the entry "name". That
// registration lives in the module's own default meta context: every binary
// has its own EnTT locator, and the module exports no way into it. A game
// that wants the names in its own context registers them there the same way
// (the module's test program does exactly that with the module's own code).
#pragma once

#include "tessel/base/TesselBase.hpp"

namespace Tessel::PCSDK::IAP {

// --- Enumerations (32 bits wide everywhere) ----------------------------------

enum class ProductTypeCode : int {
    NONE = 0,
    INDIE_PACKAGE_GAME_ITEM = 1,
    IN_GAME_ITEM = 2,
    PACKAGE_ITEM = 3,
};

enum class DiscountType : int {
    NONE = 0,
    FIXED_RATE = 1,
    FLAT_RATE = 2,
};

enum class PurchaseLimitTypeCode : int {
    NONE = 0,
    UNLIMITED = 1,
    MEMBER = 2,
    CHARACTER = 3,
};

enum class PurchaseProgress : int {
    NONE = 0,
    NEED_PAYMENT_WINDOW = 1,
    NOT_NEED_PAYMENT_WINDOW = 2,
};

// What a web-view option asks the platform to do. The module passes the
// number on; values outside the listed ones become 0 in the C++ interface.
enum class TesselPCPurchaseOperation : int {
    OPERATION_0 = 0,
    OPERATION_1 = 1,
    OPERATION_2 = 2,
};

enum class TesselPCPaymentOperation : int {
    OPERATION_0 = 0,
    OPERATION_1 = 1,
};

enum class TesselPCTermsOperation : int {
    OPERATION_0 = 0,
    OPERATION_1 = 1,
};

using WebViewMode = Tessel::PCSDK::Base::WebViewMode;

}  // namespace Tessel::PCSDK::IAP
