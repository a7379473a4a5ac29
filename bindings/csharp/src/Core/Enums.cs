namespace Tessel.PCSDK
{
    /// <summary>
    /// The result codes of the SDK and the sandbox, typed
    /// (<see cref="TesselResult.Code"/>). A code this list does not name is
    /// kept as its number: a cast keeps it and <c>ToString()</c> prints it.
    /// </summary>
    public enum TesselResultCode : uint
    {
        /// <summary>The call or request succeeded.</summary>
        Success = ResultCodes.Success,
        /// <summary>The module or the platform is not initialized; also what a request still pending at shutdown completes with.</summary>
        NotInitialized = ResultCodes.NotInitialized,
        /// <summary>Initialize of something already initialized; it stays initialized.</summary>
        AlreadyInitialized = ResultCodes.AlreadyInitialized,
        /// <summary>The platform refused an argument.</summary>
        InvalidArgument = ResultCodes.InvalidArgument,
        /// <summary>A version buffer was too small.</summary>
        BufferTooSmall = ResultCodes.BufferTooSmall,
        /// <summary>The platform knows no such category, product or transaction.</summary>
        NotFound = ResultCodes.NotFound,
        /// <summary>The SDK (or the binding, while copying an answer) could not allocate.</summary>
        OutOfMemory = ResultCodes.OutOfMemory,
        /// <summary>The popup or web window of a request was not created.</summary>
        PopupNotCreated = ResultCodes.PopupNotCreated
    }
}

namespace Tessel.PCSDK.Vendra
{
    /// <summary>Kind of product. A value this list does not name is kept as its number.</summary>
    public enum ProductType
    {
        /// <summary>None or unknown.</summary>
        None = 0,
        /// <summary>An item of an indie package game.</summary>
        IndiePackageGameItem = 1,
        /// <summary>An in-game item.</summary>
        InGameItem = 2,
        /// <summary>A package of items.</summary>
        PackageItem = 3
    }

    /// <summary>Kind of discount. A value this list does not name is kept as its number.</summary>
    public enum DiscountType
    {
        /// <summary>None or unknown.</summary>
        None = 0,
        /// <summary>A percentage off.</summary>
        FixedRate = 1,
        /// <summary>A fixed amount off.</summary>
        FlatRate = 2
    }

    /// <summary>Kind of purchase limit. A value this list does not name is kept as its number.</summary>
    public enum PurchaseLimitType
    {
        /// <summary>None or unknown.</summary>
        None = 0,
        /// <summary>No limit.</summary>
        Unlimited = 1,
        /// <summary>Limited per member account.</summary>
        Member = 2,
        /// <summary>Limited per character.</summary>
        Character = 3
    }

    /// <summary>What a purchase needs next. A value this list does not name is kept as its number.</summary>
    public enum PurchaseProgress
    {
        /// <summary>None or unknown.</summary>
        None = 0,
        /// <summary>The game must open the payment window (<see cref="Shop.StartPayment"/>).</summary>
        NeedPaymentWindow = 1,
        /// <summary>Paid; no payment window needed.</summary>
        NotNeedPaymentWindow = 2
    }
}

namespace Tessel.PCSDK.Panora
{
    /// <summary>Close button styles of a popup. A value this list does not name is kept as its number.</summary>
    public enum CloseButtonType
    {
        /// <summary>Drawn by the popup's page.</summary>
        Custom = 0,
        /// <summary>Preset style 1.</summary>
        Preset01 = 1,
        /// <summary>Preset style 2.</summary>
        Preset02 = 2,
        /// <summary>Preset style 3.</summary>
        Preset03 = 3,
        /// <summary>Preset style 4.</summary>
        Preset04 = 4,
        /// <summary>Preset style 5.</summary>
        Preset05 = 5,
        /// <summary>Preset style 6.</summary>
        Preset06 = 6,
        /// <summary>The platform's default style.</summary>
        Default = 7
    }
}
