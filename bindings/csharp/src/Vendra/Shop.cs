using System;
using System.Collections.Generic;
using System.Threading;
using System.Threading.Tasks;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK.Vendra
{
    /// <summary>
    /// Vendra, the purchase module: shop, purchases, payments, inventory,
    /// terms, voided purchases, withdrawal. Every request answers exactly
    /// once, from <see cref="TesselPlatform.RunCallbacks"/>; its data is the
    /// game's own copy.
    /// </summary>
    public static unsafe class Shop
    {
        /// <summary>Operation codes of Vendra's requests (<see cref="TesselResult.OperationCode"/>).</summary>
        public static class Operations
        {
            /// <summary>FetchShopCategories.</summary>
            public const uint FetchShopCategories = 80;
            /// <summary>FetchProducts and FetchProductsEx.</summary>
            public const uint FetchProducts = 81;
            /// <summary>StartPurchase and StartPurchaseEx.</summary>
            public const uint StartPurchase = 82;
            /// <summary>ConfirmPurchase.</summary>
            public const uint ConfirmPurchase = 83;
            /// <summary>FetchInventory.</summary>
            public const uint FetchInventory = 84;
            /// <summary>FetchTermsAgreement and FetchTermsAgreementEx.</summary>
            public const uint FetchTermsAgreement = 85;
            /// <summary>StartPayment and StartPaymentEx.</summary>
            public const uint StartPayment = 86;
            /// <summary>FetchVoidedPurchases.</summary>
            public const uint FetchVoidedPurchases = 87;
            /// <summary>CloseAllPopups.</summary>
            public const uint CloseAllPopups = 88;
            /// <summary>WithdrawGame.</summary>
            public const uint WithdrawGame = 89;
        }

        const string Module = "Vendra";

        static readonly Func<IntPtr, ShopCategory> MakeCategory = p => new ShopCategory((TesselShopCategory*)p);
        static readonly Func<IntPtr, Product> MakeProduct = p => new Product((TesselProduct*)p, 0);
        static readonly Func<IntPtr, Product> MakeProductEx =
            p => new Product(&((TesselProductEx*)p)->product, ((TesselProductEx*)p)->purchaseAvailabilityCode);
        static readonly Func<IntPtr, InventoryItem> MakeItem = p => new InventoryItem((TesselInventoryItem*)p);
        static readonly Func<IntPtr, VoidedPurchase> MakeVoided = p => new VoidedPurchase((TesselVoidedPurchase*)p);

        static readonly Converter<IReadOnlyList<ShopCategory>> Categories =
            (ref RawAnswer raw) => Shared.List(raw.Data, raw.Count, sizeof(TesselShopCategory), MakeCategory);
        static readonly Converter<IReadOnlyList<Product>> Products =
            (ref RawAnswer raw) => Shared.List(raw.Data, raw.Count, sizeof(TesselProduct), MakeProduct);
        static readonly Converter<IReadOnlyList<Product>> ProductsEx =
            (ref RawAnswer raw) => Shared.List(raw.Data, raw.Count, sizeof(TesselProductEx), MakeProductEx);
        static readonly Converter<IReadOnlyList<InventoryItem>> Inventory =
            (ref RawAnswer raw) => Shared.List(raw.Data, raw.Count, sizeof(TesselInventoryItem), MakeItem);
        static readonly Converter<IReadOnlyList<VoidedPurchase>> Voided =
            (ref RawAnswer raw) => Shared.List(raw.Data, raw.Count, sizeof(TesselVoidedPurchase), MakeVoided);
        static readonly Converter<PurchaseResult> Purchase = (ref RawAnswer raw) =>
            raw.Data == IntPtr.Zero ? PurchaseResult.Empty : new PurchaseResult((TesselPurchaseResult*)raw.Data);
        static readonly Converter<PurchaseConfirmation> Confirmation = (ref RawAnswer raw) =>
            new PurchaseConfirmation(raw.Flag != 0, VendraLists.PurchasedProducts(raw.Data, raw.Count),
                                     VendraLists.Charges(raw.Data2, raw.Count2));
        static readonly Converter<TermsAgreement> Terms =
            (ref RawAnswer raw) => new TermsAgreement(raw.Flag != 0, Requests.OneText(ref raw));

        // --- Initialization ---------------------------------------------------------

        /// <summary>Initializes Vendra, after <see cref="TesselPlatform.Initialize"/>.</summary>
        /// <param name="storeId">The store's id.</param>
        /// <returns>Success, AlreadyInitialized or NotInitialized.</returns>
        /// <exception cref="ArgumentNullException"><paramref name="storeId"/> is null.</exception>
        public static TesselResult Initialize(string storeId)
        {
            Requests.NotNull(storeId, "storeId");
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            try
            {
                return Results.ReadSync(VendraNative.TesselAPI_IAPInitialize(texts.Add(storeId, "storeId")));
            }
            finally
            {
                texts.Dispose();
            }
        }

        /// <summary>Initializes Vendra for a game window.</summary>
        /// <param name="storeId">The store's id.</param>
        /// <param name="window">The game's window.</param>
        /// <returns>As <see cref="Initialize(string)"/>.</returns>
        /// <exception cref="ArgumentNullException"><paramref name="storeId"/> is null.</exception>
        public static TesselResult Initialize(string storeId, WindowInfo window)
        {
            Requests.NotNull(storeId, "storeId");
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            try
            {
                TesselWindowInfo info = window.ToNative();
                return Results.ReadSync(VendraNative.TesselAPI_IAPInitializeWithWndInfo(texts.Add(storeId, "storeId"), ref info));
            }
            finally
            {
                texts.Dispose();
            }
        }

        /// <summary>Initializes Vendra for a <c>using</c> block (see <see cref="TesselScope"/>).</summary>
        /// <param name="storeId">As for <see cref="Initialize(string)"/>.</param>
        /// <returns>The scope; its Dispose uninitializes Vendra when it initialized Vendra.</returns>
        /// <exception cref="TesselException">Initialize failed (other than AlreadyInitialized).</exception>
        public static TesselScope Open(string storeId)
        {
            return TesselScope.Open(Module, () => Initialize(storeId), UnInitialize);
        }

        /// <summary>Initializes Vendra for a game window for a <c>using</c> block (see <see cref="TesselScope"/>).</summary>
        /// <param name="storeId">As for <see cref="Initialize(string)"/>.</param>
        /// <param name="window">The game's window.</param>
        /// <returns>The scope; its Dispose uninitializes Vendra when it initialized Vendra.</returns>
        /// <exception cref="TesselException">Initialize failed (other than AlreadyInitialized).</exception>
        public static TesselScope Open(string storeId, WindowInfo window)
        {
            return TesselScope.Open(Module, () => Initialize(storeId, window), UnInitialize);
        }

        /// <summary>Uninitializes Vendra; later requests answer NotInitialized.</summary>
        /// <returns>Success, or NotInitialized when it was not initialized.</returns>
        public static TesselResult UnInitialize()
        {
            return Results.ReadSync(VendraNative.TesselAPI_IAPUnInitialize());
        }

        /// <summary>The SDK's version text; any thread.</summary>
        /// <returns>The version in <see cref="TesselResult{T}.Data"/>.</returns>
        public static TesselResult<string> GetVersion()
        {
            return Shared.Version(VendraNative.TesselAPI_IAPGetVersion);
        }

        /// <summary>Closes every popup the platform shows; their destroy notices follow on the pump.</summary>
        /// <returns>Success, or NotInitialized.</returns>
        public static TesselResult CloseAllPopups()
        {
            return Results.ReadSync(VendraNative.TesselAPI_IAPCloseAllPopups());
        }

        // --- Catalog -------------------------------------------------------------------

        /// <summary>Fetches the shop's categories.</summary>
        /// <param name="callback">Receives the categories.</param>
        /// <exception cref="ArgumentNullException"><paramref name="callback"/> is null.</exception>
        public static void FetchShopCategories(Action<TesselResult<IReadOnlyList<ShopCategory>>> callback)
        {
            Requests.NotNull(callback, "callback");
            Requests.Send(Operations.FetchShopCategories, Module, callback, Categories, Trampolines.List,
                          VendraNative.TesselAPI_FetchShopCategories);
        }

        /// <summary>The task form of <see cref="FetchShopCategories(Action{TesselResult{IReadOnlyList{ShopCategory}}})"/>.</summary>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<IReadOnlyList<ShopCategory>>> FetchShopCategoriesAsync(
            CancellationToken cancellationToken = default(CancellationToken))
        {
            return Callbacks.Async<TesselResult<IReadOnlyList<ShopCategory>>>(cancellationToken, FetchShopCategories);
        }

        /// <summary>Fetches one product page.</summary>
        /// <param name="categoryId">The category; empty for every category.</param>
        /// <param name="pageNumber">Page to fetch, from 1.</param>
        /// <param name="pageSize">Products per page, at least 1 (the platform refuses less).</param>
        /// <param name="callback">Receives the products.</param>
        /// <exception cref="ArgumentNullException">An argument is null.</exception>
        public static void FetchProducts(string categoryId, int pageNumber, int pageSize,
                                         Action<TesselResult<IReadOnlyList<Product>>> callback)
        {
            FetchPage(categoryId, pageNumber, pageSize, callback, false);
        }

        /// <summary>The task form of <see cref="FetchProducts(string, int, int, Action{TesselResult{IReadOnlyList{Product}}})"/>.</summary>
        /// <param name="categoryId">The category; empty for every category.</param>
        /// <param name="pageNumber">Page to fetch, from 1.</param>
        /// <param name="pageSize">Products per page.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<IReadOnlyList<Product>>> FetchProductsAsync(string categoryId, int pageNumber, int pageSize,
            CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(categoryId, "categoryId");
            return Callbacks.Async<TesselResult<IReadOnlyList<Product>>>(
                cancellationToken, cb => FetchPage(categoryId, pageNumber, pageSize, cb, false));
        }

        /// <summary>Fetches one product page with each product's <see cref="Product.PurchaseAvailabilityCode"/>.</summary>
        /// <param name="categoryId">The category; empty for every category.</param>
        /// <param name="pageNumber">Page to fetch, from 1.</param>
        /// <param name="pageSize">Products per page.</param>
        /// <param name="callback">Receives the products.</param>
        /// <exception cref="ArgumentNullException">An argument is null.</exception>
        public static void FetchProductsEx(string categoryId, int pageNumber, int pageSize,
                                           Action<TesselResult<IReadOnlyList<Product>>> callback)
        {
            FetchPage(categoryId, pageNumber, pageSize, callback, true);
        }

        /// <summary>The task form of <see cref="FetchProductsEx(string, int, int, Action{TesselResult{IReadOnlyList{Product}}})"/>.</summary>
        /// <param name="categoryId">The category; empty for every category.</param>
        /// <param name="pageNumber">Page to fetch, from 1.</param>
        /// <param name="pageSize">Products per page.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<IReadOnlyList<Product>>> FetchProductsExAsync(string categoryId, int pageNumber, int pageSize,
            CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(categoryId, "categoryId");
            return Callbacks.Async<TesselResult<IReadOnlyList<Product>>>(
                cancellationToken, cb => FetchPage(categoryId, pageNumber, pageSize, cb, true));
        }

        static void FetchPage(string categoryId, int pageNumber, int pageSize,
                              Action<TesselResult<IReadOnlyList<Product>>> callback, bool withAvailability)
        {
            Requests.NotNull(categoryId, "categoryId");
            Requests.NotNull(callback, "callback");
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            IntPtr context = IntPtr.Zero;
            try
            {
                var param = new TesselFetchProductParam
                {
                    categoryId = texts.Add(categoryId, "categoryId"), pageNumber = pageNumber, pageSize = pageSize
                };
                context = Requests.Register(Operations.FetchProducts, Module, callback, withAvailability ? ProductsEx : Products);
                if (withAvailability) VendraNative.TesselAPI_FetchProductsEx(ref param, Trampolines.List, context);
                else VendraNative.TesselAPI_FetchProducts(ref param, Trampolines.List, context);
                context = IntPtr.Zero;
            }
            finally
            {
                if (context != IntPtr.Zero) Requests.Unsent(context);
                texts.Dispose();
            }
        }

        // --- Purchases and payments ---------------------------------------------------------

        /// <summary>Starts a purchase; the platform may open its purchase window.</summary>
        /// <param name="orders">What to buy.</param>
        /// <param name="options">How the window is shown.</param>
        /// <param name="serviceTxnNo">The game's own transaction number; null reads as empty.</param>
        /// <param name="extraData">The game's extra data, passed through; null reads as empty.</param>
        /// <param name="callback">Receives the purchase.</param>
        /// <exception cref="ArgumentNullException">orders, options or callback is null.</exception>
        public static void StartPurchase(IReadOnlyList<OrderProduct> orders, WindowOptions options, string serviceTxnNo,
                                         string extraData, Action<TesselResult<PurchaseResult>> callback)
        {
            Requests.NotNull(callback, "callback");
            SendPurchase(orders, options, serviceTxnNo, extraData, callback, null);
        }

        /// <summary>The task form of StartPurchase.</summary>
        /// <param name="orders">What to buy.</param>
        /// <param name="options">How the window is shown.</param>
        /// <param name="serviceTxnNo">The game's own transaction number.</param>
        /// <param name="extraData">The game's extra data.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<PurchaseResult>> StartPurchaseAsync(IReadOnlyList<OrderProduct> orders, WindowOptions options,
            string serviceTxnNo, string extraData, CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(orders, "orders");
            Requests.NotNull(options, "options");
            return Callbacks.Async<TesselResult<PurchaseResult>>(
                cancellationToken, cb => SendPurchase(orders, options, serviceTxnNo, extraData, cb, null));
        }

        /// <summary>Starts a purchase and reports the end of its window (code 33 when it never opened).</summary>
        /// <param name="orders">What to buy.</param>
        /// <param name="options">How the window is shown.</param>
        /// <param name="serviceTxnNo">The game's own transaction number.</param>
        /// <param name="extraData">The game's extra data.</param>
        /// <param name="callback">Receives the purchase.</param>
        /// <param name="onDestroy">Receives the window's end, after the callback.</param>
        /// <exception cref="ArgumentNullException">An argument other than the texts is null.</exception>
        public static void StartPurchaseEx(IReadOnlyList<OrderProduct> orders, WindowOptions options, string serviceTxnNo,
                                           string extraData, Action<TesselResult<PurchaseResult>> callback,
                                           Action<TesselResult> onDestroy)
        {
            Requests.NotNull(callback, "callback");
            Requests.NotNull(onDestroy, "onDestroy");
            SendPurchase(orders, options, serviceTxnNo, extraData, callback, onDestroy);
        }

        /// <summary>The task form of StartPurchaseEx: a task for the result and one for the window's end.</summary>
        /// <param name="orders">What to buy.</param>
        /// <param name="options">How the window is shown.</param>
        /// <param name="serviceTxnNo">The game's own transaction number.</param>
        /// <param name="extraData">The game's extra data.</param>
        /// <param name="cancellationToken">Cancels both tasks on the next pump.</param>
        /// <returns>The two tasks.</returns>
        public static PopupTasks<TesselResult<PurchaseResult>> StartPurchaseExAsync(IReadOnlyList<OrderProduct> orders,
            WindowOptions options, string serviceTxnNo, string extraData,
            CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(orders, "orders");
            Requests.NotNull(options, "options");
            return Shared.AsyncPopup<TesselResult<PurchaseResult>>(
                cancellationToken, (cb, destroy) => SendPurchase(orders, options, serviceTxnNo, extraData, cb, destroy));
        }

        static void SendPurchase(IReadOnlyList<OrderProduct> orders, WindowOptions options, string serviceTxnNo, string extraData,
                                 Action<TesselResult<PurchaseResult>> callback, Action<TesselResult> onDestroy)
        {
            Requests.NotNull(orders, "orders");
            Requests.NotNull(options, "options");
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            IntPtr lines = IntPtr.Zero;
            IntPtr context = IntPtr.Zero;
            IntPtr destroyContext = IntPtr.Zero;
            try
            {
                if (orders.Count > 0)
                {
                    lines = System.Runtime.InteropServices.Marshal.AllocHGlobal(orders.Count * sizeof(TesselOrderProduct));
                    var line = (TesselOrderProduct*)lines;
                    for (int i = 0; i < orders.Count; ++i)
                    {
                        line[i] = new TesselOrderProduct
                        {
                            productId = orders[i].ProductId, salePrice = orders[i].SalePrice, quantity = orders[i].Quantity
                        };
                    }
                }
                var param = new TesselStartPurchaseParam
                {
                    orderProducts = lines, orderProductCount = (uint)orders.Count, purchaseOption = options.ToNative(),
                    serviceTxnNo = texts.Add(serviceTxnNo, "serviceTxnNo"), extraData = texts.Add(extraData, "extraData")
                };
                context = Requests.Register(Operations.StartPurchase, Module, callback, Purchase);
                if (onDestroy == null)
                {
                    VendraNative.TesselAPI_StartPurchase(ref param, Trampolines.Purchase, context);
                }
                else
                {
                    destroyContext = Requests.RegisterSecond<bool>(context, Operations.StartPurchase, Module, onDestroy, Requests.NoData);
                    VendraNative.TesselAPI_StartPurchaseEx(ref param, Trampolines.Purchase, Trampolines.Result, context, destroyContext);
                }
                context = destroyContext = IntPtr.Zero;
            }
            finally
            {
                if (context != IntPtr.Zero) Requests.Unsent(context);
                if (destroyContext != IntPtr.Zero) Requests.Unsent(destroyContext);
                if (lines != IntPtr.Zero) System.Runtime.InteropServices.Marshal.FreeHGlobal(lines);
                texts.Dispose();
            }
        }

        /// <summary>Asks whether a purchase is complete.</summary>
        /// <param name="transactionMasterNumber">The purchase (<see cref="PurchaseResult.TransactionMasterNumber"/>).</param>
        /// <param name="callback">Receives the confirmation.</param>
        /// <exception cref="ArgumentNullException"><paramref name="callback"/> is null.</exception>
        public static void ConfirmPurchase(long transactionMasterNumber, Action<TesselResult<PurchaseConfirmation>> callback)
        {
            Requests.NotNull(callback, "callback");
            Requests.Send(Operations.ConfirmPurchase, Module, callback, Confirmation, Trampolines.ConfirmPurchase,
                          (trampoline, context) => VendraNative.TesselAPI_ConfirmPurchase(transactionMasterNumber, trampoline, context));
        }

        /// <summary>The task form of <see cref="ConfirmPurchase(long, Action{TesselResult{PurchaseConfirmation}})"/>.</summary>
        /// <param name="transactionMasterNumber">The purchase.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<PurchaseConfirmation>> ConfirmPurchaseAsync(long transactionMasterNumber,
            CancellationToken cancellationToken = default(CancellationToken))
        {
            return Callbacks.Async<TesselResult<PurchaseConfirmation>>(cancellationToken, cb => ConfirmPurchase(transactionMasterNumber, cb));
        }

        /// <summary>Opens the payment window; the answer carries the payment text.</summary>
        /// <param name="options">How the window is shown.</param>
        /// <param name="callback">Receives the payment text (empty on failure).</param>
        /// <exception cref="ArgumentNullException">An argument is null.</exception>
        public static void StartPayment(WindowOptions options, Action<TesselResult<string>> callback)
        {
            Requests.NotNull(callback, "callback");
            SendWindowRequest(Kind.Payment, options, callback, null);
        }

        /// <summary>The task form of <see cref="StartPayment(WindowOptions, Action{TesselResult{string}})"/>.</summary>
        /// <param name="options">How the window is shown.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<string>> StartPaymentAsync(WindowOptions options,
            CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(options, "options");
            return Callbacks.Async<TesselResult<string>>(cancellationToken, cb => SendWindowRequest(Kind.Payment, options, cb, null));
        }

        /// <summary>Opens the payment window and reports its end.</summary>
        /// <param name="options">How the window is shown.</param>
        /// <param name="callback">Receives the payment text.</param>
        /// <param name="onDestroy">Receives the window's end, after the callback.</param>
        /// <exception cref="ArgumentNullException">An argument is null.</exception>
        public static void StartPaymentEx(WindowOptions options, Action<TesselResult<string>> callback, Action<TesselResult> onDestroy)
        {
            Requests.NotNull(callback, "callback");
            Requests.NotNull(onDestroy, "onDestroy");
            SendWindowRequest(Kind.Payment, options, callback, onDestroy);
        }

        /// <summary>The task form of StartPaymentEx.</summary>
        /// <param name="options">How the window is shown.</param>
        /// <param name="cancellationToken">Cancels both tasks on the next pump.</param>
        /// <returns>The two tasks.</returns>
        public static PopupTasks<TesselResult<string>> StartPaymentExAsync(WindowOptions options,
            CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(options, "options");
            return Shared.AsyncPopup<TesselResult<string>>(cancellationToken,
                                                           (cb, destroy) => SendWindowRequest(Kind.Payment, options, cb, destroy));
        }

        // --- Inventory, terms, voided purchases, withdrawal ----------------------------------

        /// <summary>Fetches the player's inventory.</summary>
        /// <param name="callback">Receives the items.</param>
        /// <exception cref="ArgumentNullException"><paramref name="callback"/> is null.</exception>
        public static void FetchInventory(Action<TesselResult<IReadOnlyList<InventoryItem>>> callback)
        {
            Requests.NotNull(callback, "callback");
            Requests.Send(Operations.FetchInventory, Module, callback, Inventory, Trampolines.List, VendraNative.TesselAPI_FetchInventory);
        }

        /// <summary>The task form of <see cref="FetchInventory(Action{TesselResult{IReadOnlyList{InventoryItem}}})"/>.</summary>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<IReadOnlyList<InventoryItem>>> FetchInventoryAsync(
            CancellationToken cancellationToken = default(CancellationToken))
        {
            return Callbacks.Async<TesselResult<IReadOnlyList<InventoryItem>>>(cancellationToken, FetchInventory);
        }

        /// <summary>Shows the terms and asks for agreement.</summary>
        /// <param name="options">How the window is shown.</param>
        /// <param name="callback">Receives the agreement and the terms.</param>
        /// <exception cref="ArgumentNullException">An argument is null.</exception>
        public static void FetchTermsAgreement(WindowOptions options, Action<TesselResult<TermsAgreement>> callback)
        {
            Requests.NotNull(callback, "callback");
            SendWindowRequest(Kind.Terms, options, callback, null);
        }

        /// <summary>The task form of <see cref="FetchTermsAgreement(WindowOptions, Action{TesselResult{TermsAgreement}})"/>.</summary>
        /// <param name="options">How the window is shown.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<TermsAgreement>> FetchTermsAgreementAsync(WindowOptions options,
            CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(options, "options");
            return Callbacks.Async<TesselResult<TermsAgreement>>(cancellationToken, cb => SendWindowRequest(Kind.Terms, options, cb, null));
        }

        /// <summary>Shows the terms and reports the end of their window.</summary>
        /// <param name="options">How the window is shown.</param>
        /// <param name="callback">Receives the agreement and the terms.</param>
        /// <param name="onDestroy">Receives the window's end, after the callback.</param>
        /// <exception cref="ArgumentNullException">An argument is null.</exception>
        public static void FetchTermsAgreementEx(WindowOptions options, Action<TesselResult<TermsAgreement>> callback,
                                                 Action<TesselResult> onDestroy)
        {
            Requests.NotNull(callback, "callback");
            Requests.NotNull(onDestroy, "onDestroy");
            SendWindowRequest(Kind.Terms, options, callback, onDestroy);
        }

        /// <summary>The task form of FetchTermsAgreementEx.</summary>
        /// <param name="options">How the window is shown.</param>
        /// <param name="cancellationToken">Cancels both tasks on the next pump.</param>
        /// <returns>The two tasks.</returns>
        public static PopupTasks<TesselResult<TermsAgreement>> FetchTermsAgreementExAsync(WindowOptions options,
            CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(options, "options");
            return Shared.AsyncPopup<TesselResult<TermsAgreement>>(cancellationToken,
                                                                   (cb, destroy) => SendWindowRequest(Kind.Terms, options, cb, destroy));
        }

        /// <summary>Fetches the player's voided purchases.</summary>
        /// <param name="callback">Receives the purchases.</param>
        /// <exception cref="ArgumentNullException"><paramref name="callback"/> is null.</exception>
        public static void FetchVoidedPurchases(Action<TesselResult<IReadOnlyList<VoidedPurchase>>> callback)
        {
            Requests.NotNull(callback, "callback");
            Requests.Send(Operations.FetchVoidedPurchases, Module, callback, Voided, Trampolines.List,
                          VendraNative.TesselAPI_FetchVoidedPurchases);
        }

        /// <summary>The task form of <see cref="FetchVoidedPurchases(Action{TesselResult{IReadOnlyList{VoidedPurchase}}})"/>.</summary>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<IReadOnlyList<VoidedPurchase>>> FetchVoidedPurchasesAsync(
            CancellationToken cancellationToken = default(CancellationToken))
        {
            return Callbacks.Async<TesselResult<IReadOnlyList<VoidedPurchase>>>(cancellationToken, FetchVoidedPurchases);
        }

        /// <summary>Opens the game withdrawal window; the answer says whether the player withdrew.</summary>
        /// <param name="options">How the window is shown (<see cref="WindowOptions.Operation"/> is not used).</param>
        /// <param name="callback">Receives the outcome.</param>
        /// <param name="onDestroy">Receives the window's end, after the callback.</param>
        /// <exception cref="ArgumentNullException">An argument is null.</exception>
        public static void WithdrawGame(WindowOptions options, Action<TesselResult<bool>> callback, Action<TesselResult> onDestroy)
        {
            Requests.NotNull(callback, "callback");
            Requests.NotNull(onDestroy, "onDestroy");
            SendWindowRequest(Kind.Withdraw, options, callback, onDestroy);
        }

        /// <summary>The task form of WithdrawGame.</summary>
        /// <param name="options">How the window is shown.</param>
        /// <param name="cancellationToken">Cancels both tasks on the next pump.</param>
        /// <returns>The two tasks.</returns>
        public static PopupTasks<TesselResult<bool>> WithdrawGameAsync(WindowOptions options,
            CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(options, "options");
            return Shared.AsyncPopup<TesselResult<bool>>(cancellationToken,
                                                         (cb, destroy) => SendWindowRequest(Kind.Withdraw, options, cb, destroy));
        }

        enum Kind { Payment, Terms, Withdraw }

        // Payment, terms and withdrawal: a window option, a result, an optional destroy notice.
        static void SendWindowRequest<T>(Kind kind, WindowOptions options, Action<TesselResult<T>> callback,
                                         Action<TesselResult> onDestroy)
        {
            Requests.NotNull(options, "options");
            IntPtr context = IntPtr.Zero;
            IntPtr destroyContext = IntPtr.Zero;
            try
            {
                TesselPurchaseOption option = options.ToNative();
                uint operation = kind == Kind.Payment ? Operations.StartPayment
                               : kind == Kind.Terms ? Operations.FetchTermsAgreement : Operations.WithdrawGame;
                Converter<T> convert = (Converter<T>)(kind == Kind.Payment ? (object)Requests.OneText
                                                    : kind == Kind.Terms ? (object)Terms : (object)Requests.OneFlag);
                context = Requests.Register(operation, Module, callback, convert);
                if (onDestroy != null)
                {
                    destroyContext = Requests.RegisterSecond<bool>(context, operation, Module, onDestroy, Requests.NoData);
                }
                switch (kind)
                {
                case Kind.Payment:
                    if (onDestroy == null) VendraNative.TesselAPI_StartPayment(ref option, Trampolines.Text, context);
                    else VendraNative.TesselAPI_StartPaymentEx(ref option, Trampolines.Text, Trampolines.Result, context, destroyContext);
                    break;
                case Kind.Terms:
                    if (onDestroy == null) VendraNative.TesselAPI_FetchTermsAgreement(ref option, Trampolines.FlagText, context);
                    else VendraNative.TesselAPI_FetchTermsAgreementEx(ref option, Trampolines.FlagText, Trampolines.Result, context, destroyContext);
                    break;
                default:
                    var withdraw = new TesselWithdrawGameOptionParams
                    {
                        webviewMode = option.webviewMode, x = option.x, y = option.y, width = option.width, height = option.height
                    };
                    VendraNative.TesselAPI_WithdrawGame(ref withdraw, Trampolines.Flag, Trampolines.Result, context, destroyContext);
                    break;
                }
                context = destroyContext = IntPtr.Zero;
            }
            finally
            {
                if (context != IntPtr.Zero) Requests.Unsent(context);
                if (destroyContext != IntPtr.Zero) Requests.Unsent(destroyContext);
            }
        }
    }
}
