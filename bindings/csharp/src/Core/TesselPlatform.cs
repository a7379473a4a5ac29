using System;
using System.Collections.Generic;
using System.Threading;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK
{
    /// <summary>
    /// The platform: initialize it first, pump its callbacks once per frame
    /// with <see cref="RunCallbacks"/>, uninitialize it last. Every task and
    /// callback of every module completes inside <see cref="RunCallbacks"/>,
    /// on the thread that calls it, and nowhere else. So never block that
    /// thread on a task (<c>task.Result</c>, <c>task.Wait()</c>): the answer
    /// can only complete it in a later RunCallbacks of the same thread, and
    /// the wait deadlocks. Await the task, use the callback form, or look at
    /// <c>task.IsCompleted</c> in a later frame.
    /// </summary>
    public static unsafe class TesselPlatform
    {
        [ThreadStatic] static bool _pumping;
        static int _initialized;
        static readonly object NamesGate = new object();
        static readonly Dictionary<uint, string> Names = new Dictionary<uint, string>();
        static bool _widthChecked;

        /// <summary>
        /// Raised when a game callback or continuation throws while the SDK
        /// runs it: the exception is reported here and never unwinds into the
        /// native libraries. Raised on the pumping thread. Without a
        /// subscriber, one line naming the exception is written to
        /// <see cref="Console.Error"/> instead, so it is never lost silently.
        /// </summary>
        public static event EventHandler<UnhandledExceptionEventArgs> UnhandledException;

        /// <summary>True between a successful <see cref="Initialize"/> and <see cref="UnInitialize"/>.</summary>
        public static bool IsInitialized { get { return Volatile.Read(ref _initialized) != 0; } }

        /// <summary>True on a thread inside <see cref="RunCallbacks"/> (or a shutdown running as if pumped).</summary>
        internal static bool Pumping { get { return _pumping; } }

        /// <summary>
        /// How many requests wait for an answer: requests, not answers. A
        /// request with two answers (a window's result and destroy notice, an
        /// identity verification's outcome and value) counts once until both
        /// arrived.
        /// </summary>
        public static int PendingRequestCount { get { return PendingTable.Count; } }

        /// <summary>
        /// How many answers arrived for no waiting request (a second, late or
        /// unknown call from native code); each was ignored.
        /// </summary>
        public static long IgnoredAnswerCount { get { return PendingTable.StrayAnswers; } }

        /// <summary>
        /// Initializes the platform; call it once, before any module's Initialize.
        /// A second call while initialized is refused with
        /// <see cref="ResultCodes.AlreadyInitialized"/> and changes nothing.
        /// </summary>
        /// <param name="gameId">The game's id; null is accepted by the sandbox.</param>
        /// <returns>The platform's result.</returns>
        public static TesselResult Initialize(string gameId)
        {
            CheckWidth();
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            try
            {
                TesselResult result = Results.ReadSync(PlinthNative.Tessel_Initialize(texts.Add(gameId, "gameId")));
                if (result.Succeeded) Volatile.Write(ref _initialized, 1);
                return result;
            }
            finally
            {
                texts.Dispose();
            }
        }

        /// <summary>Initializes the platform for a <c>using</c> block (see <see cref="TesselScope"/>).</summary>
        /// <param name="gameId">As for <see cref="Initialize"/>.</param>
        /// <returns>The scope; its Dispose uninitializes the platform when it initialized the platform.</returns>
        /// <exception cref="TesselException">Initialize failed (other than AlreadyInitialized).</exception>
        public static TesselScope Open(string gameId)
        {
            return TesselScope.Open("Plinth", () => Initialize(gameId), UnInitialize);
        }

        /// <summary>
        /// Runs every callback and task completion that is due, on this thread.
        /// Call it once per frame. Calling it from inside a callback is refused
        /// with <see cref="InvalidOperationException"/>. A thread that calls it
        /// must not block on a task of the SDK (<c>.Result</c>, <c>.Wait()</c>):
        /// that deadlocks, as the task completes only inside this call.
        /// </summary>
        /// <returns>How many native callbacks and completions ran.</returns>
        public static uint RunCallbacks()
        {
            if (_pumping)
            {
                throw new InvalidOperationException(
                    "TesselPlatform.RunCallbacks was called from inside a Tessel callback; " +
                    "callbacks queued meanwhile run on the next call from the game loop.");
            }
            _pumping = true;
            try
            {
                // Cancellations first: a task cancelled before this pump ends
                // cancelled, even when its answer is queued already.
                Callbacks.RunCancellations();
                uint ran = PlinthNative.Tessel_RunCallbacks();
                PendingTable.SendWaitingContextless();
                return ran;
            }
            finally
            {
                _pumping = false;
            }
        }

        /// <summary>
        /// Uninitializes the platform (after the modules). The platform drops
        /// its queued callbacks, so every request still waiting completes here,
        /// once, with <see cref="ResultCodes.NotInitialized"/> and
        /// <see cref="TesselResult.ShutdownMessage"/> (unless the platform
        /// answered it while shutting down): no await hangs. The binding's
        /// state is reset, so the platform can be initialized again without
        /// reloading the domain. Allowed from inside a callback (a quit
        /// button): the callbacks the pump had not reached yet complete
        /// inside this call instead, and re-entering the pump from them stays
        /// refused.
        /// </summary>
        /// <returns>The platform's result.</returns>
        public static TesselResult UnInitialize()
        {
            // Answers the platform gives while it shuts down and the requests
            // completed here run as if pumped (the pump cannot be re-entered
            // from them); inside a callback the pump is running already and
            // stays so until its own frame ends.
            bool pumping = _pumping;
            _pumping = true;
            TesselResult result;
            try
            {
                List<PendingRequest> abandoned;
                lock (PendingTable.SendGate)
                {
                    result = Results.ReadSync(PlinthNative.Tessel_UnInitialize());
                    Volatile.Write(ref _initialized, 0);
                    abandoned = PendingTable.TakeAll();
                }
                foreach (PendingRequest request in abandoned) request.Abandon();
                Callbacks.RunCancellations();
            }
            finally
            {
                _pumping = pumping;
            }
            return result;
        }

        /// <summary>Names a result code ("SUCCESS", "NOT_INITIALIZED", ..., "UNKNOWN"); any thread, any time.</summary>
        /// <param name="resultCode">A <see cref="ResultCodes"/> value.</param>
        /// <returns>The platform library's name of the code.</returns>
        public static string ResultCodeName(uint resultCode)
        {
            lock (NamesGate)
            {
                string name;
                if (!Names.TryGetValue(resultCode, out name))
                {
                    name = WideText.Read(PlinthNative.Tessel_ResultCodeName(resultCode)) ?? "UNKNOWN";
                    Names.Add(resultCode, name);
                }
                return name;
            }
        }

        internal static void CheckWidth()
        {
            if (_widthChecked) return;
            WideText.CheckWidth(PlinthNative.Tessel_ResultCodeName(ResultCodes.Success));
            _widthChecked = true;
        }

        internal static void Report(Exception e)
        {
            EventHandler<UnhandledExceptionEventArgs> handler = UnhandledException;
            try
            {
                if (handler == null)
                    Console.Error.WriteLine("tessel: a callback threw and the exception was dropped: " + e.GetType().FullName + ": " + e.Message);
                else
                    handler(null, new UnhandledExceptionEventArgs(e, false));
            }
            catch
            {
                // A throwing handler is not allowed to reach native code either.
            }
        }
    }
}
