// Blittable mirrors of the SDK's public C records. Every record is packed to
// 4 bytes like its C original, texts are IntPtr (wchar_t*), flags are one
// byte. The two records that hold a wide-character array inline (the result
// records) exist once per wchar_t width: _W4 for UTF-32 platforms, _W2 for
// Windows. The layout test compares every offset here with the C compiler's.
using System;
using System.Runtime.InteropServices;

namespace Tessel.PCSDK.Interop
{
#pragma warning disable 1591, 0649
    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal unsafe struct TesselAPIResult_W4
    {
        public uint operationCode;
        public uint resultCode;
        public fixed uint moduleName[32];
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal unsafe struct TesselAPIResult_W2
    {
        public uint operationCode;
        public uint resultCode;
        public fixed ushort moduleName[32];
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselAPICallbackResult_W4
    {
        public TesselAPIResult_W4 result;
        public IntPtr message;
        public int value;
        public IntPtr requestMethod;
        public IntPtr requestUrl;
        public int httpStatus;
        public IntPtr userContext;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselAPICallbackResult_W2
    {
        public TesselAPIResult_W2 result;
        public IntPtr message;
        public int value;
        public IntPtr requestMethod;
        public IntPtr requestUrl;
        public int httpStatus;
        public IntPtr userContext;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselWindowInfo
    {
        public IntPtr windowHandle;
        public int width;
        public int height;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselSandboxOutcome
    {
        public uint module;
        public uint operationCode;
        public uint count;
        public uint fields;
        public uint resultCode;
        public IntPtr message;
        public byte popupCreated;
        public byte flag;
        public byte reserved0;
        public byte reserved1;
        public uint delayMs;
    }

    // --- Vendra: records produced for callbacks ---------------------------------

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselShopCategory
    {
        public long reserved;
        public IntPtr categoryId;
        public IntPtr parentCategoryId;
        public int displayNumber;
        public IntPtr name;
        public int depth;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselProduct
    {
        public long reserved;
        public long productId;
        public IntPtr gameItemId;
        public IntPtr name;
        public IntPtr description;
        public int quantity;
        public int productTypeCode;
        public IntPtr categoryId;
        public IntPtr categoryName;
        public IntPtr currencyCode;
        public double price;
        public double displayPrice;
        public IntPtr displayPriceString;
        public double salePrice;
        public double displaySalePrice;
        public IntPtr displaySalePriceString;
        public byte isDiscount;
        public int discountType;
        public int discountTypeValue;
        public long discountBeginDate;
        public long discountEndDate;
        public int totalQuantity;
        public int memberQuantity;
        public int guidQuantity;
        public IntPtr thumbnailUrl;
        public byte canWithdraw;
        public byte purchasedAtLeastOnce;
        public int purchaseLimitTypeCode;
        public int purchaseLimitCount;
        public int saleLimitCount;
        public long saleBeginDate;
        public long saleEndDate;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselProductEx
    {
        public TesselProduct product;
        public short purchaseAvailabilityCode;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselPurchasedProduct
    {
        public long reserved;
        public long transactionDetailNumber;
        public long productId;
        public IntPtr categoryId;
        public int totalQuantity;
        public int memberQuantity;
        public int guidQuantity;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselChargeInfo
    {
        public long reserved;
        public double chargeDeductVal;
        public double chargeDisplayDeductVal;
        public int chargeType;
        public IntPtr chargeTypeName;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselPurchaseResult
    {
        public long reserved;
        public long transactionMasterNumber;
        public IntPtr transactionDetailNumbers;
        public uint transactionDetailNumberCount;
        public IntPtr oneTimePaymentUrl;
        public int purchaseProgress;
        public byte isPurchased;
        public IntPtr extraData;
        public IntPtr purchasedProducts;
        public uint purchasedProductCount;
        public IntPtr chargeInfos;
        public uint chargeInfoCount;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselInventoryItem
    {
        public long reserved;
        public long transactionMasterNumber;
        public long transactionDetailNumber;
        public long productId;
        public IntPtr gameItemId;
        public IntPtr productName;
        public int quantity;
        public IntPtr thumbnailUrl;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselVoidedPurchase
    {
        public long reserved;
        public long tid;
        public IntPtr marketCode;
        public IntPtr productId;
        public IntPtr marketProductId;
        public IntPtr userId;
        public long characterNo;
        public long purchaseMillis;
        public long voidedMillis;
    }

    // --- Vendra: records the game passes in ---------------------------------------

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselFetchProductParam
    {
        public IntPtr categoryId;
        public int pageNumber;
        public int pageSize;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselOrderProduct
    {
        public long productId;
        public double salePrice;
        public int quantity;
    }

    // TesselPurchaseOption, TesselTermsOption and TesselPaymentOption share this layout.
    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselPurchaseOption
    {
        public long reserved;
        public int operation;
        public int webviewMode;
        public int x;
        public int y;
        public int width;
        public int height;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselStartPurchaseParam
    {
        public IntPtr orderProducts;
        public uint orderProductCount;
        public TesselPurchaseOption purchaseOption;
        public IntPtr serviceTxnNo;
        public IntPtr extraData;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselWithdrawGameOptionParams
    {
        public int webviewMode;
        public int x;
        public int y;
        public int width;
        public int height;
    }

    // --- Panora -------------------------------------------------------------------

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselPopupDisallowedParams
    {
        public uint popupId;
        public uint days;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselPopupStringPair
    {
        public IntPtr first;
        public IntPtr second;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselPopup
    {
        public IntPtr text1;
        public IntPtr text2;
        public int number1;
        public IntPtr text3;
        public byte byte1;
        public byte byte2;
        public byte byte3;
        public byte byte4;
        public byte byte5;
        public byte byte6;
        public byte byte7;
        public int number2;
        public TesselPopupStringPair pair1;
        public TesselPopupStringPair pair2;
        public int number3;
        public int number4;
        public int number5;
        public int number6;
    }

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselPopupRequestData
    {
        public IntPtr pairs1;
        public uint pairCount1;
        public IntPtr pairs2;
        public uint pairCount2;
    }

    // --- Scrivo -------------------------------------------------------------------

    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct TesselLogSendParam
    {
        public long auid;
        public long cuid;
        public IntPtr mktType1;
        public IntPtr mktId1;
        public IntPtr mktType2;
        public IntPtr mktId2;
        public IntPtr gameVersion;
        public IntPtr logGroupId;
        public IntPtr serverCd;
        public IntPtr serverCdDet;
        public IntPtr lvCd;
        public IntPtr lvCdDet;
        public IntPtr contents;
    }
#pragma warning restore 1591, 0649
}
