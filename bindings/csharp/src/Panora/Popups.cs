using System;
using System.Collections.Generic;
using System.Threading;
using System.Threading.Tasks;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK.Panora
{
    /// <summary>Two texts of a fetched popup. Immutable.</summary>
    public sealed class PopupStringPair
    {
        internal unsafe PopupStringPair(TesselPopupStringPair* p)
        {
            First = WideText.Read(p->first) ?? string.Empty;
            Second = WideText.Read(p->second) ?? string.Empty;
        }

        /// <summary>First text.</summary>
        public string First { get; }
        /// <summary>Second text.</summary>
        public string Second { get; }
    }

    /// <summary>One popup of a fetched list; the platform's fields, passed through unchanged. Immutable.</summary>
    public sealed class Popup
    {
        internal unsafe Popup(TesselPopup* p)
        {
            Text1 = WideText.Read(p->text1);
            Text2 = WideText.Read(p->text2);
            Number1 = p->number1;
            Text3 = WideText.Read(p->text3);
            Bytes = new[] { p->byte1, p->byte2, p->byte3, p->byte4, p->byte5, p->byte6, p->byte7 };
            Number2 = p->number2;
            Pair1 = new PopupStringPair(&p->pair1);
            Pair2 = new PopupStringPair(&p->pair2);
            Number3 = p->number3;
            Number4 = p->number4;
            Number5 = p->number5;
            Number6 = p->number6;
        }

        /// <summary>First text field (in the sandbox: the title).</summary>
        public string Text1 { get; }
        /// <summary>Second text field (in the sandbox: the page's URL).</summary>
        public string Text2 { get; }
        /// <summary>First number field (in the sandbox: the popup's id).</summary>
        public int Number1 { get; }
        /// <summary>Third text field (in the sandbox: the image's URL).</summary>
        public string Text3 { get; }
        /// <summary>The seven byte fields, in order.</summary>
        public IReadOnlyList<byte> Bytes { get; }
        /// <summary>Second number field.</summary>
        public int Number2 { get; }
        /// <summary>First text pair.</summary>
        public PopupStringPair Pair1 { get; }
        /// <summary>Second text pair.</summary>
        public PopupStringPair Pair2 { get; }
        /// <summary>Third number field.</summary>
        public int Number3 { get; }
        /// <summary>Fourth number field.</summary>
        public int Number4 { get; }
        /// <summary>Fifth number field.</summary>
        public int Number5 { get; }
        /// <summary>Sixth number field.</summary>
        public int Number6 { get; }
    }

    /// <summary>A fetched popup list and the data that comes with it. Immutable.</summary>
    public sealed class PopupList
    {
        internal PopupList(IReadOnlyList<Popup> popups, IReadOnlyList<PopupStringPair> pairs1, IReadOnlyList<PopupStringPair> pairs2)
        {
            Popups = popups;
            Pairs1 = pairs1;
            Pairs2 = pairs2;
        }

        /// <summary>The popups.</summary>
        public IReadOnlyList<Popup> Popups { get; }
        /// <summary>First list of text pairs of the request data.</summary>
        public IReadOnlyList<PopupStringPair> Pairs1 { get; }
        /// <summary>Second list of text pairs of the request data.</summary>
        public IReadOnlyList<PopupStringPair> Pairs2 { get; }
    }

    /// <summary>
    /// An identity verification: its outcome (<see cref="TesselRequest{R}.Answer"/>,
    /// what <c>await</c> gives), then its value.
    /// </summary>
    public sealed class IdentificationTasks : TesselRequest<TesselResult>
    {
        internal IdentificationTasks(Task<TesselResult> result, Task<TesselResult<string>> value) : base(result)
        {
            Value = value;
        }

        /// <summary>The former name of <see cref="TesselRequest{R}.Answer"/>.</summary>
        [Obsolete("Use Answer (or await the request itself).")]
        public Task<TesselResult> Result { get { return Answer; } }
        /// <summary>Completes with the verification value (code 33 and empty when the popup never opened); <see cref="IdentityVerification.Parse"/> reads it.</summary>
        public Task<TesselResult<string>> Value { get; }
    }

    /// <summary>
    /// Panora, the popup module: automatic, manual, news, coupon and identity
    /// popups, popup lists, suppression, the web open key.
    /// </summary>
    public static unsafe class Popups
    {
        /// <summary>Operation codes of Panora's requests.</summary>
        public static class Operations
        {
            /// <summary>FetchAutoPopups.</summary>
            public const uint FetchAutoPopups = 80;
            /// <summary>AutoPopup and AutoPopupEx.</summary>
            public const uint AutoPopup = 81;
            /// <summary>FetchManualPopups.</summary>
            public const uint FetchManualPopups = 82;
            /// <summary>ManualPopup and ManualPopupEx.</summary>
            public const uint ManualPopup = 83;
            /// <summary>FetchNewsPopups.</summary>
            public const uint FetchNewsPopups = 84;
            /// <summary>NewsPopup and NewsPopupEx.</summary>
            public const uint NewsPopup = 85;
            /// <summary>FetchCouponPopups.</summary>
            public const uint FetchCouponPopups = 86;
            /// <summary>CouponPopup and CouponPopupEx.</summary>
            public const uint CouponPopup = 87;
            /// <summary>VerifyIdentificationPopup.</summary>
            public const uint VerifyIdentificationPopup = 91;
            /// <summary>SetPopupDisallowed.</summary>
            public const uint SetPopupDisallowed = 160;
            /// <summary>CloseAllPopups.</summary>
            public const uint CloseAllPopups = 161;
            /// <summary>FetchWebOpenKey.</summary>
            public const uint FetchWebOpenKey = 162;
        }

        /// <summary>The kinds of popup a game can show.</summary>
        public enum Kind
        {
            /// <summary>The automatic popup.</summary>
            Auto,
            /// <summary>The manual popup of a key.</summary>
            Manual,
            /// <summary>The news popup.</summary>
            News,
            /// <summary>The coupon popup.</summary>
            Coupon
        }

        const string Module = "Panora";

        static readonly Func<IntPtr, Popup> MakePopup = p => new Popup((TesselPopup*)p);
        static readonly Func<IntPtr, PopupStringPair> MakePair = p => new PopupStringPair((TesselPopupStringPair*)p);
        static readonly Converter<PopupList> List = (ref RawAnswer raw) =>
        {
            var data = (TesselPopupRequestData*)raw.Data2;
            return new PopupList(
                Shared.List(raw.Data, raw.Count, sizeof(TesselPopup), MakePopup),
                data == null ? Array.Empty<PopupStringPair>() : Shared.List(data->pairs1, data->pairCount1, sizeof(TesselPopupStringPair), MakePair),
                data == null ? Array.Empty<PopupStringPair>() : Shared.List(data->pairs2, data->pairCount2, sizeof(TesselPopupStringPair), MakePair));
        };

        /// <summary>Initializes Panora, after <see cref="TesselPlatform.Initialize"/>.</summary>
        /// <returns>Success, AlreadyInitialized or NotInitialized.</returns>
        public static TesselResult Initialize()
        {
            return Results.ReadSync(PanoraNative.TesselAPI_ViewInitialize());
        }

        /// <summary>Initializes Panora for a game window.</summary>
        /// <param name="window">The game's window.</param>
        /// <returns>As <see cref="Initialize()"/>.</returns>
        public static TesselResult Initialize(WindowInfo window)
        {
            TesselWindowInfo info = window.ToNative();
            return Results.ReadSync(PanoraNative.TesselAPI_ViewInitializeWithWndInfo(ref info));
        }

        /// <summary>Initializes Panora for a <c>using</c> block (see <see cref="TesselScope"/>).</summary>
        /// <returns>The scope; its Dispose uninitializes Panora when it initialized Panora.</returns>
        /// <exception cref="TesselException">Initialize failed (other than AlreadyInitialized).</exception>
        public static TesselScope Open()
        {
            return TesselScope.Open(Module, Initialize, UnInitialize);
        }

        /// <summary>Initializes Panora for a game window for a <c>using</c> block (see <see cref="TesselScope"/>).</summary>
        /// <param name="window">The game's window.</param>
        /// <returns>The scope; its Dispose uninitializes Panora when it initialized Panora.</returns>
        /// <exception cref="TesselException">Initialize failed (other than AlreadyInitialized).</exception>
        public static TesselScope Open(WindowInfo window)
        {
            return TesselScope.Open(Module, () => Initialize(window), UnInitialize);
        }

        /// <summary>Uninitializes Panora.</summary>
        /// <returns>Success, or NotInitialized.</returns>
        public static TesselResult UnInitialize()
        {
            return Results.ReadSync(PanoraNative.TesselAPI_ViewUnInitialize());
        }

        /// <summary>The SDK's version text; any thread.</summary>
        /// <returns>The version in <see cref="TesselResult{T}.Data"/>.</returns>
        public static TesselResult<string> GetVersion()
        {
            return Shared.Version(PanoraNative.TesselAPI_ViewGetVersion);
        }

        /// <summary>Closes every popup the platform shows; their destroy notices follow on the pump.</summary>
        /// <returns>Success, or NotInitialized.</returns>
        public static TesselResult CloseAllPopups()
        {
            return Results.ReadSync(PanoraNative.TesselAPI_ViewCloseAllPopups());
        }

        /// <summary>Shows a popup; the callback hears code 0 once it is shown, 33 when it could not be created.</summary>
        /// <param name="kind">Which popup.</param>
        /// <param name="key">The manual popup's key (only for <see cref="Kind.Manual"/>, where it may not be null).</param>
        /// <param name="mode">Where it is shown.</param>
        /// <param name="callback">Receives the outcome.</param>
        /// <exception cref="ArgumentNullException">callback, or the key of a manual popup, is null.</exception>
        public static void Show(Kind kind, string key, WebViewMode mode, Action<TesselResult> callback)
        {
            Requests.NotNull(callback, "callback");
            SendShow(kind, key, mode, callback, null);
        }

        /// <summary>The task form of <see cref="Show(Kind, string, WebViewMode, Action{TesselResult})"/>.</summary>
        /// <param name="kind">Which popup.</param>
        /// <param name="key">The manual popup's key.</param>
        /// <param name="mode">Where it is shown.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult> ShowAsync(Kind kind, string key, WebViewMode mode,
                                                   CancellationToken cancellationToken = default(CancellationToken))
        {
            CheckKey(kind, key);
            return Callbacks.Async<TesselResult>(cancellationToken, cb => SendShow(kind, key, mode, cb, null));
        }

        /// <summary>Shows a popup and reports its end: onDestroy runs once, when it closes (or with code 33 right after the callback when it never opened).</summary>
        /// <param name="kind">Which popup.</param>
        /// <param name="key">The manual popup's key.</param>
        /// <param name="mode">Where it is shown.</param>
        /// <param name="callback">Receives the outcome.</param>
        /// <param name="onDestroy">Receives the destroy notice.</param>
        /// <exception cref="ArgumentNullException">A callback, or the key of a manual popup, is null.</exception>
        public static void ShowEx(Kind kind, string key, WebViewMode mode, Action<TesselResult> callback, Action<TesselResult> onDestroy)
        {
            Requests.NotNull(callback, "callback");
            Requests.NotNull(onDestroy, "onDestroy");
            SendShow(kind, key, mode, callback, onDestroy);
        }

        /// <summary>The task form of ShowEx.</summary>
        /// <param name="kind">Which popup.</param>
        /// <param name="key">The manual popup's key.</param>
        /// <param name="mode">Where it is shown.</param>
        /// <param name="cancellationToken">Cancels both tasks on the next pump.</param>
        /// <returns>The two tasks.</returns>
        public static PopupTasks<TesselResult> ShowExAsync(Kind kind, string key, WebViewMode mode,
                                                           CancellationToken cancellationToken = default(CancellationToken))
        {
            CheckKey(kind, key);
            return Shared.AsyncPopup<TesselResult>(cancellationToken, (cb, destroy) => SendShow(kind, key, mode, cb, destroy));
        }

        // A list fetch may be sent later, from the pump: its key is checked here, before anything is registered.
        static void CheckKey(Kind kind, string key)
        {
            if (kind != Kind.Manual) return;
            Requests.NotNull(key, "key");
            WideText.EncodedBytes(key, "key");
        }

        static void SendShow(Kind kind, string key, WebViewMode mode, Action<TesselResult> callback, Action<TesselResult> onDestroy)
        {
            CheckKey(kind, key);
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            IntPtr context = IntPtr.Zero;
            IntPtr destroyContext = IntPtr.Zero;
            try
            {
                IntPtr nativeKey = kind == Kind.Manual ? texts.Add(key, "key") : IntPtr.Zero;
                uint operation = kind == Kind.Auto ? Operations.AutoPopup
                               : kind == Kind.Manual ? Operations.ManualPopup
                               : kind == Kind.News ? Operations.NewsPopup : Operations.CouponPopup;
                context = Requests.Register<bool>(operation, Module, callback, Requests.NoData);
                ResultCallback done = Trampolines.Result;
                if (onDestroy == null)
                {
                    switch (kind)
                    {
                    case Kind.Auto: PanoraNative.TesselAPI_AutoPopup((int)mode, done, context); break;
                    case Kind.Manual: PanoraNative.TesselAPI_ManualPopup(nativeKey, (int)mode, done, context); break;
                    case Kind.News: PanoraNative.TesselAPI_NewsPopup((int)mode, done, context); break;
                    default: PanoraNative.TesselAPI_CouponPopup((int)mode, done, context); break;
                    }
                }
                else
                {
                    destroyContext = Requests.RegisterSecond<bool>(context, operation, Module, onDestroy, Requests.NoData);
                    switch (kind)
                    {
                    case Kind.Auto: PanoraNative.TesselAPI_AutoPopupEx((int)mode, done, done, context, destroyContext); break;
                    case Kind.Manual: PanoraNative.TesselAPI_ManualPopupEx(nativeKey, (int)mode, done, done, context, destroyContext); break;
                    case Kind.News: PanoraNative.TesselAPI_NewsPopupEx((int)mode, done, done, context, destroyContext); break;
                    default: PanoraNative.TesselAPI_CouponPopupEx((int)mode, done, done, context, destroyContext); break;
                    }
                }
                context = destroyContext = IntPtr.Zero;
            }
            finally
            {
                if (context != IntPtr.Zero) Requests.Unsent(context);
                if (destroyContext != IntPtr.Zero) Requests.Unsent(destroyContext);
                texts.Dispose();
            }
        }

        /// <summary>
        /// Shows the identity verification popup: the callback hears the
        /// outcome, then valueCallback the verification value (code 33 and an
        /// empty value when the popup never opened).
        /// </summary>
        /// <param name="flag">Passed to the platform unchanged.</param>
        /// <param name="mode">Where it is shown.</param>
        /// <param name="callback">Receives the outcome.</param>
        /// <param name="valueCallback">Receives the value.</param>
        /// <exception cref="ArgumentNullException">A callback is null.</exception>
        public static void VerifyIdentification(bool flag, WebViewMode mode, Action<TesselResult> callback,
                                                Action<TesselResult<string>> valueCallback)
        {
            Requests.NotNull(callback, "callback");
            Requests.NotNull(valueCallback, "valueCallback");
            IntPtr context = Requests.Register<bool>(Operations.VerifyIdentificationPopup, Module, callback, Requests.NoData);
            IntPtr valueContext = IntPtr.Zero;
            try
            {
                valueContext = Requests.RegisterSecond(context, Operations.VerifyIdentificationPopup, Module, valueCallback, Requests.OneText);
                PanoraNative.TesselAPI_VerifyIdentificationPopup(flag ? (byte)1 : (byte)0, (int)mode, Trampolines.Result,
                                                                 Trampolines.Text, context, valueContext);
                context = valueContext = IntPtr.Zero;
            }
            finally
            {
                if (context != IntPtr.Zero) Requests.Unsent(context);
                if (valueContext != IntPtr.Zero) Requests.Unsent(valueContext);
            }
        }

        /// <summary>The task form of VerifyIdentification.</summary>
        /// <param name="flag">Passed to the platform unchanged.</param>
        /// <param name="mode">Where it is shown.</param>
        /// <param name="cancellationToken">Cancels both tasks on the next pump.</param>
        /// <returns>The outcome's task and the value's task.</returns>
        public static IdentificationTasks VerifyIdentificationAsync(bool flag, WebViewMode mode,
                                                                    CancellationToken cancellationToken = default(CancellationToken))
        {
            Task<TesselResult<string>> value;
            Task<TesselResult> result = Shared.AsyncPair<TesselResult, TesselResult<string>>(
                cancellationToken, (cb, valueCb) => VerifyIdentification(flag, mode, cb, valueCb), out value);
            return new IdentificationTasks(result, value);
        }

        /// <summary>
        /// Fetches the list of popups of a kind. The platform answers once,
        /// from the pump (NotInitialized with an empty list when it is not
        /// initialized). Panora's own state is not checked: with the platform
        /// initialized the list is fetched even while Panora is not. List fetches carry no context: one fetch of a kind is
        /// sent at a time, the next once the answer before it has arrived, so
        /// each answer reaches its own request.
        /// </summary>
        /// <param name="kind">Which list.</param>
        /// <param name="key">The manual popups' key (only for <see cref="Kind.Manual"/>, not null there).</param>
        /// <param name="callback">Receives the list.</param>
        /// <exception cref="ArgumentNullException">callback, or the key of the manual list, is null.</exception>
        public static void FetchList(Kind kind, string key, Action<TesselResult<PopupList>> callback)
        {
            Requests.NotNull(callback, "callback");
            CheckKey(kind, key);
            uint operation = kind == Kind.Auto ? Operations.FetchAutoPopups
                           : kind == Kind.Manual ? Operations.FetchManualPopups
                           : kind == Kind.News ? Operations.FetchNewsPopups : Operations.FetchCouponPopups;
            var request = new Pending<PopupList>(operation, Module, callback, List);
            request.Send = () => SendFetch(kind, key);
            PendingTable.RegisterContextless(request);
            PendingTable.SendContextless(operation, request, !TesselPlatform.Pumping);
        }

        static void SendFetch(Kind kind, string key)
        {
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            try
            {
                switch (kind)
                {
                case Kind.Auto: PanoraNative.TesselAPI_FetchAutoPopup(Trampolines.PopupFetch); break;
                case Kind.Manual: PanoraNative.TesselAPI_FetchManualPopup(texts.Add(key, "key"), Trampolines.PopupFetch); break;
                case Kind.News: PanoraNative.TesselAPI_FetchNewsPopup(Trampolines.PopupFetch); break;
                default: PanoraNative.TesselAPI_FetchCouponPopup(Trampolines.PopupFetch); break;
                }
            }
            finally
            {
                texts.Dispose();
            }
        }

        /// <summary>The task form of <see cref="FetchList(Kind, string, Action{TesselResult{PopupList}})"/>.</summary>
        /// <param name="kind">Which list.</param>
        /// <param name="key">The manual popups' key.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<PopupList>> FetchListAsync(Kind kind, string key,
                                                                   CancellationToken cancellationToken = default(CancellationToken))
        {
            CheckKey(kind, key);
            return Callbacks.Async<TesselResult<PopupList>>(cancellationToken, cb => FetchList(kind, key, cb));
        }

        /// <summary>Suppresses a popup for a number of days.</summary>
        /// <param name="popupId">The popup's id.</param>
        /// <param name="days">Days to suppress it.</param>
        /// <param name="callback">Receives the outcome.</param>
        /// <exception cref="ArgumentNullException"><paramref name="callback"/> is null.</exception>
        public static void SetPopupDisallowed(uint popupId, uint days, Action<TesselResult> callback)
        {
            Requests.NotNull(callback, "callback");
            Requests.Send<bool, ResultCallback>(Operations.SetPopupDisallowed, Module, callback, Requests.NoData, Trampolines.Result,
                (trampoline, context) =>
                {
                    var param = new TesselPopupDisallowedParams { popupId = popupId, days = days };
                    PanoraNative.TesselAPI_SetPopupDisallowed(ref param, trampoline, context);
                });
        }

        /// <summary>The task form of <see cref="SetPopupDisallowed(uint, uint, Action{TesselResult})"/>.</summary>
        /// <param name="popupId">The popup's id.</param>
        /// <param name="days">Days to suppress it.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult> SetPopupDisallowedAsync(uint popupId, uint days,
                                                                 CancellationToken cancellationToken = default(CancellationToken))
        {
            return Callbacks.Async<TesselResult>(cancellationToken, cb => SetPopupDisallowed(popupId, days, cb));
        }

        /// <summary>Fetches the web open key (empty on failure).</summary>
        /// <param name="callback">Receives the key.</param>
        /// <exception cref="ArgumentNullException"><paramref name="callback"/> is null.</exception>
        public static void FetchWebOpenKey(Action<TesselResult<string>> callback)
        {
            Requests.NotNull(callback, "callback");
            Requests.Send(Operations.FetchWebOpenKey, Module, callback, Requests.OneText, Trampolines.Text, PanoraNative.TesselAPI_FetchWebOpenKey);
        }

        /// <summary>The task form of <see cref="FetchWebOpenKey(Action{TesselResult{string}})"/>.</summary>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<string>> FetchWebOpenKeyAsync(CancellationToken cancellationToken = default(CancellationToken))
        {
            return Callbacks.Async<TesselResult<string>>(cancellationToken, FetchWebOpenKey);
        }
    }
}
