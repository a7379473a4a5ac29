using System;

namespace Tessel.PCSDK.Interop
{
    /// <summary>Reads the result records with the layout of the platform's wchar_t width.</summary>
    internal static unsafe class Results
    {
        const int NameCapacity = 32;
        static readonly string[] KnownModules = { "Vendra", "Panora", "Scrivo", "Ludex", "Plinth" };

        internal static ResultHeader ReadCallback(IntPtr record)
        {
            var header = new ResultHeader();
            if (record == IntPtr.Zero) return header;
            if (WideText.Width == 4)
            {
                var r = (TesselAPICallbackResult_W4*)record;
                header.OperationCode = r->result.operationCode;
                header.ResultCode = r->result.resultCode;
                header.Module = ModuleName(r->result.moduleName);
                header.Message = WideText.Read(r->message);
                header.Value = r->value;
                header.Context = r->userContext;
            }
            else
            {
                var r = (TesselAPICallbackResult_W2*)record;
                header.OperationCode = r->result.operationCode;
                header.ResultCode = r->result.resultCode;
                header.Module = ModuleName(r->result.moduleName);
                header.Message = WideText.Read(r->message);
                header.Value = r->value;
                header.Context = r->userContext;
            }
            return header;
        }

        internal static TesselResult ReadSync(ApiResultBuffer buffer)
        {
            var header = new ResultHeader();
            if (WideText.Width == 4)
            {
                TesselAPIResult_W4* r = &buffer.slot;
                header.OperationCode = r->operationCode;
                header.ResultCode = r->resultCode;
                header.Module = ModuleName(r->moduleName);
            }
            else
            {
                var r = (TesselAPIResult_W2*)&buffer.slot;
                header.OperationCode = r->operationCode;
                header.ResultCode = r->resultCode;
                header.Module = ModuleName(r->moduleName);
            }
            return new TesselResult(ref header);
        }

        // The four module names come back as the same string objects: no
        // allocation per result for them.
        static string ModuleName(void* inline)
        {
            foreach (string known in KnownModules)
            {
                if (Equals(inline, known)) return known;
            }
            return WideText.ReadInline(inline, NameCapacity);
        }

        static bool Equals(void* inline, string text)
        {
            for (int i = 0; i <= text.Length; ++i)
            {
                uint unit = WideText.Width == 4 ? ((uint*)inline)[i] : ((ushort*)inline)[i];
                uint expected = i < text.Length ? text[i] : 0u;
                if (unit != expected) return false;
            }
            return true;
        }
    }
}
