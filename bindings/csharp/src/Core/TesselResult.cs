using System;

namespace Tessel.PCSDK
{
    /// <summary>The result codes the SDK and the sandbox report (<see cref="TesselResult.ResultCode"/>).</summary>
    public static class ResultCodes
    {
        /// <summary>The call or request succeeded.</summary>
        public const uint Success = 0;
        /// <summary>The module or the platform is not initialized; also what a request still pending at shutdown completes with.</summary>
        public const uint NotInitialized = 17;
        /// <summary>Initialize of something already initialized; it stays initialized.</summary>
        public const uint AlreadyInitialized = 18;
        /// <summary>The platform refused an argument.</summary>
        public const uint InvalidArgument = 19;
        /// <summary>A version buffer was too small.</summary>
        public const uint BufferTooSmall = 20;
        /// <summary>The platform knows no such category, product or transaction.</summary>
        public const uint NotFound = 21;
        /// <summary>The SDK (or the binding, while copying an answer) could not allocate.</summary>
        public const uint OutOfMemory = 22;
        /// <summary>The popup or web window of a request was not created.</summary>
        public const uint PopupNotCreated = 33;
    }

    /// <summary>
    /// The outcome of a call or request: result code, operation, module and
    /// message. Platform errors arrive as results, never as exceptions.
    /// Immutable.
    /// </summary>
    public class TesselResult
    {
        /// <summary>The message of a request that was still pending when the platform was uninitialized.</summary>
        public const string ShutdownMessage = "The platform was uninitialized before the request was answered.";

        readonly uint _resultCode;
        readonly uint _operationCode;
        readonly string _module;
        readonly string _message;
        readonly int _value;

        internal TesselResult(ref ResultHeader header)
        {
            _resultCode = header.ResultCode;
            _operationCode = header.OperationCode;
            _module = header.Module ?? string.Empty;
            _message = header.Message ?? string.Empty;
            _value = header.Value;
        }

        /// <summary>A <see cref="ResultCodes"/> value; 0 on success.</summary>
        public uint ResultCode { get { return _resultCode; } }
        /// <summary>The module's operation code of the request (0 for the initialization family).</summary>
        public uint OperationCode { get { return _operationCode; } }
        /// <summary>The code, typed; a code <see cref="TesselResultCode"/> does not name keeps its number.</summary>
        public TesselResultCode Code { get { return (TesselResultCode)_resultCode; } }
        /// <summary>
        /// The module that answered: "Vendra", "Panora", "Scrivo" or "Ludex"
        /// for a module's call or request (its initialization family
        /// included); "Plinth" when the platform library reports for itself
        /// (its own Initialize, UnInitialize); empty when the answer's record names
        /// no module (the sandbox's scripted outcomes, pushed with
        /// <see cref="Sandbox.SandboxControl.PushOutcome"/> or read from a
        /// profile, name none). A request still pending at shutdown names its
        /// own module.
        /// </summary>
        public string Module { get { return _module; } }
        /// <summary>The platform's message; never null, may be empty.</summary>
        public string Message { get { return _message; } }
        /// <summary>A 32-bit value the platform reports with some outcomes; 0 otherwise.</summary>
        public int Value { get { return _value; } }
        /// <summary>True when <see cref="ResultCode"/> is <see cref="ResultCodes.Success"/>.</summary>
        public bool Succeeded { get { return _resultCode == ResultCodes.Success; } }
        /// <summary>The code's name ("SUCCESS", "NOT_INITIALIZED", ...), from the platform library.</summary>
        public string CodeName { get { return TesselPlatform.ResultCodeName(_resultCode); } }

        /// <summary>
        /// Throws <see cref="TesselException"/> (code, operation, module and
        /// message) unless the result succeeded; returns the result otherwise,
        /// so calls chain: <c>Shop.Initialize(id).EnsureSuccess()</c>.
        /// </summary>
        /// <returns>This result.</returns>
        /// <exception cref="TesselException">The result did not succeed.</exception>
        public TesselResult EnsureSuccess()
        {
            if (!Succeeded) throw new TesselException(this);
            return this;
        }

        /// <summary>A line for logs: module, operation, code name and message.</summary>
        public override string ToString()
        {
            return string.Format("{0} op={1} {2} ({3}) {4}", _module, _operationCode, CodeName, _resultCode, _message);
        }
    }

    /// <summary>A result with the data of its answer (empty data when it failed). Immutable.</summary>
    /// <typeparam name="T">The answer's data.</typeparam>
    public sealed class TesselResult<T> : TesselResult
    {
        readonly T _data;

        internal TesselResult(ref ResultHeader header, T data) : base(ref header) { _data = data; }

        /// <summary>The answer's data: copied out of the SDK's records, owned by the game.</summary>
        public T Data { get { return _data; } }

        /// <summary>The data of a successful answer; <see cref="TesselException"/> otherwise.</summary>
        /// <returns><see cref="Data"/>.</returns>
        /// <exception cref="TesselException">The result did not succeed.</exception>
        public new T EnsureSuccess()
        {
            base.EnsureSuccess();
            return _data;
        }
    }

    /// <summary>A result that did not succeed, thrown by <see cref="TesselResult.EnsureSuccess"/>.</summary>
    public sealed class TesselException : Exception
    {
        internal TesselException(TesselResult result) : base(result.ToString())
        {
            Result = result;
        }

        /// <summary>The result that did not succeed.</summary>
        public TesselResult Result { get; }
        /// <summary>Its code.</summary>
        public TesselResultCode Code { get { return Result.Code; } }
        /// <summary>Its operation code.</summary>
        public uint OperationCode { get { return Result.OperationCode; } }
        /// <summary>Its module (see <see cref="TesselResult.Module"/>).</summary>
        public string Module { get { return Result.Module; } }
        /// <summary>The platform's message (<see cref="Exception.Message"/> is the whole line of <see cref="TesselResult.ToString"/>).</summary>
        public string PlatformMessage { get { return Result.Message; } }
    }

    /// <summary>The fields of a result as read from a native record, before it becomes a <see cref="TesselResult"/>.</summary>
    internal struct ResultHeader
    {
        internal uint ResultCode;
        internal uint OperationCode;
        internal string Module;
        internal string Message;
        internal int Value;
        internal IntPtr Context;

        internal static ResultHeader Shutdown(uint operation, string module)
        {
            return new ResultHeader
            {
                ResultCode = ResultCodes.NotInitialized,
                OperationCode = operation,
                Module = module,
                Message = TesselResult.ShutdownMessage
            };
        }
    }
}
