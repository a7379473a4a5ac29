using System;
using System.Collections.Generic;
using System.Linq;
using System.Threading.Tasks;
using NUnit.Framework;
using Tessel.PCSDK;
using Tessel.PCSDK.Ludex;
using Tessel.PCSDK.Panora;
using Tessel.PCSDK.Sandbox;
using Tessel.PCSDK.Scrivo;
using Tessel.PCSDK.Vendra;

namespace Tessel.PCSDK.Tests
{
    /// <summary>Every module's requests, end to end through the binding and the sandbox.</summary>
    [TestFixture]
    public class ModuleTests : SandboxFixture
    {
        static readonly WindowOptions Window = new WindowOptions { Mode = WebViewMode.Embedded, Width = 800, Height = 600 };

        [Test]
        public void VendraShopAndPurchaseRoundTrip()
        {
            var categories = Shop.FetchShopCategoriesAsync();
            var page = Shop.FetchProductsAsync("", 1, 5);
            var pageEx = Shop.FetchProductsExAsync("weapons-swords", 1, 20);
            var voided = Shop.FetchVoidedPurchasesAsync();
            var terms = Shop.FetchTermsAgreementAsync(Window);
            PumpUntilIdle();
            Assert.AreEqual(6, categories.Result.Data.Count);
            Assert.AreEqual("Swords", categories.Result.Data[1].Name);
            Assert.AreEqual("weapons", categories.Result.Data[1].ParentCategoryId);
            Assert.AreEqual(5, page.Result.Data.Count);
            Product sword = page.Result.Data[0];
            Assert.AreEqual(101, sword.ProductId);
            Assert.AreEqual("Iron Sword", sword.Name);
            Assert.AreEqual("$3.00", sword.DisplaySalePriceString);
            Assert.AreEqual(1798761600000L, sword.SaleEndDate);
            Assert.IsTrue(pageEx.Result.Data.All(p => p.CategoryId == "weapons-swords"));
            Assert.AreEqual(2, voided.Result.Data.Count);
            Assert.AreEqual("sandbox.106", voided.Result.Data[0].MarketProductId);
            StringAssert.StartsWith("Sandbox Shop terms", terms.Result.Data.Terms);

            var purchase = Shop.StartPurchaseExAsync(new[] { new OrderProduct(sword.ProductId, sword.SalePrice, 2) }, Window,
                                                     "txn-1", "extra ✓");
            PumpUntilIdle(200);
            TesselResult<PurchaseResult> bought = purchase.Answer.Result;
            Assert.IsTrue(bought.Succeeded, bought.ToString());
            Assert.AreEqual(Shop.Operations.StartPurchase, bought.OperationCode);
            Assert.AreEqual("extra ✓", bought.Data.ExtraData);
            Assert.IsFalse(purchase.Destroyed.IsCompleted, "the window is still open");

            var confirm = Shop.ConfirmPurchaseAsync(bought.Data.TransactionMasterNumber);
            var payment = Shop.StartPaymentExAsync(Window);
            SandboxControl.CloseAllPopups();
            PumpUntilIdle();
            Assert.IsTrue(confirm.Result.Succeeded, confirm.Result.ToString());
            Assert.IsTrue(purchase.Destroyed.IsCompleted);
            Assert.IsTrue(payment.Answer.Result.Succeeded);
            StringAssert.Contains("paymentId", payment.Answer.Result.Data);
            SandboxControl.CloseAllPopups();
            PumpUntilIdle();
            Assert.IsTrue(payment.Destroyed.IsCompleted);

            var inventory = Shop.FetchInventoryAsync();
            var withdraw = Shop.WithdrawGameAsync(Window);
            PumpUntilIdle(200);
            Assert.IsTrue(inventory.Result.Succeeded);
            Assert.IsTrue(withdraw.Answer.Result.Succeeded, withdraw.Answer.Result.ToString());
            Assert.AreEqual(ResultCodes.Success, Shop.CloseAllPopups().ResultCode);
            PumpUntilIdle();
            Assert.IsTrue(withdraw.Destroyed.IsCompleted);
            Assert.AreEqual("1.0.0", Shop.GetVersion().Data);
        }

