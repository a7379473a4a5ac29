/**
 * @file VendraEnums.hpp
 * @brief Vendra, the purchase module: its enumerations. All are 32 bits wide
 * in every record.
 *
 * When the module is loaded it registers the names of the four data
 * enumerations with EnTT's meta system, each enumerator as a constant data
 * member under the hashed qualified name ("Tessel::PCSDK::IAP::ProductTypeCode::NONE")
 * carrying a std::map<std::string, std::string> with the entry "name". That
 * registration lives in the module's own default meta context: every binary
 * has its own EnTT locator, and the module exports no way into it. A game
 * that wants the names in its own context registers them there the same way
 * (the module's test program does exactly that with the module's own code).
 */
#pragma once

#include "tessel/base/TesselBase.hpp"

/** Vendra, the purchase module. */
namespace Tessel::PCSDK::IAP {

// --- Enumerations (32 bits wide everywhere) ----------------------------------

/** Kind of product (TESSEL_PRODUCT_TYPE_CODE_* in C). */
enum class ProductTypeCode : int {
    NONE = 0, /**< None or unknown. */
    INDIE_PACKAGE_GAME_ITEM = 1, /**< An item of an indie package game. */
    IN_GAME_ITEM = 2, /**< An in-game item. */
    PACKAGE_ITEM = 3, /**< A package of items. */
};

/** Kind of discount (TESSEL_DISCOUNT_TYPE_* in C). */
enum class DiscountType : int {
    NONE = 0, /**< None or unknown. */
    FIXED_RATE = 1, /**< A percentage off. */
    FLAT_RATE = 2, /**< A fixed amount off. */
};

/** Kind of purchase limit (TESSEL_PURCHASE_LIMIT_TYPE_CODE_* in C). */
enum class PurchaseLimitTypeCode : int {
    NONE = 0, /**< None or unknown. */
    UNLIMITED = 1, /**< No limit. */
    MEMBER = 2, /**< Limited per member account. */
    CHARACTER = 3, /**< Limited per character. */
};

/** What a purchase needs next (TESSEL_PURCHASE_PROGRESS_* in C). */
enum class PurchaseProgress : int {
    NONE = 0, /**< None or unknown. */
    NEED_PAYMENT_WINDOW = 1, /**< The game must open the payment window (IAP_StartPayment()). */
    NOT_NEED_PAYMENT_WINDOW = 2, /**< Paid; no payment window needed. */
};

/** What the purchase window is asked to do; passed to the platform unchanged. Values outside the listed ones become 0 in the C++ interface. */
enum class TesselPCPurchaseOperation : int {
    OPERATION_0 = 0, /**< Operation 0. */
    OPERATION_1 = 1, /**< Operation 1. */
    OPERATION_2 = 2, /**< Operation 2. */
};

/** What the payment window is asked to do; passed to the platform unchanged. Values outside the listed ones become 0 in the C++ interface. */
enum class TesselPCPaymentOperation : int {
    OPERATION_0 = 0, /**< Operation 0. */
    OPERATION_1 = 1, /**< Operation 1. */
};

/** What the terms window is asked to do; passed to the platform unchanged. Values outside the listed ones become 0 in the C++ interface. */
enum class TesselPCTermsOperation : int {
    OPERATION_0 = 0, /**< Operation 0. */
    OPERATION_1 = 1, /**< Operation 1. */
};

/** Where a window is shown; the platform's Base::WebViewMode. */
using WebViewMode = Tessel::PCSDK::Base::WebViewMode;

}  // namespace Tessel::PCSDK::IAP
