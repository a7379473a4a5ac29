using System;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK
{
    /// <summary>
    /// The methods native code calls: one static method per C callback
    /// signature, each held by a static delegate that is never collected. The
    /// request is found by the context id; everything is copied out before
    /// the method returns, and nothing thrown leaves it.
    /// </summary>
    internal static class Trampolines
    {
        internal static readonly ResultCallback Result = OnResult;
        internal static readonly TextCallback Text = OnText;
        internal static readonly ListCallback List = OnList;
        internal static readonly FlagCallback Flag = OnFlag;
        internal static readonly FlagTextCallback FlagText = OnFlagText;
        internal static readonly PurchaseCallback Purchase = OnPurchase;
        internal static readonly ConfirmPurchaseCallback ConfirmPurchase = OnConfirmPurchase;
        internal static readonly PopupFetchCallback PopupFetch = OnPopupFetch;

        [MonoPInvokeCallback(typeof(ResultCallback))]
        static void OnResult(IntPtr result)
        {
            var raw = new RawAnswer();
            Deliver(result, ref raw);
        }

        [MonoPInvokeCallback(typeof(TextCallback))]
        static void OnText(IntPtr result, IntPtr text)
        {
            var raw = new RawAnswer { Data = text };
            Deliver(result, ref raw);
        }

        [MonoPInvokeCallback(typeof(ListCallback))]
        static void OnList(IntPtr result, IntPtr items, uint count)
        {
            var raw = new RawAnswer { Data = items, Count = count };
            Deliver(result, ref raw);
        }

        [MonoPInvokeCallback(typeof(FlagCallback))]
        static void OnFlag(IntPtr result, byte flag)
        {
            var raw = new RawAnswer { Flag = flag };
            Deliver(result, ref raw);
        }

        [MonoPInvokeCallback(typeof(FlagTextCallback))]
        static void OnFlagText(IntPtr result, byte flag, IntPtr text)
        {
            var raw = new RawAnswer { Flag = flag, Data = text };
            Deliver(result, ref raw);
        }

        [MonoPInvokeCallback(typeof(PurchaseCallback))]
        static void OnPurchase(IntPtr result, IntPtr purchase)
        {
            var raw = new RawAnswer { Data = purchase };
            Deliver(result, ref raw);
        }

        [MonoPInvokeCallback(typeof(ConfirmPurchaseCallback))]
        static void OnConfirmPurchase(IntPtr result, byte confirmed, IntPtr products, uint productCount, IntPtr charges,
                                      uint chargeCount)
        {
            var raw = new RawAnswer { Flag = confirmed, Data = products, Count = productCount, Data2 = charges, Count2 = chargeCount };
            Deliver(result, ref raw);
        }

        [MonoPInvokeCallback(typeof(PopupFetchCallback))]
        static void OnPopupFetch(IntPtr result, IntPtr popups, uint count, IntPtr requestData)
        {
            try
            {
                ResultHeader header = Results.ReadCallback(result);
                PendingRequest request = PendingTable.TakeContextless(header.OperationCode);
                if (request != null)
                {
                    var raw = new RawAnswer { Data = popups, Count = count, Data2 = requestData };
                    request.Complete(ref header, ref raw);
                }
                PendingTable.SendContextless(header.OperationCode, null, false);
            }
            catch (Exception e)
            {
                TesselPlatform.Report(e);
            }
        }

        static void Deliver(IntPtr result, ref RawAnswer raw)
        {
            try
            {
                ResultHeader header = Results.ReadCallback(result);
                PendingRequest request = PendingTable.Take(header.Context);
                if (request == null) return;
                request.Complete(ref header, ref raw);
            }
            catch (Exception e)
            {
                TesselPlatform.Report(e);
            }
        }
    }

    /// <summary>Registers a request and sends it; the one pattern every request method follows.</summary>
    internal static class Requests
    {
        internal static IntPtr Register<T>(uint operation, string module, Action<TesselResult<T>> callback, Converter<T> convert)
        {
            return PendingTable.Register(new Pending<T>(operation, module, callback, convert));
        }

        /// <summary>Registers the second answer of the request of <paramref name="first"/> (a destroy notice, a value): the pair counts as one request.</summary>
        internal static IntPtr RegisterSecond<T>(IntPtr first, uint operation, string module, Action<TesselResult<T>> callback, Converter<T> convert)
        {
            return PendingTable.Register(new Pending<T>(operation, module, callback, convert), first);
        }

        /// <summary>
        /// Registers a request and makes its native call with the trampoline
        /// and the request's context; a call that throws (a library missing)
        /// leaves nothing registered.
        /// </summary>
        internal static void Send<T, TNative>(uint operation, string module, Action<TesselResult<T>> callback, Converter<T> convert,
                                              TNative trampoline, Action<TNative, IntPtr> call)
        {
            IntPtr context = Register(operation, module, callback, convert);
            try
            {
                call(trampoline, context);
                context = IntPtr.Zero;
            }
            finally
            {
                if (context != IntPtr.Zero) Unsent(context);
            }
        }

        /// <summary>Called when the native call threw (library missing...): the request was never sent.</summary>
        internal static void Unsent(IntPtr context)
        {
            PendingTable.Forget(context);
        }

        internal static void NotNull(object value, string name)
        {
            if (value == null) throw new ArgumentNullException(name);
        }

        /// <summary>Converter of answers without data.</summary>
        internal static readonly Converter<bool> NoData = (ref RawAnswer raw) => false;
        /// <summary>Converter of one text (never null in the result: null reads as empty).</summary>
        internal static readonly Converter<string> OneText = (ref RawAnswer raw) => WideText.Read(raw.Data) ?? string.Empty;
        /// <summary>Converter of a flag.</summary>
        internal static readonly Converter<bool> OneFlag = (ref RawAnswer raw) => raw.Flag != 0;
    }
}
