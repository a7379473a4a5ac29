// The catalog classes: shop categories, the product page request and the
// two product forms.
#include "access.hpp"

namespace Tessel::PCSDK::IAP {

// --- TesselPCShopCategory ---------------------------------------------------------

TesselPCShopCategory::TesselPCShopCategory() : displayNumber_(0), depth_(0)
{
    fields::EmptyTexts(*this);
}

VENDRA_OWNING_MEMBERS(TesselPCShopCategory)

#define VENDRA_GETTER(KIND, field, Getter) VENDRA_GETTER_##KIND(TesselPCShopCategory, field, Getter)
VENDRA_SHOP_CATEGORY_FIELDS(VENDRA_GETTER)
#undef VENDRA_GETTER

// --- TesselPCFetchProductParam ------------------------------------------------------

TesselPCFetchProductParam::TesselPCFetchProductParam() : pageNumber_(1), pageSize_(20)
{
    fields::EmptyTexts(*this);
}

VENDRA_OWNING_MEMBERS(TesselPCFetchProductParam)

#define VENDRA_GETTER(KIND, field, Getter) VENDRA_GETTER_##KIND(TesselPCFetchProductParam, field, Getter)
VENDRA_FETCH_PRODUCT_PARAM_FIELDS(VENDRA_GETTER)
#undef VENDRA_GETTER

void TesselPCFetchProductParam::SetCategoryId(const wchar_t* categoryId)
{
    fields::StoreText(*this, &TesselPCFetchProductParam::categoryId_, categoryId);
}
void TesselPCFetchProductParam::SetPageNumber(int pageNumber) { pageNumber_ = pageNumber; }
void TesselPCFetchProductParam::SetPageSize(int pageSize) { pageSize_ = pageSize; }

// --- TesselPCProduct and TesselPCProductEx ------------------------------------------

#define VENDRA_PRODUCT_DEFAULTS                                                                   \
    productId_(0), quantity_(0), productTypeCode_(ProductTypeCode::INDIE_PACKAGE_GAME_ITEM),      \
        price_(0), displayPrice_(0), salePrice_(0), displaySalePrice_(0), isDiscount_(false),     \
        discountType_(DiscountType::NONE), discountTypeValue_(0), discountBeginDate_(0),         \
        discountEndDate_(0), totalQuantity_(0), memberQuantity_(0), guidQuantity_(0),            \
        canWithdraw_(false), purchasedAtLeastOnce_(false),                                       \
        purchaseLimitTypeCode_(PurchaseLimitTypeCode::UNLIMITED), purchaseLimitCount_(0),        \
        saleLimitCount_(0), saleBeginDate_(0), saleEndDate_(0)

TesselPCProduct::TesselPCProduct() : VENDRA_PRODUCT_DEFAULTS
{
    fields::EmptyTexts(*this);
}

TesselPCProductEx::TesselPCProductEx() : VENDRA_PRODUCT_DEFAULTS, purchaseAvailabilityCode_(0)
{
    fields::EmptyTexts(*this);
}

#undef VENDRA_PRODUCT_DEFAULTS

VENDRA_OWNING_MEMBERS(TesselPCProduct)
VENDRA_OWNING_MEMBERS(TesselPCProductEx)

#define VENDRA_GETTER(KIND, field, Getter) VENDRA_GETTER_##KIND(TesselPCProduct, field, Getter)
VENDRA_PRODUCT_FIELDS(VENDRA_GETTER)
#undef VENDRA_GETTER
#define VENDRA_GETTER(KIND, field, Getter) VENDRA_GETTER_##KIND(TesselPCProductEx, field, Getter)
VENDRA_PRODUCT_EX_FIELDS(VENDRA_GETTER)
#undef VENDRA_GETTER

}  // namespace Tessel::PCSDK::IAP
