// Vendra's parameter objects of types 2500 to 2507.
#include "params.hpp"

#include <new>

#include "access.hpp"

namespace vendra {
namespace {

namespace rt = tessel::rt;
using IAP::VendraAccess;

std::wstring TextOrEmpty(const wchar_t* text)
{
    return text != nullptr ? std::wstring(text) : std::wstring();
}

// A value of the C++ interface kept when below limit (compared unsigned),
// else 0.
template <class Enum>
int32_t Clamped(Enum value, uint32_t limit) noexcept
{
    const auto number = static_cast<int32_t>(value);
    return static_cast<uint32_t>(number) < limit ? number : 0;
}

constexpr uint32_t kPurchaseOperations = 3;
constexpr uint32_t kOperations = 2;
constexpr uint32_t kWebviewModes = 2;

// The values of a C option record, as they are.
template <class COption>
OptionValues ValuesOf(const COption& option) noexcept
{
    return {option.operation, option.webviewMode, option.x, option.y, option.width, option.height};
}

// The values of a public option, operation and web view mode clamped.
template <class Option>
OptionValues ClampedValuesOf(const Option& option, uint32_t operations) noexcept
{
    OptionValues values;
    values.operation = Clamped(VendraAccess::Operation(option), operations);
    values.webviewMode = Clamped(VendraAccess::WebviewMode(option), kWebviewModes);
    VendraAccess::Rect(option, values.x, values.y, values.width, values.height);
    return values;
}

OptionValues DefaultOption(int32_t width, int32_t height) noexcept
{
    OptionValues values;
    values.width = width;
    values.height = height;
    return values;
}

IAP::TesselPCPurchaseOptionCpp PurchaseOptionOf(const OptionValues& values) noexcept
{
    IAP::TesselPCPurchaseOptionCpp option;
    option.operation = static_cast<IAP::TesselPCPurchaseOperation>(values.operation);
    option.webviewMode = static_cast<IAP::WebViewMode>(values.webviewMode);
    option.webviewX = values.x;
    option.webviewY = values.y;
    option.webviewWidth = values.width;
    option.webviewHeight = values.height;
    return option;
}

// Sets the six option values in the platform's order: operation, web view
// mode, x, y, width, height.
template <class Param>
void SetOption(Param& param, const OptionValues& values)
{
    param.SetOperation(values.operation);
    param.SetWebviewMode(values.webviewMode);
    param.SetX(values.x);
    param.SetY(values.y);
    param.SetWidth(values.width);
    param.SetHeight(values.height);
}

template <class Interface>
Interface* Create(Base::ParamTypeId typeId)
{
    return static_cast<Interface*>(Tessel_CreateParam(typeId));
}

}  // namespace

// --- Reading ---------------------------------------------------------------------------

IAP::TesselPCFetchProductParamCpp ReadFetchProductParam(const TesselFetchProductParam* param)
{
    IAP::TesselPCFetchProductParamCpp record;
    record.pageNumber = 1;
    record.pageSize = 20;
    if (param != nullptr) {
        record.categoryId = TextOrEmpty(param->categoryId);
        record.pageNumber = param->pageNumber;
        record.pageSize = param->pageSize;
    }
    return record;
}

IAP::TesselPCFetchProductParamCpp ReadFetchProductParam(const IAP::TesselPCFetchProductParam* param)
{
    IAP::TesselPCFetchProductParamCpp record;
    record.pageNumber = 1;
    record.pageSize = 20;
    if (param != nullptr) {
        record.categoryId = TextOrEmpty(param->GetCategoryId());
        record.pageNumber = param->GetPageNumber();
        record.pageSize = param->GetPageSize();
    }
    return record;
}

IAP::TesselPCStartPurchaseParamCpp ReadStartPurchaseParam(const TesselStartPurchaseParam* param)
{
    IAP::TesselPCStartPurchaseParamCpp record;
    if (param == nullptr) {
        record.purchaseOption = PurchaseOptionOf(DefaultOption(420, 700));
        return record;
    }
    if (param->orderProducts != nullptr) {
        if (param->orderProductCount > TESSEL_VENDRA_MAX_LIST_COUNT) {
            throw std::bad_alloc();  // no order is that long: nothing is read, the request answers 22
        }
        record.orderProducts.reserve(param->orderProductCount);
        for (uint32_t i = 0; i < param->orderProductCount; ++i) {
            const TesselOrderProduct& product = param->orderProducts[i];
            record.orderProducts.push_back({product.productId, product.salePrice, product.quantity});
        }
    }
    record.purchaseOption = PurchaseOptionOf(ValuesOf(param->purchaseOption));
    record.serviceTxnNo = TextOrEmpty(param->serviceTxnNo);
    record.extraData = TextOrEmpty(param->extraData);
    return record;
}

IAP::TesselPCStartPurchaseParamCpp ReadStartPurchaseParam(const IAP::TesselPCStartPurchaseParam* param)
{
    IAP::TesselPCStartPurchaseParamCpp record;
    if (param == nullptr) {
        record.purchaseOption = PurchaseOptionOf(DefaultOption(420, 700));
        return record;
    }
    record.orderProducts.reserve(param->GetOrderProductCount());
    for (unsigned int i = 0; i < param->GetOrderProductCount(); ++i) {
        const IAP::TesselPCOrderProduct* product = param->GetOrderProduct(static_cast<int>(i));
        if (product != nullptr) {
            record.orderProducts.push_back({product->GetProductId(), product->GetSalePrice(), product->GetQuantity()});
        }
    }
    record.purchaseOption =
        PurchaseOptionOf(ClampedValuesOf(VendraAccess::PurchaseOption(*param), kPurchaseOperations));
    record.serviceTxnNo = TextOrEmpty(param->GetServiceTxnNo());
    record.extraData = TextOrEmpty(param->GetExtraData());
    return record;
}

OptionValues ReadTermsOption(const TesselTermsOption* option)
{
    return option != nullptr ? ValuesOf(*option) : DefaultOption(800, 600);
}

OptionValues ReadTermsOption(const IAP::TesselPCTermsOption* option)
{
    return option != nullptr ? ClampedValuesOf(*option, kOperations) : DefaultOption(800, 600);
}

OptionValues ReadPaymentOption(const TesselPaymentOption* option)
{
    return option != nullptr ? ValuesOf(*option) : DefaultOption(420, 700);
}

OptionValues ReadPaymentOption(const IAP::TesselPCPaymentOption* option)
{
    return option != nullptr ? ClampedValuesOf(*option, kOperations) : DefaultOption(420, 700);
}

WithdrawValues ReadWithdrawOption(const TesselWithdrawGameOptionParams* option)
{
    if (option == nullptr) {
        return {};
    }
    return {option->webviewMode, option->x, option->y, option->width, option->height};
}

WithdrawValues ReadWithdrawOption(const IAP::TesselPCWithdrawGameOption* option)
{
    WithdrawValues values;
    if (option != nullptr) {
        values.webviewMode = Clamped(VendraAccess::WebviewMode(*option), kWebviewModes);
        VendraAccess::Rect(*option, values.x, values.y, values.width, values.height);
    }
    return values;
}

// --- Building ----------------------------------------------------------------------------

rt::ParamPtr<> BuildProductPageParam(const IAP::TesselPCFetchProductParamCpp& param)
{
    rt::ParamPtr<Base::IProductPageParam> object = rt::CreateParam<Base::IProductPageParam>(Base::kProductPageParam);
    if (object) {
        object->SetCategoryId(param.categoryId.c_str());
        object->SetPageNumber(param.pageNumber);
        object->SetPageSize(param.pageSize);
    }
    return rt::ParamPtr<>(object.release());
}

rt::ParamList BuildStartPurchaseParam(const IAP::TesselPCStartPurchaseParamCpp& param)
{
    rt::ParamList objects;
    auto* purchase = Create<Base::IStartPurchaseParam>(Base::kStartPurchaseParam);
    if (purchase == nullptr) {
        return objects;
    }
    objects.Add(purchase);
    objects.Reserve(param.orderProducts.size() + 2);

    // The order products follow the purchase object in the list: that part
    // of the list is the array the purchase object receives.
    for (const IAP::TesselPCOrderProductCpp& product : param.orderProducts) {
        auto* object = Create<Base::IOrderProductParam>(Base::kOrderProductParam);
        if (object == nullptr) {
            continue;
        }
        objects.Add(object);
        object->SetProductId(product.productId);
        object->SetSalePrice(product.salePrice);
        object->SetQuantity(product.quantity);
    }
    const std::size_t productCount = objects.size() - 1;
    if (productCount != 0) {
        purchase->SetOrderProducts(objects.data() + 1, productCount);
    }

    auto* option = Create<Base::IWebviewOptionParam>(Base::kPurchaseOptionParam);
    if (option != nullptr) {
        objects.Add(option);
        const IAP::TesselPCPurchaseOptionCpp& values = param.purchaseOption;
        SetOption(*option, {static_cast<int32_t>(values.operation), static_cast<int32_t>(values.webviewMode),
                            values.webviewX, values.webviewY, values.webviewWidth, values.webviewHeight});
        purchase->SetPurchaseOption(option);
    }

    purchase->SetServiceTxnNo(param.serviceTxnNo.c_str());
    purchase->SetExtraData(param.extraData.c_str());
    return objects;
}

rt::ParamPtr<> BuildTermsOption(const OptionValues& option)
{
    auto object = rt::CreateParam<Base::IWebviewOptionParam>(Base::kTermsOptionParam);
    if (object) {
        SetOption(*object, option);
    }
    return rt::ParamPtr<>(object.release());
}

rt::ParamPtr<> BuildPaymentOption(const OptionValues& option)
{
    auto object = rt::CreateParam<Base::IPaymentOptionParam>(Base::kPaymentOptionParam);
    if (object) {
        SetOption(*object, option);
    }
    return rt::ParamPtr<>(object.release());
}

rt::ParamPtr<> BuildWithdrawOption(const WithdrawValues& option)
{
    auto object = rt::CreateParam<Base::IWithdrawOptionParam>(Base::kWithdrawOptionParam);
    if (object) {
        object->SetWebviewMode(option.webviewMode);
        object->SetX(option.x);
        object->SetY(option.y);
        object->SetWidth(option.width);
        object->SetHeight(option.height);
    }
    return rt::ParamPtr<>(object.release());
}

rt::ParamPtr<> BuildConfirmPurchaseParam(long long transactionMasterNumber)
{
    auto object = rt::CreateParam<Base::IConfirmPurchaseParam>(Base::kConfirmPurchaseParam);
    if (object) {
        object->SetTransactionMasterNumber(transactionMasterNumber);
    }
    return rt::ParamPtr<>(object.release());
}

}  // namespace vendra
