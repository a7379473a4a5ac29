// Vendra's parameter objects: the caller's C records and public objects read
// into plain values (with the defaults for null records and texts, and the
// clamping of option values that arrive through the C++ interface), and the
// platform parameter objects built from them.
#pragma once

#include <cstdint>

#include "tessel/runtime/Dispatch.hpp"
#include "tessel/vendra/VendraTypes.hpp"

namespace vendra {

namespace Base = Tessel::PCSDK::Base;
namespace IAP = Tessel::PCSDK::IAP;

// The values of a web-view option, in the order the platform receives them.
struct OptionValues {
    int32_t operation = 0;
    int32_t webviewMode = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The values of the withdraw-game option.
struct WithdrawValues {
    int32_t webviewMode = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// --- Reading the caller's parameters ------------------------------------------
// C records pass every value unchanged; public objects have operation and
// web view mode clamped (out of range, compared unsigned: 0).

// Null: empty category id, page 1, size 20. A null category id reads as empty.
IAP::TesselPCFetchProductParamCpp ReadFetchProductParam(const TesselFetchProductParam* param);
IAP::TesselPCFetchProductParamCpp ReadFetchProductParam(const IAP::TesselPCFetchProductParam* param);

// Null: no order products, option (0, 0, 0, 0, 420, 700), empty texts. A null
// order-product array reads as none, null texts as empty ones.
IAP::TesselPCStartPurchaseParamCpp ReadStartPurchaseParam(const TesselStartPurchaseParam* param);
IAP::TesselPCStartPurchaseParamCpp ReadStartPurchaseParam(const IAP::TesselPCStartPurchaseParam* param);

// Null: (0, 0, 0, 0, 800, 600).
OptionValues ReadTermsOption(const TesselTermsOption* option);
OptionValues ReadTermsOption(const IAP::TesselPCTermsOption* option);

// Null: (0, 0, 0, 0, 420, 700).
OptionValues ReadPaymentOption(const TesselPaymentOption* option);
OptionValues ReadPaymentOption(const IAP::TesselPCPaymentOption* option);

// Null: five zeros.
WithdrawValues ReadWithdrawOption(const TesselWithdrawGameOptionParams* option);
WithdrawValues ReadWithdrawOption(const IAP::TesselPCWithdrawGameOption* option);

// --- Building parameter objects --------------------------------------------------
// Each returns null when the platform cannot create the top-level object.

// 2500: category id (5), page number (7), page size (9).
tessel::rt::ParamPtr<> BuildProductPageParam(const IAP::TesselPCFetchProductParamCpp& param);

// 2503 with its 2501 order products and its 2502 purchase option, in creation
// order: the 2503 object first (get()), then the order products, then the
// option; released in that order. Empty when the 2503 object cannot be
// created. An order product or option that cannot be created is left out.
tessel::rt::ParamList BuildStartPurchaseParam(const IAP::TesselPCStartPurchaseParamCpp& param);

// 2504: operation (15), web view mode (5), x (7), y (9), width (11), height (13).
tessel::rt::ParamPtr<> BuildTermsOption(const OptionValues& option);
// 2505: operation (5), web view mode (7), x (9), y (11), width (13), height (15).
tessel::rt::ParamPtr<> BuildPaymentOption(const OptionValues& option);
// 2506: web view mode (5), x (7), y (9), width (11), height (13).
tessel::rt::ParamPtr<> BuildWithdrawOption(const WithdrawValues& option);
// 2507: transaction master number (5).
tessel::rt::ParamPtr<> BuildConfirmPurchaseParam(long long transactionMasterNumber);

}  // namespace vendra
