// The binding's cost, measured against the same work in C in the same run:
//  - a round trip (a character fetch, the pump, its callback) through the
//    binding against the same round trip through the C interface;
//  - a page of 1,000 products (fetch, pump, conversion into C# objects)
//    against the same page through the C interface (the C conversion alone).
// The C callbacks run twice: keeping a copy of every text (what the binding
// does, and what a C game that holds on to the answer must do) and reading
// the texts in place. Allocations are reported per operation. `--smoke` runs
// a few rounds only.
using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.Runtime.InteropServices;
using System.Text;
using Tessel.PCSDK;
using Tessel.PCSDK.Ludex;
using Tessel.PCSDK.Sandbox;
using Tessel.PCSDK.Vendra;

static class Bench
{
    [DllImport("TesselCsBench")] static extern double TesselCsBench_RoundTrips(int rounds, int keep);
    [DllImport("TesselCsBench")] static extern double TesselCsBench_ProductPages(int rounds, int pageSize, int keep);

    // The same round trip through bare P/Invoke declarations, with a callback
    // that copies nothing: the cost of crossing into C and back under this
    // runtime, which any binding pays.
    [UnmanagedFunctionPointer(CallingConvention.Cdecl)] delegate void BareCallback(IntPtr result, IntPtr character);
    [DllImport("Ludex")] static extern void TesselAPI_FetchCharacter(IntPtr characterId, IntPtr serverId, BareCallback callback, IntPtr context);
    [DllImport("Plinth")] static extern uint Tessel_RunCallbacks();
    static readonly BareCallback OnBare = (result, character) => ++_seen;

    const int PageSize = 1000;
    static int _seen;
    static readonly Action<TesselResult<string>> OnCharacter = r => _seen += r.Data.Length;
    static readonly Action<TesselResult<IReadOnlyList<Product>>> OnPage = r => _seen += r.Data.Count;

    // Runs the binding's form and the two C forms in turns, five times, and
    // compares the fastest run of each (the machine's other work only ever
    // adds time). The ratio is against the C form that keeps its copies (the
    // same work as the binding's); the in-place C form is printed beside it.
    static void Measure(string name, int rounds, Action<int> binding, Func<int, int, double> native)
    {
        binding(Math.Max(1, rounds / 10));  // warm-up
        native(Math.Max(1, rounds / 10), 1);
        double bindingNs = double.MaxValue, keptNs = double.MaxValue, inPlaceNs = double.MaxValue;
        long bytes = long.MaxValue;
        for (int repeat = 0; repeat < 5; ++repeat)
        {
            GC.Collect();
            long before = GC.GetAllocatedBytesForCurrentThread();
            var watch = Stopwatch.StartNew();
            binding(rounds);
            bindingNs = Math.Min(bindingNs, watch.Elapsed.TotalMilliseconds * 1e6 / rounds);
            bytes = Math.Min(bytes, (GC.GetAllocatedBytesForCurrentThread() - before) / rounds);
            keptNs = Math.Min(keptNs, native(rounds, 1) / rounds);
            inPlaceNs = Math.Min(inPlaceNs, native(rounds, 0) / rounds);
        }
        Console.WriteLine("{0,-26} C#: {1,10:F0} ns/op  C keeping copies: {2,10:F0} ns/op  ratio {3,5:F2}  " +
                          "(C reading in place: {4,10:F0} ns/op, ratio {5,5:F2})  C# allocated {6} B/op",
                          name, bindingNs, keptNs, bindingNs / keptNs, inPlaceNs, bindingNs / inPlaceNs, bytes);
    }

    static string Profile()
    {
        var json = new StringBuilder("{\"shop\": {\"categories\": [{\"categoryId\": \"bench\", \"parentCategoryId\": \"\", \"displayNumber\": 1, \"name\": \"Bench\", \"depth\": 1}], \"products\": [");
        for (int i = 0; i < PageSize; ++i)
        {
            if (i > 0) json.Append(',');
            json.AppendFormat("{{\"productId\": {0}, \"gameItemId\": \"item_{0}\", \"name\": \"Product {0}\", " +
                              "\"description\": \"Описание 商品 {0}\", \"quantity\": 1, \"productTypeCode\": 2, " +
                              "\"categoryId\": \"bench\", \"categoryName\": \"Bench\", \"currencyCode\": \"USD\", " +
                              "\"price\": 1.5, \"displayPrice\": 1.5, \"displayPriceString\": \"$1.50\", \"salePrice\": 1.5, " +
                              "\"displaySalePrice\": 1.5, \"displaySalePriceString\": \"$1.50\", \"isDiscount\": false, " +
                              "\"discountType\": 0, \"discountTypeValue\": 0, \"totalQuantity\": 1, \"memberQuantity\": 1, " +
                              "\"guidQuantity\": 1, \"thumbnailUrl\": \"https://shop.sandbox.invalid/{0}.png\", " +
                              "\"canWithdraw\": false, \"purchaseLimitTypeCode\": 1, \"purchaseLimitCount\": 0, " +
                              "\"saleLimitCount\": 0, \"saleBeginDate\": 0, \"saleEndDate\": 0}}", i + 1);
        }
        return json.Append("]}}").ToString();
    }

    static int Main(string[] args)
    {
        bool smoke = Array.IndexOf(args, "--smoke") >= 0;
        TesselPlatform.Initialize("bench");
        Shop.Initialize("bench-store");
        GamingServices.Initialize();
        if (SandboxControl.LoadProfileText(Profile()) != ResultCodes.Success)
        {
            Console.WriteLine("profile refused: " + SandboxControl.LastProfileError);
            return 1;
        }
        Measure("round trip (character)", smoke ? 50 : 20000, rounds =>
        {
            for (int i = 0; i < rounds; ++i)
            {
                GamingServices.FetchCharacter("hero", "eu", OnCharacter);
                TesselPlatform.RunCallbacks();
            }
        }, TesselCsBench_RoundTrips);
        IntPtr hero = Marshal.StringToHGlobalUni("h\0\0\0e\0\0\0r\0\0\0o\0\0\0\0\0");  // UTF-32 "hero" on Linux
        IntPtr eu = Marshal.StringToHGlobalUni("e\0\0\0u\0\0\0\0\0");
        Measure("round trip, bare P/Invoke", smoke ? 50 : 20000, rounds =>
        {
            for (int i = 0; i < rounds; ++i)
            {
                TesselAPI_FetchCharacter(hero, eu, OnBare, IntPtr.Zero);
                Tessel_RunCallbacks();
            }
        }, TesselCsBench_RoundTrips);
        Marshal.FreeHGlobal(hero);
        Marshal.FreeHGlobal(eu);
        Measure("page of 1,000 products", smoke ? 3 : 200, rounds =>
        {
            for (int i = 0; i < rounds; ++i)
            {
                Shop.FetchProducts("", 1, PageSize, OnPage);
                TesselPlatform.RunCallbacks();
            }
        }, (rounds, keep) => TesselCsBench_ProductPages(rounds, PageSize, keep));
        bool ok = TesselPlatform.PendingRequestCount == 0 && _seen > 0;
        GamingServices.UnInitialize();
        Shop.UnInitialize();
        TesselPlatform.UnInitialize();
        return ok ? 0 : 1;
    }
}
