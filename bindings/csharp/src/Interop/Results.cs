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
                header.Message = WideText.ReadRepeated(r->message);
                header.Value = r->value;
                header.Context = r->userContext;
            }
            else
            {
                var r = (TesselAPICallbackResult_W2*)record;
                header.OperationCode = r->result.operationCode;
                header.ResultCode = r->result.resultCode;
                header.Module = ModuleName(r->result.moduleName);
                header.Message = WideText.ReadRepeated(r->message);
                header.Value = r->value;
                header.Context = r->userContext;
            }
            return header;
        }

        internal static TesselResult ReadSync(ApiResultBuffer buffer)
        {
            ResultHeader header = ReadSyncHeader(buffer);
            return new TesselResult(ref header);
        }

        internal static ResultHeader ReadSyncHeader(ApiResultBuffer buffer)
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
            return header;
        }

        // The module names come back as the same string objects: no
        // allocation per result for them.
        static string ModuleName(void* inline)
        {
            uint first = Unit(inline, 0);
            string known = first == 'V' ? KnownModules[0]
                         : first == 'P' ? (Unit(inline, 1) == 'a' ? KnownModules[1] : KnownModules[4])
                         : first == 'S' ? KnownModules[2]
                         : first == 'L' ? KnownModules[3]
                         : first == 0 ? string.Empty : null;
            return known != null && Equals(inline, known) ? known : WideText.ReadInline(inline, NameCapacity);
        }

        static uint Unit(void* inline, int index)
        {
            return WideText.Width == 4 ? ((uint*)inline)[index] : ((ushort*)inline)[index];
        }

        static bool Equals(void* inline, string text)
        {
            for (int i = 0; i <= text.Length; ++i)
            {
                if (Unit(inline, i) != (i < text.Length ? text[i] : 0u)) return false;
            }
            return true;
        }
    }
}
