using System;
using System.Collections.Concurrent;
using System.Threading;
using System.Threading.Tasks;

namespace Tessel.PCSDK
{
    /// <summary>Runs the game's callbacks: never lets an exception unwind into native code.</summary>
    internal static class Callbacks
    {
        // Cancellations wait here for the pump, so that a task never
        // completes on the thread that cancelled it.
        static readonly ConcurrentQueue<Action> Cancelled = new ConcurrentQueue<Action>();
        // How many wait: the pump looks at this alone when none does.
        static int _cancelledCount;

        internal static void Invoke<T>(Action<T> callback, T value)
        {
            if (callback == null) return;
            try
            {
                callback(value);
            }
            catch (Exception e)
            {
                TesselPlatform.Report(e);
            }
        }

        internal static void PostCancel(Action cancel)
        {
            Cancelled.Enqueue(cancel);
            Interlocked.Increment(ref _cancelledCount);
        }

        internal static void RunCancellations()
        {
            if (Volatile.Read(ref _cancelledCount) == 0) return;
            Action cancel;
            while (Cancelled.TryDequeue(out cancel))
            {
                Interlocked.Decrement(ref _cancelledCount);
                Invoke<object>(_ => cancel(), null);
            }
        }

        /// <summary>
        /// The task form of a request: <paramref name="start"/> sends it with a
        /// callback that completes the task. A cancelled token cancels the
        /// task on the next pump; the request's own answer is then dropped. A
        /// token cancelled already sends nothing.
        /// </summary>
        internal static Task<R> Async<R>(CancellationToken token, Action<Action<R>> start) where R : TesselResult
        {
            var source = new TaskCompletionSource<R>();
            if (token.IsCancellationRequested)
            {
                // Nothing is sent; the task is cancelled by the pump like any other.
                PostCancel(() => source.TrySetCanceled());
                return source.Task;
            }
            start(result => source.TrySetResult(result));
            if (token.CanBeCanceled && !source.Task.IsCompleted)
            {
                CancellationTokenRegistration registration =
                    token.Register(() => PostCancel(() => source.TrySetCanceled()));
                source.Task.ContinueWith(_ => registration.Dispose(), CancellationToken.None,
                                         TaskContinuationOptions.ExecuteSynchronously, TaskScheduler.Default);
            }
            return source.Task;
        }
    }
}
