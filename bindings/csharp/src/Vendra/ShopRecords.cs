using System;
using System.Collections.Generic;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK.Vendra
{
    /// <summary>A shop category. Immutable.</summary>
    public sealed class ShopCategory
    {
        internal unsafe ShopCategory(TesselShopCategory* c)
        {
            CategoryId = WideText.Read(c->categoryId);
            ParentCategoryId = WideText.Read(c->parentCategoryId);
            DisplayNumber = c->displayNumber;
            Name = WideText.Read(c->name);
            Depth = c->depth;
        }

        /// <summary>The category's id.</summary>
        public string CategoryId { get; }
        /// <summary>The parent category's id (empty at the top).</summary>
        public string ParentCategoryId { get; }
        /// <summary>Position in the shop's display order.</summary>
        public int DisplayNumber { get; }
        /// <summary>Display name.</summary>
        public string Name { get; }
        /// <summary>Depth in the category tree.</summary>
        public int Depth { get; }
    }

    /// <summary>A product of a shop page. Immutable.</summary>
    public sealed class Product
    {
        internal unsafe Product(TesselProduct* p, short purchaseAvailabilityCode)
        {
            ProductId = p->productId;
            GameItemId = WideText.Read(p->gameItemId);
            Name = WideText.Read(p->name);
            Description = WideText.Read(p->description);
            Quantity = p->quantity;
            ProductTypeCode = (ProductType)p->productTypeCode;
            CategoryId = WideText.Read(p->categoryId);
            CategoryName = WideText.Read(p->categoryName);
            CurrencyCode = WideText.Read(p->currencyCode);
            Price = p->price;
            DisplayPrice = p->displayPrice;
            DisplayPriceString = WideText.Read(p->displayPriceString);
            SalePrice = p->salePrice;
            DisplaySalePrice = p->displaySalePrice;
            DisplaySalePriceString = WideText.Read(p->displaySalePriceString);
            IsDiscount = p->isDiscount != 0;
            DiscountType = (DiscountType)p->discountType;
            DiscountTypeValue = p->discountTypeValue;
            DiscountBeginDate = p->discountBeginDate;
            DiscountEndDate = p->discountEndDate;
            TotalQuantity = p->totalQuantity;
            MemberQuantity = p->memberQuantity;
            GuidQuantity = p->guidQuantity;
            ThumbnailUrl = WideText.Read(p->thumbnailUrl);
            CanWithdraw = p->canWithdraw != 0;
            PurchasedAtLeastOnce = p->purchasedAtLeastOnce != 0;
            PurchaseLimitTypeCode = (PurchaseLimitType)p->purchaseLimitTypeCode;
            PurchaseLimitCount = p->purchaseLimitCount;
            SaleLimitCount = p->saleLimitCount;
            SaleBeginDate = p->saleBeginDate;
            SaleEndDate = p->saleEndDate;
            PurchaseAvailabilityCode = purchaseAvailabilityCode;
        }

        /// <summary>The product's id.</summary>
        public long ProductId { get; }
        /// <summary>The game's own id of the item.</summary>
        public string GameItemId { get; }
        /// <summary>Display name.</summary>
        public string Name { get; }
        /// <summary>Description text.</summary>
        public string Description { get; }
        /// <summary>Quantity of items.</summary>
        public int Quantity { get; }
        /// <summary>Kind of product; a number the enumeration does not name is kept (cast to int for the raw code).</summary>
        public ProductType ProductTypeCode { get; }
        /// <summary>The category's id.</summary>
        public string CategoryId { get; }
        /// <summary>Name of the product's category.</summary>
        public string CategoryName { get; }
        /// <summary>Currency code of the prices.</summary>
        public string CurrencyCode { get; }
        /// <summary>List price.</summary>
        public double Price { get; }
        /// <summary>List price as shown.</summary>
        public double DisplayPrice { get; }
        /// <summary>List price as formatted text.</summary>
        public string DisplayPriceString { get; }
        /// <summary>Sale price (what a purchase costs).</summary>
        public double SalePrice { get; }
        /// <summary>Sale price as shown.</summary>
        public double DisplaySalePrice { get; }
        /// <summary>Sale price as formatted text.</summary>
        public string DisplaySalePriceString { get; }
        /// <summary>True while a discount applies.</summary>
        public bool IsDiscount { get; }
        /// <summary>Kind of discount; a number the enumeration does not name is kept.</summary>
        public DiscountType DiscountType { get; }
        /// <summary>Amount of the discount, in the unit of its kind.</summary>
        public int DiscountTypeValue { get; }
        /// <summary>Start of the discount, milliseconds since 1970 (UTC).</summary>
        public long DiscountBeginDate { get; }
        /// <summary>End of the discount, milliseconds since 1970 (UTC).</summary>
        public long DiscountEndDate { get; }
        /// <summary>Start of the discount (<see cref="DiscountBeginDate"/> as a time, UTC).</summary>
        public DateTimeOffset DiscountBegins { get { return Time.FromMillis(DiscountBeginDate); } }
        /// <summary>End of the discount (<see cref="DiscountEndDate"/> as a time, UTC).</summary>
        public DateTimeOffset DiscountEnds { get { return Time.FromMillis(DiscountEndDate); } }
        /// <summary>Total quantity.</summary>
        public int TotalQuantity { get; }
        /// <summary>Quantity per member account.</summary>
        public int MemberQuantity { get; }
        /// <summary>Quantity per character.</summary>
        public int GuidQuantity { get; }
        /// <summary>URL of the thumbnail image.</summary>
        public string ThumbnailUrl { get; }
        /// <summary>True when a purchase of it can be withdrawn.</summary>
        public bool CanWithdraw { get; }
        /// <summary>True when the player bought it before.</summary>
        public bool PurchasedAtLeastOnce { get; }
        /// <summary>Kind of purchase limit; a number the enumeration does not name is kept.</summary>
        public PurchaseLimitType PurchaseLimitTypeCode { get; }
        /// <summary>Purchases allowed under the limit.</summary>
        public int PurchaseLimitCount { get; }
        /// <summary>Sales allowed in total.</summary>
        public int SaleLimitCount { get; }
        /// <summary>Start of sale, milliseconds since 1970 (UTC).</summary>
        public long SaleBeginDate { get; }
        /// <summary>End of sale, milliseconds since 1970 (UTC).</summary>
        public long SaleEndDate { get; }
        /// <summary>Start of sale (<see cref="SaleBeginDate"/> as a time, UTC).</summary>
        public DateTimeOffset SaleBegins { get { return Time.FromMillis(SaleBeginDate); } }
        /// <summary>End of sale (<see cref="SaleEndDate"/> as a time, UTC).</summary>
        public DateTimeOffset SaleEnds { get { return Time.FromMillis(SaleEndDate); } }
        /// <summary>Whether the player may buy it now, as the platform codes it; 0 from a page fetched without availability.</summary>
        public short PurchaseAvailabilityCode { get; }
    }

    /// <summary>One purchased product of a purchase. Immutable.</summary>
    public sealed class PurchasedProduct
    {
        internal unsafe PurchasedProduct(TesselPurchasedProduct* p)
        {
            TransactionDetailNumber = p->transactionDetailNumber;
            ProductId = p->productId;
            CategoryId = WideText.Read(p->categoryId);
            TotalQuantity = p->totalQuantity;
            MemberQuantity = p->memberQuantity;
            GuidQuantity = p->guidQuantity;
        }

        /// <summary>Number of the purchase line.</summary>
        public long TransactionDetailNumber { get; }
        /// <summary>The product's id.</summary>
        public long ProductId { get; }
        /// <summary>The category's id.</summary>
        public string CategoryId { get; }
        /// <summary>Total quantity.</summary>
        public int TotalQuantity { get; }
        /// <summary>Quantity per member account.</summary>
        public int MemberQuantity { get; }
        /// <summary>Quantity per character.</summary>
        public int GuidQuantity { get; }
    }

    /// <summary>One charge of a purchase. Immutable.</summary>
    public sealed class ChargeInfo
    {
        internal unsafe ChargeInfo(TesselChargeInfo* c)
        {
            ChargeDeductVal = c->chargeDeductVal;
            ChargeDisplayDeductVal = c->chargeDisplayDeductVal;
            ChargeType = c->chargeType;
            ChargeTypeName = WideText.Read(c->chargeTypeName);
        }

        /// <summary>Amount charged.</summary>
        public double ChargeDeductVal { get; }
        /// <summary>Amount charged, as shown.</summary>
        public double ChargeDisplayDeductVal { get; }
        /// <summary>Kind of charge, as the platform codes it.</summary>
        public int ChargeType { get; }
        /// <summary>Name of the kind of charge.</summary>
        public string ChargeTypeName { get; }
    }

    /// <summary>The outcome of a purchase. Immutable.</summary>
    public sealed class PurchaseResult
    {
        internal static readonly PurchaseResult Empty = new PurchaseResult();

        PurchaseResult()
        {
            TransactionDetailNumbers = Array.Empty<long>();
            OneTimePaymentUrl = string.Empty;
            ExtraData = string.Empty;
            PurchasedProducts = Array.Empty<PurchasedProduct>();
            ChargeInfos = Array.Empty<ChargeInfo>();
        }

        internal unsafe PurchaseResult(TesselPurchaseResult* p)
        {
            TransactionMasterNumber = p->transactionMasterNumber;
            TransactionDetailNumbers = Shared.List(p->transactionDetailNumbers, p->transactionDetailNumberCount, sizeof(long),
                                                   item => *(long*)item);
            OneTimePaymentUrl = WideText.Read(p->oneTimePaymentUrl);
            PurchaseProgress = (PurchaseProgress)p->purchaseProgress;
            IsPurchased = p->isPurchased != 0;
            ExtraData = WideText.Read(p->extraData);
            PurchasedProducts = VendraLists.PurchasedProducts(p->purchasedProducts, p->purchasedProductCount);
            ChargeInfos = VendraLists.Charges(p->chargeInfos, p->chargeInfoCount);
        }

        /// <summary>Number of the purchase (give it to <see cref="Shop.ConfirmPurchase"/>).</summary>
        public long TransactionMasterNumber { get; }
        /// <summary>Numbers of the purchase lines.</summary>
        public IReadOnlyList<long> TransactionDetailNumbers { get; }
        /// <summary>URL of the payment page of this purchase; empty when none is needed.</summary>
        public string OneTimePaymentUrl { get; }
        /// <summary>What the purchase needs next; a number the enumeration does not name is kept.</summary>
        public PurchaseProgress PurchaseProgress { get; }
        /// <summary>True once the purchase is complete.</summary>
        public bool IsPurchased { get; }
        /// <summary>The game's extra data of the purchase, passed through unchanged.</summary>
        public string ExtraData { get; }
        /// <summary>The purchased products.</summary>
        public IReadOnlyList<PurchasedProduct> PurchasedProducts { get; }
        /// <summary>The charges.</summary>
        public IReadOnlyList<ChargeInfo> ChargeInfos { get; }
    }

    /// <summary>The answer of a purchase confirmation. Immutable.</summary>
    public sealed class PurchaseConfirmation
    {
        internal PurchaseConfirmation(bool confirmed, IReadOnlyList<PurchasedProduct> products, IReadOnlyList<ChargeInfo> charges)
        {
            Confirmed = confirmed;
            PurchasedProducts = products;
            ChargeInfos = charges;
        }

        /// <summary>True when the purchase is complete.</summary>
        public bool Confirmed { get; }
        /// <summary>Its purchased products.</summary>
        public IReadOnlyList<PurchasedProduct> PurchasedProducts { get; }
        /// <summary>Its charges.</summary>
        public IReadOnlyList<ChargeInfo> ChargeInfos { get; }
    }

    /// <summary>An item of the player's inventory. Immutable.</summary>
    public sealed class InventoryItem
    {
        internal unsafe InventoryItem(TesselInventoryItem* i)
        {
            TransactionMasterNumber = i->transactionMasterNumber;
            TransactionDetailNumber = i->transactionDetailNumber;
            ProductId = i->productId;
            GameItemId = WideText.Read(i->gameItemId);
            ProductName = WideText.Read(i->productName);
            Quantity = i->quantity;
            ThumbnailUrl = WideText.Read(i->thumbnailUrl);
        }

        /// <summary>Number of the purchase.</summary>
        public long TransactionMasterNumber { get; }
        /// <summary>Number of the purchase line.</summary>
        public long TransactionDetailNumber { get; }
        /// <summary>The product's id.</summary>
        public long ProductId { get; }
        /// <summary>The game's own id of the item.</summary>
        public string GameItemId { get; }
        /// <summary>The product's name.</summary>
        public string ProductName { get; }
        /// <summary>Quantity of items.</summary>
        public int Quantity { get; }
        /// <summary>URL of the thumbnail image.</summary>
        public string ThumbnailUrl { get; }
    }

    /// <summary>A voided (refunded or cancelled) purchase. Immutable.</summary>
    public sealed class VoidedPurchase
    {
        internal unsafe VoidedPurchase(TesselVoidedPurchase* v)
        {
            Tid = v->tid;
            MarketCode = WideText.Read(v->marketCode);
            ProductId = WideText.Read(v->productId);
            MarketProductId = WideText.Read(v->marketProductId);
            UserId = WideText.Read(v->userId);
            CharacterNo = v->characterNo;
            PurchaseMillis = v->purchaseMillis;
            VoidedMillis = v->voidedMillis;
        }

        /// <summary>The voided transaction's id.</summary>
        public long Tid { get; }
        /// <summary>Code of the market the purchase was made in.</summary>
        public string MarketCode { get; }
        /// <summary>The product's id.</summary>
        public string ProductId { get; }
        /// <summary>The market's id of the product.</summary>
        public string MarketProductId { get; }
        /// <summary>The buyer's user id.</summary>
        public string UserId { get; }
        /// <summary>The buyer's character number.</summary>
        public long CharacterNo { get; }
        /// <summary>Time of the purchase, milliseconds since 1970 (UTC).</summary>
        public long PurchaseMillis { get; }
        /// <summary>Time it was voided, milliseconds since 1970 (UTC).</summary>
        public long VoidedMillis { get; }
        /// <summary>Time of the purchase (<see cref="PurchaseMillis"/> as a time, UTC).</summary>
        public DateTimeOffset PurchaseTime { get { return Time.FromMillis(PurchaseMillis); } }
        /// <summary>Time it was voided (<see cref="VoidedMillis"/> as a time, UTC).</summary>
        public DateTimeOffset VoidedTime { get { return Time.FromMillis(VoidedMillis); } }
    }

    /// <summary>The answer of a terms request. Immutable.</summary>
    public sealed class TermsAgreement
    {
        internal TermsAgreement(bool agreed, string terms)
        {
            Agreed = agreed;
            Terms = terms;
        }

        /// <summary>True when the player agreed to the terms.</summary>
        public bool Agreed { get; }
        /// <summary>The terms' text (empty on failure).</summary>
        public string Terms { get; }
    }

    /// <summary>One product to buy.</summary>
    public struct OrderProduct
    {
        /// <summary>An order line.</summary>
        /// <param name="productId">The product's id.</param>
        /// <param name="salePrice">The sale price the game expects.</param>
        /// <param name="quantity">Quantity of items.</param>
        public OrderProduct(long productId, double salePrice, int quantity)
        {
            ProductId = productId;
            SalePrice = salePrice;
            Quantity = quantity;
        }

        /// <summary>The product's id.</summary>
        public long ProductId;
        /// <summary>The sale price the game expects.</summary>
        public double SalePrice;
        /// <summary>Quantity of items.</summary>
        public int Quantity;
    }

    /// <summary>How a shop window (purchase, payment, terms, withdrawal) is shown.</summary>
    public sealed class WindowOptions
    {
        /// <summary>What the window is asked to do (0, 1 or 2), passed to the platform unchanged; withdrawal ignores it.</summary>
        public int Operation { get; set; }
        /// <summary>Where the window is shown.</summary>
        public WebViewMode Mode { get; set; }
        /// <summary>Left edge, in pixels.</summary>
        public int X { get; set; }
        /// <summary>Top edge, in pixels.</summary>
        public int Y { get; set; }
        /// <summary>Width, in pixels.</summary>
        public int Width { get; set; }
        /// <summary>Height, in pixels.</summary>
        public int Height { get; set; }

        internal TesselPurchaseOption ToNative()
        {
            return new TesselPurchaseOption
            {
                operation = Operation, webviewMode = (int)Mode, x = X, y = Y, width = Width, height = Height
            };
        }
    }

    internal static unsafe class VendraLists
    {
        static readonly Func<IntPtr, PurchasedProduct> MakePurchased = p => new PurchasedProduct((TesselPurchasedProduct*)p);
        static readonly Func<IntPtr, ChargeInfo> MakeCharge = p => new ChargeInfo((TesselChargeInfo*)p);

        internal static IReadOnlyList<PurchasedProduct> PurchasedProducts(IntPtr items, uint count)
        {
            return Shared.List(items, count, sizeof(TesselPurchasedProduct), MakePurchased);
        }

        internal static IReadOnlyList<ChargeInfo> Charges(IntPtr items, uint count)
        {
            return Shared.List(items, count, sizeof(TesselChargeInfo), MakeCharge);
        }
    }
}
