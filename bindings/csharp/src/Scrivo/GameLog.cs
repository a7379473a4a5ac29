using System;
using System.Threading;
using System.Threading.Tasks;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK.Scrivo
{
    /// <summary>One game log record. Every text may be null and is passed on unchanged.</summary>
    public sealed class LogRecord
    {
        /// <summary>First 64-bit identifier (e.g. the account).</summary>
        public long Auid { get; set; }
        /// <summary>Second 64-bit identifier (e.g. the character).</summary>
        public long Cuid { get; set; }
        /// <summary>First market type.</summary>
        public string MktType1 { get; set; }
        /// <summary>First market id.</summary>
        public string MktId1 { get; set; }
        /// <summary>Second market type.</summary>
        public string MktType2 { get; set; }
        /// <summary>Second market id.</summary>
        public string MktId2 { get; set; }
        /// <summary>The game's version.</summary>
        public string GameVersion { get; set; }
        /// <summary>Log group id.</summary>
        public string LogGroupId { get; set; }
        /// <summary>Server code.</summary>
        public string ServerCd { get; set; }
        /// <summary>Server code detail.</summary>
        public string ServerCdDet { get; set; }
        /// <summary>Level code.</summary>
        public string LvCd { get; set; }
        /// <summary>Level code detail.</summary>
        public string LvCdDet { get; set; }
        /// <summary>The log's contents.</summary>
        public string Contents { get; set; }
    }

    /// <summary>Scrivo, the game log module.</summary>
    public static unsafe class GameLog
    {
        /// <summary>Operation code of a log send.</summary>
        public const uint SendLogOperation = 80;
        const string Module = "Scrivo";

        /// <summary>Initializes Scrivo, after <see cref="TesselPlatform.Initialize"/>.</summary>
        /// <returns>Success, AlreadyInitialized or NotInitialized.</returns>
        public static TesselResult Initialize()
        {
            return Results.ReadSync(ScrivoNative.TesselAPI_LogInitialize());
        }

        /// <summary>Initializes Scrivo for a <c>using</c> block (see <see cref="TesselScope"/>).</summary>
        /// <returns>The scope; its Dispose uninitializes Scrivo when it initialized Scrivo.</returns>
        /// <exception cref="TesselException">Initialize failed (other than AlreadyInitialized).</exception>
        public static TesselScope Open()
        {
            return TesselScope.Open(Module, Initialize, UnInitialize);
        }

        /// <summary>Uninitializes Scrivo.</summary>
        /// <returns>Success, or NotInitialized when it was not initialized.</returns>
        public static TesselResult UnInitialize()
        {
            return Results.ReadSync(ScrivoNative.TesselAPI_LogUnInitialize());
        }

        /// <summary>The SDK's version text; any thread.</summary>
        /// <returns>The version in <see cref="TesselResult{T}.Data"/>.</returns>
        public static TesselResult<string> GetVersion()
        {
            return Shared.Version(ScrivoNative.TesselAPI_LogGetVersion);
        }

        /// <summary>Sends one log record; the callback runs once, from <see cref="TesselPlatform.RunCallbacks"/>.</summary>
        /// <param name="record">The record; read during the call only.</param>
        /// <param name="callback">Receives the outcome.</param>
        /// <exception cref="ArgumentNullException">An argument is null; nothing was sent.</exception>
        public static void Send(LogRecord record, Action<TesselResult> callback)
        {
            Requests.NotNull(record, "record");
            Requests.NotNull(callback, "callback");
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            IntPtr context = IntPtr.Zero;
            try
            {
                var param = new TesselLogSendParam
                {
                    auid = record.Auid, cuid = record.Cuid,
                    mktType1 = texts.Add(record.MktType1, "record", "MktType1"), mktId1 = texts.Add(record.MktId1, "record", "MktId1"),
                    mktType2 = texts.Add(record.MktType2, "record", "MktType2"), mktId2 = texts.Add(record.MktId2, "record", "MktId2"),
                    gameVersion = texts.Add(record.GameVersion, "record", "GameVersion"), logGroupId = texts.Add(record.LogGroupId, "record", "LogGroupId"),
                    serverCd = texts.Add(record.ServerCd, "record", "ServerCd"), serverCdDet = texts.Add(record.ServerCdDet, "record", "ServerCdDet"),
                    lvCd = texts.Add(record.LvCd, "record", "LvCd"), lvCdDet = texts.Add(record.LvCdDet, "record", "LvCdDet"),
                    contents = texts.Add(record.Contents, "record", "Contents")
                };
                context = Requests.Register<bool>(SendLogOperation, Module, callback, Requests.NoData);
                ScrivoNative.TesselAPI_LogSend(ref param, Trampolines.Result, context);
                context = IntPtr.Zero;
            }
            finally
            {
                if (context != IntPtr.Zero) Requests.Unsent(context);
                texts.Dispose();
            }
        }

        /// <summary>The task form of <see cref="Send(LogRecord, Action{TesselResult})"/>.</summary>
        /// <param name="record">The record.</param>
        /// <param name="cancellationToken">Cancels the task on the next pump.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult> SendAsync(LogRecord record, CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(record, "record");
            return Callbacks.Async<TesselResult>(cancellationToken, cb => Send(record, cb));
        }
    }
}
