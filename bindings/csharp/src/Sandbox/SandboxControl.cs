using System;
using System.Text;
using System.Threading;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK.Sandbox
{
    /// <summary>The module an outcome rule applies to.</summary>
    public enum SandboxModule : uint
    {
        /// <summary>The shop.</summary>
        Vendra = 1,
        /// <summary>Popups.</summary>
        Panora = 2,
        /// <summary>Game logs.</summary>
        Scrivo = 3,
        /// <summary>Character information.</summary>
        Ludex = 4
    }

    /// <summary>
    /// One scripted outcome: "the next <see cref="Count"/> requests of this
    /// operation of this module answer like this". Members left null keep
    /// the sandbox's own answer.
    /// </summary>
    public sealed class SandboxOutcome
    {
        /// <summary>The module.</summary>
        public SandboxModule Module { get; set; }
        /// <summary>The module's operation code (e.g. <see cref="Ludex.GamingServices.FetchCharacterOperation"/>).</summary>
        public uint OperationCode { get; set; }
        /// <summary>How many requests it answers; 0 answers every request.</summary>
        public uint Count { get; set; }
        /// <summary>The result code of the answer.</summary>
        public uint? ResultCode { get; set; }
        /// <summary>The message of the answer.</summary>
        public string Message { get; set; }
        /// <summary>Whether the request's popup opens.</summary>
        public bool? PopupCreated { get; set; }
        /// <summary>The confirm, terms or withdraw answer.</summary>
        public bool? Flag { get; set; }
        /// <summary>True: every list of the answer is empty.</summary>
        public bool EmptyLists { get; set; }
        /// <summary>Milliseconds before the answer is due (replaces the global latency).</summary>
        public uint? DelayMs { get; set; }
        /// <summary><see cref="DelayMs"/> as a time span (whole milliseconds; what <see cref="uint"/> cannot hold is refused with <see cref="ArgumentOutOfRangeException"/>).</summary>
        public TimeSpan? Delay
        {
            get { return DelayMs.HasValue ? TimeSpan.FromMilliseconds(DelayMs.Value) : (TimeSpan?)null; }
            set { DelayMs = value.HasValue ? SandboxControl.Millis(value.Value, "value") : (uint?)null; }
        }
    }

    /// <summary>
    /// The offline sandbox platform's control surface, for a game's tests and
    /// development builds: profiles, scripted outcomes, latency, trace, open
    /// popups. Only the sandbox platform library has these entry points.
    /// Any thread, before or after <see cref="TesselPlatform.Initialize"/>.
    /// </summary>
    public static unsafe class SandboxControl
    {
        static readonly TraceCallback TraceTrampoline = OnTrace;
        static Action<string> _trace;

        /// <summary>Loads a profile file (JSON) as the sandbox's world; on failure the previous one stays.</summary>
        /// <param name="path">The file's path.</param>
        /// <returns>Success, NotFound (unreadable) or InvalidArgument (see <see cref="LastProfileError"/>).</returns>
        /// <exception cref="ArgumentNullException"><paramref name="path"/> is null.</exception>
        public static uint LoadProfileFile(string path)
        {
            if (path == null) throw new ArgumentNullException("path");
            return PlinthNative.TesselSandbox_LoadProfileFile(Utf8(path, true));
        }

        /// <summary>Loads a profile from JSON text as the sandbox's world.</summary>
        /// <param name="json">The profile.</param>
        /// <returns>Success or InvalidArgument (see <see cref="LastProfileError"/>).</returns>
        /// <exception cref="ArgumentNullException"><paramref name="json"/> is null.</exception>
        public static uint LoadProfileText(string json)
        {
            if (json == null) throw new ArgumentNullException("json");
            byte[] bytes = Utf8(json, false);
            return PlinthNative.TesselSandbox_LoadProfileText(bytes, new UIntPtr((uint)bytes.Length));
        }

        /// <summary>Why the last profile was refused; empty when the last load succeeded.</summary>
        public static string LastProfileError
        {
            get { return WideText.ReadUtf8(PlinthNative.TesselSandbox_LastProfileError()) ?? string.Empty; }
        }

        /// <summary>Adds an outcome rule after those already pushed.</summary>
        /// <param name="outcome">The rule (copied).</param>
        /// <returns>Success, or InvalidArgument for an unknown module.</returns>
        /// <exception cref="ArgumentNullException"><paramref name="outcome"/> is null.</exception>
        public static uint PushOutcome(SandboxOutcome outcome)
        {
            if (outcome == null) throw new ArgumentNullException("outcome");
            var native = new TesselSandboxOutcome
            {
                module = (uint)outcome.Module,
                operationCode = outcome.OperationCode,
                count = outcome.Count,
                resultCode = outcome.ResultCode ?? 0,
                popupCreated = outcome.PopupCreated == true ? (byte)1 : (byte)0,
                flag = outcome.Flag == true ? (byte)1 : (byte)0,
                delayMs = outcome.DelayMs ?? 0
            };
            if (outcome.ResultCode.HasValue) native.fields |= 0x01;
            if (outcome.Message != null) native.fields |= 0x02;
            if (outcome.PopupCreated.HasValue) native.fields |= 0x04;
            if (outcome.Flag.HasValue) native.fields |= 0x08;
            if (outcome.EmptyLists) native.fields |= 0x10;
            if (outcome.DelayMs.HasValue) native.fields |= 0x20;
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            try
            {
                native.message = texts.Add(outcome.Message, "outcome", "Message");
                return PlinthNative.TesselSandbox_PushOutcome(ref native);
            }
            finally
            {
                texts.Dispose();
            }
        }

        /// <summary>Removes every pushed outcome rule; the profile's rules stay.</summary>
        public static void ClearOutcomes()
        {
            PlinthNative.TesselSandbox_ClearOutcomes();
        }

        /// <summary>Delays every answer by this many milliseconds (0: the next pump).</summary>
        /// <param name="milliseconds">The latency.</param>
        public static void SetLatency(uint milliseconds)
        {
            PlinthNative.TesselSandbox_SetLatency(milliseconds);
        }

        /// <summary>Delays every answer by <paramref name="latency"/> (whole milliseconds; zero: the next pump).</summary>
        /// <param name="latency">The latency.</param>
        /// <exception cref="ArgumentOutOfRangeException">Negative, or beyond what 32 bits of milliseconds hold.</exception>
        public static void SetLatency(TimeSpan latency)
        {
            SetLatency(Millis(latency, "latency"));
        }

        /// <summary>Moves the manual clock forward by <paramref name="step"/> (whole milliseconds).</summary>
        /// <param name="step">How far.</param>
        /// <exception cref="ArgumentOutOfRangeException">Negative, or beyond what 32 bits of milliseconds hold.</exception>
        public static void AdvanceClock(TimeSpan step)
        {
            AdvanceClock(Millis(step, "step"));
        }

        internal static uint Millis(TimeSpan span, string parameter)
        {
            long millis = (long)Math.Floor(span.TotalMilliseconds);
            if (millis < 0 || millis > uint.MaxValue)
                throw new ArgumentOutOfRangeException(parameter, span, "The time span must be 0 to 2^32-1 milliseconds.");
            return (uint)millis;
        }

        /// <summary>
        /// Turns the manual clock on or off: while on, the sandbox's time
        /// stands still and moves only by <see cref="AdvanceClock(uint)"/>, so
        /// latency and outcome delays are reached without sleeping.
        /// </summary>
        /// <param name="on">True for the manual clock, false for the real one.</param>
        public static void SetManualClock(bool on)
        {
            PlinthNative.TesselSandbox_SetManualClock(on ? 1 : 0);
        }

        /// <summary>Moves the manual clock forward; nothing happens while it is off.</summary>
        /// <param name="milliseconds">How far.</param>
        public static void AdvanceClock(uint milliseconds)
        {
            PlinthNative.TesselSandbox_AdvanceClock(milliseconds);
        }

        /// <summary>
        /// Sends the sandbox's trace (one line per request received, answer
        /// queued and delivered, popup opened and closed, callback dropped) to
        /// <paramref name="receiver"/>, on the thread that caused the event;
        /// null turns it off.
        /// </summary>
        /// <param name="receiver">The receiver, or null.</param>
        public static void SetTrace(Action<string> receiver)
        {
            Volatile.Write(ref _trace, receiver);
            PlinthNative.TesselSandbox_SetTrace(receiver == null ? null : TraceTrampoline, IntPtr.Zero);
        }

        /// <summary>How many popups the sandbox shows now.</summary>
        public static uint OpenPopupCount
        {
            get { return PlinthNative.TesselSandbox_OpenPopupCount(); }
        }

        /// <summary>
        /// How many windows and popups wait for the player's choice in
        /// the console (interactive mode); a loop that ends when its requests
        /// are answered keeps pumping while this is not 0.
        /// </summary>
        public static uint WaitingWindowCount
        {
            get { return PlinthNative.TesselSandbox_WaitingWindowCount(); }
        }

        /// <summary>Closes every popup as the player would; each destroy notice follows on the pump.</summary>
        /// <returns>How many were closed.</returns>
        public static uint CloseAllPopups()
        {
            return PlinthNative.TesselSandbox_CloseAllPopups();
        }

        /// <summary>
        /// Starts the sandbox console on 127.0.0.1 (docs/sandbox-console.md):
        /// the sandbox's requests, windows and books in a browser and as JSON
        /// over HTTP. It runs until <see cref="StopConsole"/>, the platform's
        /// UnInitialize or the end of the process.
        /// </summary>
        /// <param name="port">The port; 0 takes a free one.</param>
        /// <param name="url">The console's URL with its token; null when it did not start.</param>
        /// <returns>The result code: 0, or 18 when it already runs (<paramref name="url"/> is its URL), or 19 when the port cannot be listened on or this build has no console.</returns>
        public static uint StartConsole(ushort port, out string url)
        {
            var buffer = new byte[256];
            uint code = PlinthNative.TesselSandbox_StartConsole(port, buffer, (UIntPtr)buffer.Length);
            int length = Array.IndexOf(buffer, (byte)0);
            url = length > 0 ? Encoding.UTF8.GetString(buffer, 0, length) : null;
            return code;
        }

        /// <summary>Stops the sandbox console, if it runs, and waits for its threads to end.</summary>
        public static void StopConsole()
        {
            PlinthNative.TesselSandbox_StopConsole();
        }

        [MonoPInvokeCallback(typeof(TraceCallback))]
        static void OnTrace(IntPtr line, IntPtr context)
        {
            try
            {
                Action<string> receiver = Volatile.Read(ref _trace);
                if (receiver != null) receiver(WideText.ReadUtf8(line));
            }
            catch (Exception e)
            {
                TesselPlatform.Report(e);
            }
        }

        static byte[] Utf8(string text, bool terminated)
        {
            int length = Encoding.UTF8.GetByteCount(text);
            var bytes = new byte[length + (terminated ? 1 : 0)];
            Encoding.UTF8.GetBytes(text, 0, text.Length, bytes, 0);
            return bytes;
        }
    }
}
