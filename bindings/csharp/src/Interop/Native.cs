// The exported C interface, one declaration per entry point. Nothing here is
// public: the public layer wraps every call. Library names are the files'
// stems: Mono maps "Vendra" to libVendra.so, Windows to Vendra.dll.
using System;
using System.Runtime.InteropServices;

namespace Tessel.PCSDK.Interop
{
#pragma warning disable 1591
    /// <summary>
    /// Marks a static method that native code calls through a function
    /// pointer, so ahead-of-time compilers (IL2CPP, Mono full AOT) generate
    /// the reverse wrapper. They match the attribute by name, so this
    /// declaration serves when the engine does not bring its own.
    /// </summary>
    [AttributeUsage(AttributeTargets.Method)]
    internal sealed class MonoPInvokeCallbackAttribute : Attribute
    {
        internal MonoPInvokeCallbackAttribute(Type delegateType) { DelegateType = delegateType; }
        internal Type DelegateType { get; private set; }
    }

    // Callback signatures. C bool arrives as one byte.
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)] internal delegate void ResultCallback(IntPtr result);
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)] internal delegate void TextCallback(IntPtr result, IntPtr text);
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)] internal delegate void ListCallback(IntPtr result, IntPtr items, uint count);
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)] internal delegate void FlagCallback(IntPtr result, byte flag);
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)] internal delegate void FlagTextCallback(IntPtr result, byte flag, IntPtr text);
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)] internal delegate void PurchaseCallback(IntPtr result, IntPtr purchase);
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)]
    internal delegate void ConfirmPurchaseCallback(IntPtr result, byte confirmed, IntPtr products, uint productCount,
                                                   IntPtr charges, uint chargeCount);
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)]
    internal delegate void PopupFetchCallback(IntPtr result, IntPtr popups, uint count, IntPtr requestData);
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)] internal delegate void TraceCallback(IntPtr line, IntPtr context);

    internal static class PlinthNative
    {
        const string Lib = "Plinth";
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer Tessel_Initialize(IntPtr gameId);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer Tessel_UnInitialize();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern uint Tessel_RunCallbacks();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern IntPtr Tessel_ResultCodeName(uint resultCode);

        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern uint TesselSandbox_LoadProfileFile(byte[] utf8Path);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern uint TesselSandbox_LoadProfileText(byte[] utf8, UIntPtr length);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern IntPtr TesselSandbox_LastProfileError();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern uint TesselSandbox_PushOutcome(ref TesselSandboxOutcome outcome);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselSandbox_ClearOutcomes();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselSandbox_SetLatency(uint milliseconds);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselSandbox_SetManualClock(int on);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselSandbox_AdvanceClock(uint milliseconds);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselSandbox_SetTrace(TraceCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern uint TesselSandbox_OpenPopupCount();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern uint TesselSandbox_WaitingWindowCount();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern uint TesselSandbox_CloseAllPopups();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern uint TesselSandbox_StartConsole(ushort port, byte[] url, UIntPtr urlCapacity);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselSandbox_StopConsole();
    }

    internal static class VendraNative
    {
        const string Lib = "Vendra";
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_IAPInitialize(IntPtr storeId);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_IAPInitializeWithWndInfo(IntPtr storeId, ref TesselWindowInfo windowInfo);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_IAPUnInitialize();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_IAPGetVersion(IntPtr buffer, int capacity);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_IAPCloseAllPopups();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchShopCategories(ListCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchProducts(ref TesselFetchProductParam param, ListCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchProductsEx(ref TesselFetchProductParam param, ListCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_StartPurchase(ref TesselStartPurchaseParam param, PurchaseCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_StartPurchaseEx(ref TesselStartPurchaseParam param, PurchaseCallback callback, ResultCallback onDestroy, IntPtr context, IntPtr destroyContext);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_ConfirmPurchase(long transactionMasterNumber, ConfirmPurchaseCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_StartPayment(ref TesselPurchaseOption option, TextCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_StartPaymentEx(ref TesselPurchaseOption option, TextCallback callback, ResultCallback onDestroy, IntPtr context, IntPtr destroyContext);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchInventory(ListCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchTermsAgreement(ref TesselPurchaseOption option, FlagTextCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchTermsAgreementEx(ref TesselPurchaseOption option, FlagTextCallback callback, ResultCallback onDestroy, IntPtr context, IntPtr destroyContext);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchVoidedPurchases(ListCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_WithdrawGame(ref TesselWithdrawGameOptionParams option, FlagCallback callback, ResultCallback onDestroy, IntPtr context, IntPtr destroyContext);
    }

    internal static class PanoraNative
    {
        const string Lib = "Panora";
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_ViewInitialize();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_ViewInitializeWithWndInfo(ref TesselWindowInfo windowInfo);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_ViewUnInitialize();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_ViewGetVersion(IntPtr buffer, int capacity);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_ViewCloseAllPopups();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_AutoPopup(int mode, ResultCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_AutoPopupEx(int mode, ResultCallback callback, ResultCallback onDestroy, IntPtr context, IntPtr destroyContext);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_ManualPopup(IntPtr key, int mode, ResultCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_ManualPopupEx(IntPtr key, int mode, ResultCallback callback, ResultCallback onDestroy, IntPtr context, IntPtr destroyContext);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_NewsPopup(int mode, ResultCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_NewsPopupEx(int mode, ResultCallback callback, ResultCallback onDestroy, IntPtr context, IntPtr destroyContext);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_CouponPopup(int mode, ResultCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_CouponPopupEx(int mode, ResultCallback callback, ResultCallback onDestroy, IntPtr context, IntPtr destroyContext);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_VerifyIdentificationPopup(byte flag, int mode, ResultCallback callback, TextCallback valueCallback, IntPtr context, IntPtr valueContext);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchAutoPopup(PopupFetchCallback callback);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchManualPopup(IntPtr key, PopupFetchCallback callback);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchNewsPopup(PopupFetchCallback callback);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchCouponPopup(PopupFetchCallback callback);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_SetPopupDisallowed(ref TesselPopupDisallowedParams param, ResultCallback callback, IntPtr context);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchWebOpenKey(TextCallback callback, IntPtr context);
    }

    internal static class ScrivoNative
    {
        const string Lib = "Scrivo";
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_LogInitialize();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_LogUnInitialize();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_LogGetVersion(IntPtr buffer, int capacity);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_LogSend(ref TesselLogSendParam param, ResultCallback callback, IntPtr context);
    }

    internal static class LudexNative
    {
        const string Lib = "Ludex";
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_GamingServicesInitialize();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_GamingServicesUnInitialize();
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern ApiResultBuffer TesselAPI_GamingServicesGetVersion(IntPtr buffer, int capacity);
        [DllImport(Lib, CallingConvention = CallingConvention.Cdecl)] internal static extern void TesselAPI_FetchCharacter(IntPtr characterId, IntPtr serverId, TextCallback callback, IntPtr context);
    }

    /// <summary>
    /// The return slot of a TesselAPIResult returned by value. The record is
    /// 72 bytes with 2-byte wchar_t and 136 with 4-byte; both sizes come back
    /// through a hidden pointer on every 64-bit ABI, so a slot of the larger
    /// size receives either and is read with the layout of the platform's width.
    /// </summary>
    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    internal struct ApiResultBuffer
    {
        public TesselAPIResult_W4 slot;
    }
#pragma warning restore 1591
}
