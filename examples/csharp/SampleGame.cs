// A small C# game against the offline sandbox: every module, each request
// once with a callback (coroutine style) or a task, the platform pumped once
// per frame. It exits 0 only when every callback came back exactly once.
using System;
using System.Collections.Generic;
using System.Threading;
using System.Threading.Tasks;
using Tessel.PCSDK;
using Tessel.PCSDK.Ludex;
using Tessel.PCSDK.Panora;
using Tessel.PCSDK.Sandbox;
using Tessel.PCSDK.Scrivo;
using Tessel.PCSDK.Vendra;

static class SampleGame
{
    static readonly Dictionary<string, int> Calls = new Dictionary<string, int>();

    // Counts each callback by name: a name heard twice, or never, fails the game.
    static Action<T> Once<T>(string name, Action<T> body) where T : TesselResult
    {
        Calls[name] = 0;
        return result =>
        {
            ++Calls[name];
            Console.WriteLine("  {0,-22} {1} {2}", name, result.CodeName, result.Message);
            body(result);
        };
    }

    static async Task<long> BuyFirstSword()
    {
        TesselResult<IReadOnlyList<Product>> page = await Shop.FetchProductsAsync("weapons-swords", 1, 10);
        Calls["products (task)"] = 1;
        Product sword = page.Data[0];
        Console.WriteLine("  products (task)        {0} at {1} ({2}, on sale from {3:yyyy-MM-dd})", sword.Name, sword.DisplaySalePriceString,
                          sword.ProductTypeCode, sword.SaleBegins);
        PopupTasks<TesselResult<PurchaseResult>> purchase = Shop.StartPurchaseExAsync(
            new[] { new OrderProduct(sword.ProductId, sword.SalePrice, 1) },
            new WindowOptions { Mode = WebViewMode.Windowed, Width = 800, Height = 600 }, "order-1", "from C#");
        TesselResult<PurchaseResult> bought = await purchase;
        Calls["purchase (task)"] = 1;
        PurchaseResult receipt = bought.EnsureSuccess();
        Console.WriteLine("  purchase (task)        {0} #{1}, next: {2}", bought.Code, receipt.TransactionMasterNumber, receipt.PurchaseProgress);
        SandboxControl.CloseAllPopups();  // the player closes the purchase window
        await purchase.Destroyed;
        Calls["purchase window closed"] = 1;
        return bought.Data.TransactionMasterNumber;
    }

    static int Main()
    {
        TesselPlatform.UnhandledException += (sender, e) => Console.WriteLine("callback threw: " + e.ExceptionObject);
        Console.WriteLine("Tessel PC SDK {0} from C#", Shop.GetVersion().Data);
        Task<long> purchase;
        Task confirm;
        long confirmed = 0;
        try
        {
            // The platform, then each module, for the length of the game; the
            // using blocks uninitialize them in the reverse order.
            using (TesselPlatform.Open("sample-game"))
            using (Shop.Open("sample-store"))
            using (Popups.Open())
            using (GameLog.Open())
            using (GamingServices.Open())
            {
                Play(out purchase, out confirm, c => confirmed = c);
            }
        }
        catch (TesselException e)
        {
            Console.WriteLine("{0} did not start: {1} ({2})", e.Module, e.Code, e.PlatformMessage);
            return 1;
        }
        return Report(purchase, confirm, confirmed);
    }

    static void Play(out Task<long> purchase, out Task confirm, Action<long> confirmed)
    {
        // Callbacks, as a coroutine-style game uses them.
        Shop.FetchShopCategories(Once<TesselResult<IReadOnlyList<ShopCategory>>>("categories", r =>
        {
            foreach (ShopCategory c in r.Data) Console.WriteLine("      {0}{1}", new string(' ', 2 * c.Depth), c.Name);
        }));
        Popups.ShowEx(Popups.Kind.News, null, WebViewMode.Embedded, Once<TesselResult>("news popup", r => { }),
                      Once<TesselResult>("news popup closed", r => { }));
        Popups.FetchList(Popups.Kind.Auto, null, Once<TesselResult<PopupList>>("auto popups", r =>
        {
            foreach (Popup p in r.Data.Popups) Console.WriteLine("      {0}", p.Text1);
        }));
        GameLog.Send(new LogRecord { Auid = 1, Contents = "Игрок вошёл — プレイヤー 🎮" }, Once<TesselResult>("log", r => { }));
        GamingServices.FetchCharacter("hero", "eu", Once<TesselResult<string>>("character", r =>
        {
            CharacterInfo character = CharacterInfo.Parse(r.Data);
            Console.WriteLine("      {0}, level {1} {2}", character.Name, character.Level, character.Class);
        }));

        // Tasks, as an async game uses them; continuations run inside the pump
        // (awaited or continued, never waited for on this thread).
        purchase = BuyFirstSword();
        confirm = purchase.ContinueWith(t => Shop.ConfirmPurchase(t.Result, Once<TesselResult<PurchaseConfirmation>>(
            "confirmation", r => confirmed(r.Data.Confirmed ? 1 : 0))), TaskContinuationOptions.ExecuteSynchronously);

        // The game loop: one pump per frame.
        for (int frame = 0; frame < 120; ++frame)
        {
            TesselPlatform.RunCallbacks();
            if (frame == 5) Popups.CloseAllPopups();  // the player closes the news popup
            Thread.Sleep(5);
        }
    }

    static int Report(Task<long> purchase, Task confirm, long confirmed)
    {

        bool ok = purchase.Status == TaskStatus.RanToCompletion && confirm.IsCompleted && confirmed == 1;
        foreach (KeyValuePair<string, int> call in Calls)
        {
            if (call.Value != 1) { Console.WriteLine("{0}: called {1} times", call.Key, call.Value); ok = false; }
        }
        if (TesselPlatform.IgnoredAnswerCount != 0) { Console.WriteLine("stray answers: " + TesselPlatform.IgnoredAnswerCount); ok = false; }
        Console.WriteLine(ok ? "Every callback came back once ({0} callbacks)." : "FAILED", Calls.Count);
        return ok ? 0 : 1;
    }
}
