/**
 * @file Vendra.hpp
 * @brief Vendra, the purchase module, for a C++ game built with any
 * compiler: every request of its C interface with owned values and any
 * callable. See Platform.hpp for how callables run.
 *
 * Each callable takes `const tessel::Result&` and then the values named in
 * its request's description, by value, rvalue reference or const reference.
 */
#ifndef TESSEL_CPP_VENDRA_HPP
#define TESSEL_CPP_VENDRA_HPP

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tessel/cpp/detail/Bridge.hpp"
#include "tessel/vendra/Vendra.h"

/** Vendra, the purchase module. */
namespace tessel::vendra {

/** Kind of a product (TESSEL_PRODUCT_TYPE_CODE_*); other values are kept as they came. */
enum class ProductType : std::int32_t {
    None = TESSEL_PRODUCT_TYPE_CODE_NONE,                                   /**< No type. */
    IndiePackageGameItem = TESSEL_PRODUCT_TYPE_CODE_INDIE_PACKAGE_GAME_ITEM, /**< An indie package game item. */
    InGameItem = TESSEL_PRODUCT_TYPE_CODE_IN_GAME_ITEM,                     /**< An in-game item. */
    PackageItem = TESSEL_PRODUCT_TYPE_CODE_PACKAGE_ITEM,                    /**< A package item. */
};
/** Kind of a discount (TESSEL_DISCOUNT_TYPE_*). */
enum class DiscountType : std::int32_t {
    None = TESSEL_DISCOUNT_TYPE_NONE,           /**< No discount. */
    FixedRate = TESSEL_DISCOUNT_TYPE_FIXED_RATE, /**< A fixed rate. */
    FlatRate = TESSEL_DISCOUNT_TYPE_FLAT_RATE,   /**< A flat rate. */
};
/** Kind of a purchase limit (TESSEL_PURCHASE_LIMIT_TYPE_CODE_*). */
enum class PurchaseLimitType : std::int32_t {
    None = TESSEL_PURCHASE_LIMIT_TYPE_CODE_NONE,           /**< No limit kind. */
    Unlimited = TESSEL_PURCHASE_LIMIT_TYPE_CODE_UNLIMITED, /**< Unlimited. */
    Member = TESSEL_PURCHASE_LIMIT_TYPE_CODE_MEMBER,       /**< Per member account. */
    Character = TESSEL_PURCHASE_LIMIT_TYPE_CODE_CHARACTER, /**< Per character. */
};
/** What a purchase needs next (TESSEL_PURCHASE_PROGRESS_*). */
enum class PurchaseProgress : std::int32_t {
    None = TESSEL_PURCHASE_PROGRESS_NONE,                                   /**< Nothing known. */
    NeedPaymentWindow = TESSEL_PURCHASE_PROGRESS_NEED_PAYMENT_WINDOW,       /**< The payment window must open. */
    NotNeedPaymentWindow = TESSEL_PURCHASE_PROGRESS_NOT_NEED_PAYMENT_WINDOW, /**< No payment window is needed. */
};

/** @param value The value. @return Its name ("IN_GAME_ITEM", ...), or its number when unknown. */
inline std::wstring to_string(ProductType value)
{
    return tessel::detail::NameOf(value, {L"NONE", L"INDIE_PACKAGE_GAME_ITEM", L"IN_GAME_ITEM", L"PACKAGE_ITEM"});
}
/** @param value The value. @return Its name ("FIXED_RATE", ...), or its number when unknown. */
inline std::wstring to_string(DiscountType value)
{
    return tessel::detail::NameOf(value, {L"NONE", L"FIXED_RATE", L"FLAT_RATE"});
}
/** @param value The value. @return Its name ("MEMBER", ...), or its number when unknown. */
inline std::wstring to_string(PurchaseLimitType value)
{
    return tessel::detail::NameOf(value, {L"NONE", L"UNLIMITED", L"MEMBER", L"CHARACTER"});
}
/** @param value The value. @return Its name ("NEED_PAYMENT_WINDOW", ...), or its number when unknown. */
inline std::wstring to_string(PurchaseProgress value)
{
    return tessel::detail::NameOf(value, {L"NONE", L"NEED_PAYMENT_WINDOW", L"NOT_NEED_PAYMENT_WINDOW"});
}

/** A shop category. */
struct ShopCategory {
    std::wstring categoryId;       /**< The category's id. */
    std::wstring parentCategoryId; /**< The parent category's id. */
    std::int32_t displayNumber = 0; /**< Position in the shop's display order. */
    std::wstring name;             /**< Display name. */
    std::int32_t depth = 0;        /**< Depth in the category tree. */
};

/** A product of a product page. */
struct Product {
    long long productId = 0;            /**< The product's id. */
    std::wstring gameItemId;            /**< The game's own id of the item. */
    std::wstring name;                  /**< Display name. */
    std::wstring description;           /**< Description text. */
    std::int32_t quantity = 0;          /**< Quantity of items. */
    ProductType productTypeCode = ProductType::None; /**< Kind of product. */
    std::wstring categoryId;            /**< The category's id. */
    std::wstring categoryName;          /**< Name of the product's category. */
    std::wstring currencyCode;          /**< Currency code of the prices. */
    double price = 0;                   /**< List price. */
    double displayPrice = 0;            /**< List price as shown. */
    std::wstring displayPriceString;    /**< List price as formatted text. */
    double salePrice = 0;               /**< Sale price (what a purchase costs). */
    double displaySalePrice = 0;        /**< Sale price as shown. */
    std::wstring displaySalePriceString; /**< Sale price as formatted text. */
    bool isDiscount = false;            /**< True while a discount applies. */
    DiscountType discountType = DiscountType::None; /**< Kind of discount. */
    std::int32_t discountTypeValue = 0; /**< Amount of the discount. */
    long long discountBeginDate = 0;    /**< Start of the discount, ms since 1970 (UTC). */
    long long discountEndDate = 0;      /**< End of the discount, ms since 1970 (UTC). */
    std::int32_t totalQuantity = 0;     /**< Total quantity. */
    std::int32_t memberQuantity = 0;    /**< Quantity per member account. */
    std::int32_t guidQuantity = 0;      /**< Quantity per character. */
    std::wstring thumbnailUrl;          /**< URL of the thumbnail image. */
    bool canWithdraw = false;           /**< True when a purchase of it can be withdrawn. */
    bool purchasedAtLeastOnce = false;  /**< True when the player bought it before. */
    PurchaseLimitType purchaseLimitTypeCode = PurchaseLimitType::None; /**< Kind of purchase limit. */
    std::int32_t purchaseLimitCount = 0; /**< Purchases allowed under the limit. */
    std::int32_t saleLimitCount = 0;    /**< Sales allowed in total. */
    long long saleBeginDate = 0;        /**< Start of sale, ms since 1970 (UTC). */
    long long saleEndDate = 0;          /**< End of sale, ms since 1970 (UTC). */
};

/** A product with the player's purchase availability. */
struct ProductEx : Product {
    std::int16_t purchaseAvailabilityCode = 0; /**< Whether the player may buy it now (0 when unknown). */
};

/** One purchased product of a purchase. */
struct PurchasedProduct {
    long long transactionDetailNumber = 0; /**< Number of the purchase line. */
    long long productId = 0;               /**< The product's id. */
    std::wstring categoryId;               /**< The category's id. */
    std::int32_t totalQuantity = 0;        /**< Total quantity. */
    std::int32_t memberQuantity = 0;       /**< Quantity per member account. */
    std::int32_t guidQuantity = 0;         /**< Quantity per character. */
};

/** One charge of a purchase. */
struct ChargeInfo {
    double chargeDeductVal = 0;        /**< Amount charged. */
    double chargeDisplayDeductVal = 0; /**< Amount charged, as shown. */
    std::int32_t chargeType = 0;       /**< Kind of charge, as the platform codes it. */
    std::wstring chargeTypeName;       /**< Name of the kind of charge. */
};

/** The outcome of a purchase. */
struct PurchaseResult {
    long long transactionMasterNumber = 0;            /**< Number of the purchase. */
    std::vector<long long> transactionDetailNumbers;  /**< Numbers of the purchase lines. */
    std::wstring oneTimePaymentUrl;                   /**< URL of the payment page; empty when none is needed. */
    PurchaseProgress purchaseProgress = PurchaseProgress::None; /**< What the purchase needs next. */
    bool isPurchased = false;                         /**< True once the purchase is complete. */
    std::wstring extraData;                           /**< The game's extra data, passed through. */
    std::vector<PurchasedProduct> purchasedProducts;  /**< The purchased products. */
    std::vector<ChargeInfo> chargeInfos;              /**< The charges. */
};

/** An item of the player's inventory. */
struct InventoryItem {
    long long transactionMasterNumber = 0; /**< Number of the purchase. */
    long long transactionDetailNumber = 0; /**< Number of the purchase line. */
    long long productId = 0;               /**< The product's id. */
    std::wstring gameItemId;               /**< The game's own id of the item. */
    std::wstring productName;              /**< The product's name. */
    std::int32_t quantity = 0;             /**< Quantity of items. */
    std::wstring thumbnailUrl;             /**< URL of the thumbnail image. */
};

/** A voided (refunded or cancelled) purchase. */
struct VoidedPurchase {
    long long tid = 0;            /**< The voided transaction's id. */
    std::wstring marketCode;      /**< Code of the market. */
    std::wstring productId;       /**< The product's id. */
    std::wstring marketProductId; /**< The market's id of the product. */
    std::wstring userId;          /**< The buyer's user id. */
    long long characterNo = 0;    /**< The buyer's character number. */
    long long purchaseMillis = 0; /**< Time of the purchase, ms since 1970 (UTC). */
    long long voidedMillis = 0;   /**< Time it was voided, ms since 1970 (UTC). */
};

/** Which product page to fetch. */
struct PageRequest {
    std::int32_t pageNumber = 1; /**< Page to fetch, from 1. */
    std::int32_t pageSize = 20;  /**< Products per page, at least 1. */
};

/** One product to buy. */
struct OrderProduct {
    long long productId = 0;   /**< The product's id. */
    double salePrice = 0;      /**< Expected sale price. */
    std::int32_t quantity = 1; /**< Quantity of items. */
};

/** How a purchase, terms, payment or withdrawal window is shown. */
struct WindowOption {
    std::int32_t operation = 0;                 /**< What the window is asked to do (not used by the withdrawal). */
    WebViewMode webviewMode = WebViewMode::Embedded; /**< Where the window is shown. */
    std::int32_t x = 0;      /**< Left edge, in pixels. */
    std::int32_t y = 0;      /**< Top edge, in pixels. */
    std::int32_t width = 0;  /**< Width, in pixels. */
    std::int32_t height = 0; /**< Height, in pixels. */
};

/** What to buy and how the purchase window is shown. */
struct PurchaseRequest {
    std::vector<OrderProduct> orderProducts; /**< The products to buy. */
    WindowOption option;                     /**< How the purchase window is shown. */
    std::wstring serviceTxnNo;               /**< The game's own transaction number. */
    std::wstring extraData;                  /**< The game's extra data, passed through unchanged. */
};

/** @cond INTERNAL */
namespace detail {
using tessel::detail::Many;
using tessel::detail::Text;

template <class Record>
void FillProduct(Product& out, const Record& in)
{
    out.productId = in.productId;
    out.gameItemId = Text(in.gameItemId);
    out.name = Text(in.name);
    out.description = Text(in.description);
    out.quantity = in.quantity;
    out.productTypeCode = static_cast<ProductType>(in.productTypeCode);
    out.categoryId = Text(in.categoryId);
    out.categoryName = Text(in.categoryName);
    out.currencyCode = Text(in.currencyCode);
    out.price = in.price;
    out.displayPrice = in.displayPrice;
    out.displayPriceString = Text(in.displayPriceString);
    out.salePrice = in.salePrice;
    out.displaySalePrice = in.displaySalePrice;
    out.displaySalePriceString = Text(in.displaySalePriceString);
    out.isDiscount = in.isDiscount;
    out.discountType = static_cast<DiscountType>(in.discountType);
    out.discountTypeValue = in.discountTypeValue;
    out.discountBeginDate = in.discountBeginDate;
    out.discountEndDate = in.discountEndDate;
    out.totalQuantity = in.totalQuantity;
    out.memberQuantity = in.memberQuantity;
    out.guidQuantity = in.guidQuantity;
    out.thumbnailUrl = Text(in.thumbnailUrl);
    out.canWithdraw = in.canWithdraw;
    out.purchasedAtLeastOnce = in.purchasedAtLeastOnce;
    out.purchaseLimitTypeCode = static_cast<PurchaseLimitType>(in.purchaseLimitTypeCode);
    out.purchaseLimitCount = in.purchaseLimitCount;
    out.saleLimitCount = in.saleLimitCount;
    out.saleBeginDate = in.saleBeginDate;
    out.saleEndDate = in.saleEndDate;
}

inline std::vector<PurchasedProduct> PurchasedProducts(const TesselPurchasedProduct* items, std::size_t count)
{
    return Many<PurchasedProduct>(items, count, [](PurchasedProduct& out, const TesselPurchasedProduct& in) {
        out.transactionDetailNumber = in.transactionDetailNumber;
        out.productId = in.productId;
        out.categoryId = Text(in.categoryId);
        out.totalQuantity = in.totalQuantity;
        out.memberQuantity = in.memberQuantity;
        out.guidQuantity = in.guidQuantity;
    });
}

inline std::vector<ChargeInfo> ChargeInfos(const TesselChargeInfo* items, std::size_t count)
{
    return Many<ChargeInfo>(items, count, [](ChargeInfo& out, const TesselChargeInfo& in) {
        out.chargeDeductVal = in.chargeDeductVal;
        out.chargeDisplayDeductVal = in.chargeDisplayDeductVal;
        out.chargeType = in.chargeType;
        out.chargeTypeName = Text(in.chargeTypeName);
    });
}

struct Categories {
    using Values = std::tuple<std::vector<ShopCategory>>;
    static Values Convert(const TesselShopCategory* items, unsigned int count)
    {
        return Values(Many<ShopCategory>(items, count, [](ShopCategory& out, const TesselShopCategory& in) {
            out.categoryId = Text(in.categoryId);
            out.parentCategoryId = Text(in.parentCategoryId);
            out.displayNumber = in.displayNumber;
            out.name = Text(in.name);
            out.depth = in.depth;
        }));
    }
};

struct Products {
    using Values = std::tuple<std::vector<Product>>;
    static Values Convert(const TesselProduct* items, unsigned int count)
    {
        return Values(Many<Product>(items, count, [](Product& out, const TesselProduct& in) { FillProduct(out, in); }));
    }
};

struct ProductsEx {
    using Values = std::tuple<std::vector<ProductEx>>;
    static Values Convert(const TesselProductEx* items, unsigned int count)
    {
        return Values(Many<ProductEx>(items, count, [](ProductEx& out, const TesselProductEx& in) {
            FillProduct(out, in);
            out.purchaseAvailabilityCode = in.purchaseAvailabilityCode;
        }));
    }
};

struct Purchase {
    using Values = std::tuple<PurchaseResult>;
    static Values Convert(const TesselPurchaseResult* in)
    {
        Values values;
        if (in == nullptr) {
            return values;
        }
        PurchaseResult& out = std::get<0>(values);
        out.transactionMasterNumber = in->transactionMasterNumber;
        if (in->transactionDetailNumbers != nullptr) {
            out.transactionDetailNumbers.assign(in->transactionDetailNumbers,
                                                in->transactionDetailNumbers + in->transactionDetailNumberCount);
        }
        out.oneTimePaymentUrl = Text(in->oneTimePaymentUrl);
        out.purchaseProgress = static_cast<PurchaseProgress>(in->purchaseProgress);
        out.isPurchased = in->isPurchased;
        out.extraData = Text(in->extraData);
        out.purchasedProducts = PurchasedProducts(in->purchasedProducts, in->purchasedProductCount);
        out.chargeInfos = ChargeInfos(in->chargeInfos, in->chargeInfoCount);
        return values;
    }
};

struct Confirmation {
    using Values = std::tuple<bool, std::vector<PurchasedProduct>, std::vector<ChargeInfo>>;
    static Values Convert(bool confirmed, const TesselPurchasedProduct* products, unsigned int productCount,
                          const TesselChargeInfo* charges, unsigned int chargeCount)
    {
        return Values(confirmed, PurchasedProducts(products, productCount), ChargeInfos(charges, chargeCount));
    }
};

struct Inventory {
    using Values = std::tuple<std::vector<InventoryItem>>;
    static Values Convert(const TesselInventoryItem* items, unsigned int count)
    {
        return Values(Many<InventoryItem>(items, count, [](InventoryItem& out, const TesselInventoryItem& in) {
            out.transactionMasterNumber = in.transactionMasterNumber;
            out.transactionDetailNumber = in.transactionDetailNumber;
            out.productId = in.productId;
            out.gameItemId = Text(in.gameItemId);
            out.productName = Text(in.productName);
            out.quantity = in.quantity;
            out.thumbnailUrl = Text(in.thumbnailUrl);
        }));
    }
};

struct Terms {
    using Values = std::tuple<bool, std::wstring>;
    static Values Convert(bool agreed, const wchar_t* terms) { return Values(agreed, Text(terms)); }
};

struct Voided {
    using Values = std::tuple<std::vector<VoidedPurchase>>;
    static Values Convert(const TesselVoidedPurchase* items, unsigned int count)
    {
        return Values(Many<VoidedPurchase>(items, count, [](VoidedPurchase& out, const TesselVoidedPurchase& in) {
            out.tid = in.tid;
            out.marketCode = Text(in.marketCode);
            out.productId = Text(in.productId);
            out.marketProductId = Text(in.marketProductId);
            out.userId = Text(in.userId);
            out.characterNo = in.characterNo;
            out.purchaseMillis = in.purchaseMillis;
            out.voidedMillis = in.voidedMillis;
        }));
    }
};

template <class Option>
Option ToOption(const WindowOption& in) noexcept
{
    Option out{};
    out.operation = in.operation;
    out.webviewMode = static_cast<std::int32_t>(in.webviewMode);
    out.x = in.x;
    out.y = in.y;
    out.width = in.width;
    out.height = in.height;
    return out;
}

// The C record of a purchase request; points into `request` and `orders`.
inline TesselStartPurchaseParam ToParam(const PurchaseRequest& request, std::vector<TesselOrderProduct>& orders)
{
    orders.reserve(request.orderProducts.size());
    for (const OrderProduct& product : request.orderProducts) {
        orders.push_back(TesselOrderProduct{product.productId, product.salePrice, product.quantity});
    }
    TesselStartPurchaseParam param{};
    param.orderProducts = orders.empty() ? nullptr : orders.data();
    param.orderProductCount = static_cast<std::uint32_t>(orders.size());
    param.purchaseOption = ToOption<TesselPurchaseOption>(request.option);
    param.serviceTxnNo = request.serviceTxnNo.c_str();
    param.extraData = request.extraData.c_str();
    return param;
}

using tessel::detail::FlagValue;
using tessel::detail::NoValues;
using tessel::detail::Request;
using tessel::detail::Request2;
using tessel::detail::TextValue;

}  // namespace detail
/** @endcond */

/**
 * Initializes Vendra (after the platform). Prefer the Vendra object.
 * @param storeId The store's id.
 * @return Success, AlreadyInitialized, NotInitialized (platform) or OutOfMemory.
 */
inline Result Initialize(TextArg storeId) { return ToResult(TesselAPI_IAPInitialize(storeId.c_str())); }
/**
 * Initializes Vendra for a game window.
 * @param storeId The store's id.
 * @param window The game's window.
 * @return As Initialize().
 */
inline Result Initialize(TextArg storeId, const WindowInfo& window)
{
    const TesselWindowInfo info{window.handle, window.width, window.height};
    return ToResult(TesselAPI_IAPInitializeWithWndInfo(storeId.c_str(), &info));
}
/** @return The result of uninitializing Vendra. */
inline Result UnInitialize() { return tessel::detail::Ending(tessel::detail::kVendraKind, TesselAPI_IAPUnInitialize()); }
/** @return The SDK's version text, e.g. "1.0.0" (empty on failure). */
inline std::wstring GetVersion() { return tessel::detail::Version(&TesselAPI_IAPGetVersion); }

/** Keeps Vendra initialized while it lives (declare it after the Platform). */
class Vendra : public Lifetime {
public:
    /** @param storeId The store's id. @param when Whether the constructor initializes. */
    explicit Vendra(TextArg storeId, Start when = Start::Now)
        : Lifetime(tessel::detail::kVendraKind, [id = std::wstring(storeId.c_str())] { return Initialize(id.c_str()); },
                   &UnInitialize, "Vendra", when)
    {
    }
    /** @param storeId The store's id. @param window The game's window. @param when Whether the constructor initializes. */
    Vendra(TextArg storeId, const WindowInfo& window, Start when = Start::Now)
        : Lifetime(tessel::detail::kVendraKind,
                   [id = std::wstring(storeId.c_str()), window] { return Initialize(id.c_str(), window); }, &UnInitialize,
                   "Vendra", when)
    {
    }
};

/**
 * Fetches the shop's categories.
 * @param callback `(const Result&, std::vector<ShopCategory>)`.
 */
template <class F>
tessel::detail::Returned<F> FetchShopCategories(F&& callback)
{
    return detail::Request<detail::Categories, TesselShopCategoriesCallback>(
        std::forward<F>(callback),
        [](TesselShopCategoriesCallback c, void* context) { TesselAPI_FetchShopCategories(c, context); });
}

/**
 * Fetches one product page.
 * @param categoryId The category; empty for every category.
 * @param page Page number and size.
 * @param callback `(const Result&, std::vector<Product>)`.
 */
template <class F>
tessel::detail::Returned<F> FetchProducts(TextArg categoryId, PageRequest page, F&& callback)
{
    const TesselFetchProductParam param{categoryId.c_str(), page.pageNumber, page.pageSize};
    return detail::Request<detail::Products, TesselProductsCallback>(
        std::forward<F>(callback),
        [&param](TesselProductsCallback c, void* context) { TesselAPI_FetchProducts(&param, c, context); });
}

/**
 * Fetches the first page (of PageRequest's default size) of a category.
 * @param categoryId The category; empty for every category.
 * @param callback `(const Result&, std::vector<Product>)`.
 */
template <class F>
tessel::detail::Returned<F> FetchProducts(TextArg categoryId, F&& callback)
{
    return FetchProducts(categoryId.c_str(), PageRequest{}, std::forward<F>(callback));
}

/**
 * Fetches one product page with each product's purchase availability.
 * @param categoryId The category; empty for every category.
 * @param page Page number and size.
 * @param callback `(const Result&, std::vector<ProductEx>)`.
 */
template <class F>
tessel::detail::Returned<F> FetchProductsEx(TextArg categoryId, PageRequest page, F&& callback)
{
    const TesselFetchProductParam param{categoryId.c_str(), page.pageNumber, page.pageSize};
    return detail::Request<detail::ProductsEx, TesselProductsExCallback>(
        std::forward<F>(callback),
        [&param](TesselProductsExCallback c, void* context) { TesselAPI_FetchProductsEx(&param, c, context); });
}

/**
 * Starts a purchase; the platform may open its purchase window.
 * @param request What to buy and how the window is shown.
 * @param callback `(const Result&, PurchaseResult)`; PopupNotCreated when the window could not open.
 */
template <class F>
tessel::detail::Returned<F> StartPurchase(const PurchaseRequest& request, F&& callback)
{
    std::vector<TesselOrderProduct> orders;
    const TesselStartPurchaseParam param = detail::ToParam(request, orders);
    return detail::Request<detail::Purchase, TesselPurchaseCallback>(
        std::forward<F>(callback),
        [&param](TesselPurchaseCallback c, void* context) { TesselAPI_StartPurchase(&param, c, context); });
}

/**
 * Starts a purchase and hears the end of its window.
 * @param request What to buy and how the window is shown.
 * @param callback `(const Result&, PurchaseResult)`.
 * @param onDestroy `(const Result&)`, once after @p callback: when the window
 *        is destroyed, or PopupNotCreated when it was not created or never attempted.
 */
template <class F, class D>
tessel::detail::Returned<F> StartPurchase(const PurchaseRequest& request, F&& callback, D&& onDestroy)
{
    std::vector<TesselOrderProduct> orders;
    const TesselStartPurchaseParam param = detail::ToParam(request, orders);
    return detail::Request2<detail::Purchase, TesselPurchaseCallback, detail::NoValues, TesselOnDestroyCallback>(
        std::forward<F>(callback), std::forward<D>(onDestroy),
        [&param](TesselPurchaseCallback c, TesselOnDestroyCallback d, void* context) {
            TesselAPI_StartPurchaseEx(&param, c, d, context, context);
        });
}

/**
 * Asks whether a purchase is complete.
 * @param transactionMasterNumber The purchase's number.
 * @param callback `(const Result&, bool confirmed, std::vector<PurchasedProduct>, std::vector<ChargeInfo>)`.
 */
template <class F>
tessel::detail::Returned<F> ConfirmPurchase(long long transactionMasterNumber, F&& callback)
{
    return detail::Request<detail::Confirmation, TesselConfirmPurchaseCallback>(
        std::forward<F>(callback), [transactionMasterNumber](TesselConfirmPurchaseCallback c, void* context) {
            TesselAPI_ConfirmPurchase(transactionMasterNumber, c, context);
        });
}

/**
 * Opens the payment window.
 * @param option How the window is shown (operation 0 or 1).
 * @param callback `(const Result&, std::wstring payment)`; PopupNotCreated when the window could not open.
 */
template <class F>
tessel::detail::Returned<F> StartPayment(const WindowOption& option, F&& callback)
{
    const TesselPaymentOption param = detail::ToOption<TesselPaymentOption>(option);
    return detail::Request<detail::TextValue, TesselPaymentCallback>(
        std::forward<F>(callback),
        [&param](TesselPaymentCallback c, void* context) { TesselAPI_StartPayment(&param, c, context); });
}

/**
 * Opens the payment window and hears its end.
 * @param option How the window is shown (operation 0 or 1).
 * @param callback `(const Result&, std::wstring payment)`.
 * @param onDestroy `(const Result&)`, once after @p callback (PopupNotCreated when no window opened).
 */
template <class F, class D>
tessel::detail::Returned<F> StartPayment(const WindowOption& option, F&& callback, D&& onDestroy)
{
    const TesselPaymentOption param = detail::ToOption<TesselPaymentOption>(option);
    return detail::Request2<detail::TextValue, TesselPaymentCallback, detail::NoValues, TesselOnDestroyCallback>(
        std::forward<F>(callback), std::forward<D>(onDestroy),
        [&param](TesselPaymentCallback c, TesselOnDestroyCallback d, void* context) {
            TesselAPI_StartPaymentEx(&param, c, d, context, context);
        });
}

/**
 * Fetches the player's inventory.
 * @param callback `(const Result&, std::vector<InventoryItem>)`.
 */
template <class F>
tessel::detail::Returned<F> FetchInventory(F&& callback)
{
    return detail::Request<detail::Inventory, TesselInventoryCallback>(
        std::forward<F>(callback),
        [](TesselInventoryCallback c, void* context) { TesselAPI_FetchInventory(c, context); });
}

/**
 * Shows the terms and asks for agreement.
 * @param option How the window is shown (operation 0 or 1).
 * @param callback `(const Result&, bool agreed, std::wstring terms)`.
 */
template <class F>
tessel::detail::Returned<F> FetchTermsAgreement(const WindowOption& option, F&& callback)
{
    const TesselTermsOption param = detail::ToOption<TesselTermsOption>(option);
    return detail::Request<detail::Terms, TesselTermsAgreementCallback>(
        std::forward<F>(callback),
        [&param](TesselTermsAgreementCallback c, void* context) { TesselAPI_FetchTermsAgreement(&param, c, context); });
}

/**
 * Shows the terms and hears the end of their window.
 * @param option How the window is shown (operation 0 or 1).
 * @param callback `(const Result&, bool agreed, std::wstring terms)`.
 * @param onDestroy `(const Result&)`, once after @p callback (PopupNotCreated when no window opened).
 */
template <class F, class D>
tessel::detail::Returned<F> FetchTermsAgreement(const WindowOption& option, F&& callback, D&& onDestroy)
{
    const TesselTermsOption param = detail::ToOption<TesselTermsOption>(option);
    return detail::Request2<detail::Terms, TesselTermsAgreementCallback, detail::NoValues, TesselOnDestroyCallback>(
        std::forward<F>(callback), std::forward<D>(onDestroy),
        [&param](TesselTermsAgreementCallback c, TesselOnDestroyCallback d, void* context) {
            TesselAPI_FetchTermsAgreementEx(&param, c, d, context, context);
        });
}

/**
 * Fetches the player's voided purchases.
 * @param callback `(const Result&, std::vector<VoidedPurchase>)`.
 */
template <class F>
tessel::detail::Returned<F> FetchVoidedPurchases(F&& callback)
{
    return detail::Request<detail::Voided, TesselVoidedPurchasesCallback>(
        std::forward<F>(callback),
        [](TesselVoidedPurchasesCallback c, void* context) { TesselAPI_FetchVoidedPurchases(c, context); });
}

/**
 * Opens the game withdrawal window.
 * @param option How the window is shown (its operation is not used).
 * @param callback `(const Result&, bool withdrawn)`.
 * @param onDestroy `(const Result&)`, once after @p callback (PopupNotCreated when no window opened);
 *        may be omitted.
 */
template <class F, class D = tessel::detail::Nothing>
tessel::detail::Returned<F> WithdrawGame(const WindowOption& option, F&& callback, D&& onDestroy = {})
{
    const TesselWithdrawGameOptionParams param{static_cast<std::int32_t>(option.webviewMode), option.x, option.y,
                                               option.width, option.height};
    return detail::Request2<detail::FlagValue, TesselWithdrawGameCallback, detail::NoValues, TesselOnDestroyCallback>(
        std::forward<F>(callback), std::forward<D>(onDestroy),
        [&param](TesselWithdrawGameCallback c, TesselOnDestroyCallback d, void* context) {
            TesselAPI_WithdrawGame(&param, c, d, context, context);
        });
}

/**
 * Closes every popup the platform shows; a closed window's onDestroy runs
 * from the next RunCallbacks().
 * @return Success, or NotInitialized.
 */
inline Result CloseAllPopups() { return ToResult(TesselAPI_IAPCloseAllPopups()); }

}  // namespace tessel::vendra

#endif
