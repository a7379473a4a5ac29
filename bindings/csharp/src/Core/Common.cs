using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
using System.Threading;
using System.Threading.Tasks;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK
{
    /// <summary>How the platform shows a web page (popup, shop or payment window).</summary>
    public enum WebViewMode
    {
        /// <summary>Inside the game's window.</summary>
        Embedded = 0,
        /// <summary>In a window of its own.</summary>
        Windowed = 1
    }

    /// <summary>The game's window, for the modules' window-aware initialization.</summary>
    public struct WindowInfo
    {
        /// <summary>The native window handle (HWND on Windows); may be zero.</summary>
        public IntPtr Handle;
        /// <summary>Client width in pixels.</summary>
        public int Width;
        /// <summary>Client height in pixels.</summary>
        public int Height;

        internal TesselWindowInfo ToNative()
        {
            return new TesselWindowInfo { windowHandle = Handle, width = Width, height = Height };
        }
    }

    /// <summary>
    /// A request with a second answer after its first: awaiting it gives the
    /// first answer (<see cref="Answer"/>); the subclass names the second.
    /// Every task completes inside <see cref="TesselPlatform.RunCallbacks"/>:
    /// await it from the pumping thread (or elsewhere); never block the
    /// pumping thread on it with <c>.Wait()</c> or <c>Task.Result</c>.
    /// </summary>
    /// <typeparam name="R">The first answer's type.</typeparam>
    public abstract class TesselRequest<R> where R : TesselResult
    {
        internal TesselRequest(Task<R> answer)
        {
            Answer = answer;
        }

        /// <summary>Completes with the request's first answer (what <c>await</c> gives).</summary>
        public Task<R> Answer { get; }

        /// <summary>For <c>await</c>: waits for <see cref="Answer"/>.</summary>
        /// <returns>The answer's awaiter.</returns>
        public TaskAwaiter<R> GetAwaiter() { return Answer.GetAwaiter(); }

        /// <summary>For <c>await request.ConfigureAwait(false)</c>.</summary>
        /// <param name="continueOnCapturedContext">As for <see cref="Task.ConfigureAwait"/>.</param>
        /// <returns>The configured awaitable of <see cref="Answer"/>.</returns>
        public ConfiguredTaskAwaitable<R> ConfigureAwait(bool continueOnCapturedContext)
        {
            return Answer.ConfigureAwait(continueOnCapturedContext);
        }
    }

    /// <summary>
    /// The two outcomes of a request that opens a window: its result
    /// (<see cref="TesselRequest{R}.Answer"/>, what <c>await</c> gives), then
    /// the notice that the window was destroyed (or code 33 when it was never
    /// created). Both complete inside <see cref="TesselPlatform.RunCallbacks"/>.
    /// </summary>
    /// <typeparam name="R">The request's result type.</typeparam>
    public sealed class PopupTasks<R> : TesselRequest<R> where R : TesselResult
    {
        internal PopupTasks(Task<R> result, Task<TesselResult> destroyed) : base(result)
        {
            Destroyed = destroyed;
        }

        /// <summary>The former name of <see cref="TesselRequest{R}.Answer"/> (it read <c>tasks.Result.Result</c>).</summary>
        [Obsolete("Use Answer (or await the request itself).")]
        public Task<R> Result { get { return Answer; } }
        /// <summary>Completes with the window's destroy notice.</summary>
        public Task<TesselResult> Destroyed { get; }
    }

    /// <summary>The platform's times: milliseconds since 1970, UTC.</summary>
    internal static class Time
    {
        static readonly long MinMillis = DateTimeOffset.MinValue.ToUnixTimeMilliseconds();
        static readonly long MaxMillis = DateTimeOffset.MaxValue.ToUnixTimeMilliseconds();

        /// <summary>The time of a platform value; one beyond what DateTimeOffset holds becomes its MinValue or MaxValue.</summary>
        internal static DateTimeOffset FromMillis(long millis)
        {
            if (millis <= MinMillis) return DateTimeOffset.MinValue;
            if (millis >= MaxMillis) return DateTimeOffset.MaxValue;
            return DateTimeOffset.FromUnixTimeMilliseconds(millis);
        }
    }

    /// <summary>Shared pieces of the module wrappers.</summary>
    internal static class Shared
    {
        internal delegate ApiResultBuffer VersionCall(IntPtr buffer, int capacity);

        /// <summary>The version text of a module's GetVersion call.</summary>
        internal static TesselResult<string> Version(VersionCall call)
        {
            const int capacity = 64;
            IntPtr buffer = System.Runtime.InteropServices.Marshal.AllocHGlobal(capacity * WideText.Width);
            try
            {
                ResultHeader header = Results.ReadSyncHeader(call(buffer, capacity));
                bool succeeded = header.ResultCode == ResultCodes.Success;
                return new TesselResult<string>(ref header, succeeded ? WideText.Read(buffer) : string.Empty);
            }
            finally
            {
                System.Runtime.InteropServices.Marshal.FreeHGlobal(buffer);
            }
        }

        /// <summary>The tasks of a window request: <paramref name="start"/> sends it with both callbacks.</summary>
        internal static PopupTasks<R> AsyncPopup<R>(CancellationToken token, Action<Action<R>, Action<TesselResult>> start)
            where R : TesselResult
        {
            Task<TesselResult> destroyed;
            Task<R> result = AsyncPair<R, TesselResult>(token, start, out destroyed);
            return new PopupTasks<R>(result, destroyed);
        }

        /// <summary>Two tasks of one request with two callbacks; both are registered before it is sent.</summary>
        internal static Task<R> AsyncPair<R, D>(CancellationToken token, Action<Action<R>, Action<D>> start, out Task<D> second)
            where R : TesselResult where D : TesselResult
        {
            Action<D> secondCallback = null;
            Task<D> secondTask = null;
            Task<R> result = Callbacks.Async<R>(token, callback =>
            {
                secondTask = Callbacks.Async<D>(token, cb => { secondCallback = cb; });
                start(callback, secondCallback);
            });
            second = secondTask ?? Callbacks.Async<D>(token, cb => { });
            return result;
        }

        internal static unsafe IReadOnlyList<T> List<T>(IntPtr items, uint count, int stride, Func<IntPtr, T> make)
        {
            if (items == IntPtr.Zero || count == 0) return Array.Empty<T>();
            var list = new T[count];
            byte* p = (byte*)items;
            for (uint i = 0; i < count; ++i) list[i] = make(new IntPtr(p + (long)i * stride));
            return list;
        }
    }
}