        [Test]
        public void PanoraPopupsListsAndKeys()
        {
            var shown = new List<TesselResult>();
            var destroyed = new List<TesselResult>();
            foreach (Popups.Kind kind in Enum.GetValues(typeof(Popups.Kind)))
            {
                Popups.ShowEx(kind, "event", WebViewMode.Windowed, shown.Add, destroyed.Add);
            }
            var auto = Popups.FetchListAsync(Popups.Kind.Auto, null);
            var manual = Popups.FetchListAsync(Popups.Kind.Manual, "event");
            var news = Popups.FetchListAsync(Popups.Kind.News, null);
            var key = Popups.FetchWebOpenKeyAsync();
            var disallowed = Popups.SetPopupDisallowedAsync(1001, 7);
            var identity = Popups.VerifyIdentificationAsync(true, WebViewMode.Embedded);
            TesselPlatform.RunCallbacks();
            Assert.AreEqual(4, shown.Count);
            Assert.IsTrue(shown.All(r => r.Succeeded), string.Join("; ", shown));
            Assert.AreEqual(new uint[] { 81, 83, 85, 87 }, shown.Select(r => r.OperationCode).ToArray());
            Assert.AreEqual(0, destroyed.Count, "the popups are still open");
            Assert.AreEqual("Welcome back, adventurer!", auto.Result.Data.Popups[0].Text1);
            Assert.AreEqual("Open", auto.Result.Data.Popups[0].Pair1.Second);
            Assert.AreEqual(2, manual.Result.Data.Popups.Count);
            Assert.AreEqual(2002, manual.Result.Data.Popups[1].Number1);
            Assert.AreEqual(Popups.Operations.FetchNewsPopups, news.Result.OperationCode);
            StringAssert.StartsWith("sandbox-web-open-key-", key.Result.Data);
            Assert.IsTrue(disallowed.Result.Succeeded);
            Assert.IsTrue(identity.Answer.Result.Succeeded);

            Assert.AreEqual(ResultCodes.Success, Popups.CloseAllPopups().ResultCode);
            PumpUntilIdle();
            Assert.AreEqual(4, destroyed.Count);
            Assert.IsTrue(identity.Value.IsCompleted);
            Assert.AreEqual(0u, SandboxControl.OpenPopupCount);
        }

        [Test]
        public void ScrivoAndLudexRoundTrip()
        {
            var sent = GameLog.SendAsync(new LogRecord { Auid = 7, Contents = "level up", GameVersion = "1.2" });
            var character = GamingServices.FetchCharacterAsync("hero", "eu");
            Assert.AreEqual(1, TraceCount("request Scrivo op=80"));
            TesselPlatform.RunCallbacks();
            Assert.IsTrue(sent.Result.Succeeded);
            Assert.AreEqual(GameLog.SendLogOperation, sent.Result.OperationCode);
            StringAssert.Contains("\"characterId\":\"hero\"", character.Result.Data);
            Assert.AreEqual("1.0.0", GamingServices.GetVersion().Data);
            Assert.AreEqual("1.0.0", GameLog.GetVersion().Data);
            Assert.AreEqual("1.0.0", Popups.GetVersion().Data);
        }

        [Test]
        public void NullArgumentsThrowBeforeAnythingIsSent()
        {
            Assert.Throws<ArgumentNullException>(() => GamingServices.FetchCharacter(null, "eu", r => { }));
            Assert.Throws<ArgumentNullException>(() => GamingServices.FetchCharacterAsync("hero", null));
            Assert.Throws<ArgumentNullException>(() => GameLog.Send(new LogRecord(), null));
            Assert.Throws<ArgumentNullException>(() => Shop.StartPurchaseAsync(null, Window, null, null));
            Assert.Throws<ArgumentNullException>(() => Shop.FetchTermsAgreementExAsync(null));
            Assert.Throws<ArgumentNullException>(() => Popups.FetchListAsync(Popups.Kind.Manual, null));
            Assert.Throws<ArgumentNullException>(() => Popups.ShowEx(Popups.Kind.Auto, null, WebViewMode.Embedded, r => { }, null));
            Assert.AreEqual(0, TraceCount("request"));
            Assert.AreEqual(0, TesselPlatform.PendingRequestCount);
        }
    }
}
