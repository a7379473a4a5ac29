// The classes that own nothing: the order product and the web-view options.
// Copying and converting them are plain field copies.
#include <stdexcept>

#include "access.hpp"

namespace Tessel::PCSDK::IAP {
namespace {

// Writes the rectangle through every pointer that is not null.
void WriteRect(int x, int y, int width, int height, int* xOut, int* yOut, int* widthOut,
               int* heightOut) noexcept
{
    if (xOut != nullptr) {
        *xOut = x;
    }
    if (yOut != nullptr) {
        *yOut = y;
    }
    if (widthOut != nullptr) {
        *widthOut = width;
    }
    if (heightOut != nullptr) {
        *heightOut = height;
    }
}

}  // namespace

// --- TesselPCOrderProduct -----------------------------------------------------------

TesselPCOrderProduct::TesselPCOrderProduct() : productId_(0), salePrice_(0), quantity_(0) {}

VENDRA_COPY_MEMBERS(TesselPCOrderProduct)

#define VENDRA_GETTER(KIND, field, Getter) VENDRA_GETTER_##KIND(TesselPCOrderProduct, field, Getter)
VENDRA_ORDER_PRODUCT_FIELDS(VENDRA_GETTER)
#undef VENDRA_GETTER

void TesselPCOrderProduct::SetProductId(long long productId) { productId_ = productId; }
void TesselPCOrderProduct::SetSalePrice(double salePrice) { salePrice_ = salePrice; }
void TesselPCOrderProduct::SetQuantity(int quantity) { quantity_ = quantity; }

// --- Web-view options ----------------------------------------------------------------

#define VENDRA_WINDOW_ACCESSORS(Class)                                                        \
    WebViewMode Class::GetWebviewMode() { return webviewMode_; }                              \
    void Class::SetWebviewMode(WebViewMode webviewMode) { webviewMode_ = webviewMode; }        \
    void Class::SetWebviewRect(int x, int y, int width, int height)                           \
    {                                                                                         \
        webviewX_ = x;                                                                        \
        webviewY_ = y;                                                                        \
        webviewWidth_ = width;                                                                \
        webviewHeight_ = height;                                                              \
    }

#define VENDRA_OPTION_MEMBERS(Class, Operation, width, height)                                \
    Class::Class()                                                                            \
        : operation_(Operation::OPERATION_0), webviewMode_(WebViewMode::EMBEDDED), webviewX_(0), \
          webviewY_(0), webviewWidth_(width), webviewHeight_(height)                          \
    {                                                                                         \
    }                                                                                         \
    VENDRA_COPY_MEMBERS(Class)                                                                \
    VENDRA_WINDOW_ACCESSORS(Class)                                                            \
    Operation Class::GetOperation() { return operation_; }                                    \
    void Class::SetOperation(Operation operation) { operation_ = operation; }

VENDRA_OPTION_MEMBERS(TesselPCPurchaseOption, TesselPCPurchaseOperation, 420, 700)
VENDRA_OPTION_MEMBERS(TesselPCPaymentOption, TesselPCPaymentOperation, 420, 700)
VENDRA_OPTION_MEMBERS(TesselPCTermsOption, TesselPCTermsOperation, 800, 600)

// The purchase option refuses null pointers and then writes nothing.
void TesselPCPurchaseOption::GetWebviewRect(int* x, int* y, int* width, int* height) const
{
    if (x == nullptr || y == nullptr || width == nullptr || height == nullptr) {
        throw std::invalid_argument("One or more arguments are nullptr in GetWebviewRect.");
    }
    WriteRect(webviewX_, webviewY_, webviewWidth_, webviewHeight_, x, y, width, height);
}

void TesselPCPaymentOption::GetWebviewRect(int* x, int* y, int* width, int* height) const
{
    WriteRect(webviewX_, webviewY_, webviewWidth_, webviewHeight_, x, y, width, height);
}

void TesselPCTermsOption::GetWebviewRect(int* x, int* y, int* width, int* height) const
{
    WriteRect(webviewX_, webviewY_, webviewWidth_, webviewHeight_, x, y, width, height);
}

// --- TesselPCWithdrawGameOption ----------------------------------------------------------

TesselPCWithdrawGameOption::TesselPCWithdrawGameOption()
    : webviewMode_(WebViewMode::EMBEDDED), webviewX_(0), webviewY_(0), webviewWidth_(0), webviewHeight_(0)
{
}

VENDRA_COPY_MEMBERS(TesselPCWithdrawGameOption)
VENDRA_WINDOW_ACCESSORS(TesselPCWithdrawGameOption)

void TesselPCWithdrawGameOption::GetWebviewRect(int* x, int* y, int* width, int* height) const
{
    WriteRect(webviewX_, webviewY_, webviewWidth_, webviewHeight_, x, y, width, height);
}

#undef VENDRA_OPTION_MEMBERS
#undef VENDRA_WINDOW_ACCESSORS

}  // namespace Tessel::PCSDK::IAP
