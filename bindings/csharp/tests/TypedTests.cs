using System;
using System.Linq;
using NUnit.Framework;
using Tessel.PCSDK;
using Tessel.PCSDK.Ludex;
using Tessel.PCSDK.Panora;
using Tessel.PCSDK.Sandbox;
using Tessel.PCSDK.Vendra;

namespace Tessel.PCSDK.Tests
{
    /// <summary>The typed surface over the platform's numbers, times and texts.</summary>
    [TestFixture]
    public class TypedTests : SandboxFixture
    {
        [Test]
        public void AnswersAreTypedAndFailuresThrowOnRequest()
        {
            // An unknown code keeps its number, the known one its name.
            SandboxControl.PushOutcome(new SandboxOutcome
            {
                Module = SandboxModule.Ludex, OperationCode = GamingServices.FetchCharacterOperation, Count = 1,
                ResultCode = 4242, Message = "odd"
            });
            var odd = GamingServices.FetchCharacterAsync("hero", "eu");
            var hero = GamingServices.FetchCharacterAsync("hero", "eu");
            var page = Shop.FetchProductsAsync("weapons-swords", 1, 10);
            var payment = Shop.StartPaymentExAsync(new WindowOptions());
            var identity = Popups.VerifyIdentificationAsync(true, WebViewMode.Embedded);
            PumpUntilIdle(200);
            Assert.AreEqual("4242", odd.Result.Code.ToString());
            var thrown = Assert.Throws<TesselException>(() => odd.Result.EnsureSuccess());
            Assert.AreEqual((TesselResultCode)4242, thrown.Code);
            Assert.AreSame(odd.Result, thrown.Result);
            Assert.AreEqual(GamingServices.FetchCharacterOperation, thrown.OperationCode);
            Assert.AreEqual("odd", thrown.PlatformMessage);

            CharacterInfo character = CharacterInfo.Parse(hero.Result.EnsureSuccess());
            Assert.AreEqual(42, character.Level);
            Assert.AreEqual("eu", character.ServerId);
            Assert.IsNull(CharacterInfo.Parse(odd.Result.Data), "an empty text is no object");
            Assert.AreEqual("approved", PaymentInfo.Parse(payment.Answer.Result.Data).Status);
            Assert.AreEqual(true, IdentityVerification.Parse(identity.Value.Result.Data).Verified);
            TesselResult awaited = identity.GetAwaiter().GetResult();
            Assert.AreSame(identity.Answer.Result, awaited);

            Product sword = page.Result.Data[0];
            Assert.AreEqual(ProductType.InGameItem, sword.ProductTypeCode);
            Assert.AreEqual(sword.SaleBeginDate, sword.SaleBegins.ToUnixTimeMilliseconds());
            Assert.AreEqual(TimeSpan.Zero, sword.SaleBegins.Offset);
            Assert.AreEqual(TimeSpan.FromMilliseconds(1500), new SandboxOutcome { DelayMs = 1500 }.Delay);
        }

        [Test]
        public void ScopesUndoOnlyWhatTheyDid()
        {
            // Initialized by the fixture already: the scope owns nothing.
            using (TesselScope shop = Shop.Open("store")) Assert.IsFalse(shop.OwnsInitialization);
            Assert.IsTrue(Shop.GetVersion().Succeeded);
            Assert.AreEqual(ResultCodes.Success, Scrivo.GameLog.UnInitialize().ResultCode);
            TesselScope log = Scrivo.GameLog.Open();
            log.Dispose();
            log.Dispose();
            Assert.AreEqual(TesselResultCode.Success, log.Closed.Code);
            Assert.AreEqual(TesselResultCode.NotInitialized, Scrivo.GameLog.UnInitialize().Code, "the scope uninitialized it once");
            Assert.AreEqual(ResultCodes.Success, Scrivo.GameLog.Initialize().ResultCode);
        }
    
        [Test]
        public void TextsWithANulOrAnUnpairedSurrogateNameTheCallersParameter()
        {
            var nul = Assert.Throws<ArgumentException>(() => GamingServices.FetchCharacter("hero", "eu\0west", r => { }));
            Assert.AreEqual("serverId", nul.ParamName);
            var member = Assert.Throws<ArgumentException>(() => Scrivo.GameLog.Send(new Scrivo.LogRecord { Contents = "a\0b" }, r => { }));
            Assert.AreEqual("record", member.ParamName);
            StringAssert.Contains("record.Contents", member.Message);
            var key = Assert.Throws<ArgumentException>(() => Popups.FetchList(Popups.Kind.Manual, "ev\0ent", r => { }));
            Assert.AreEqual("key", key.ParamName);
            var surrogate = Assert.Throws<ArgumentException>(() => Shop.FetchProducts("weapons\uD800", 1, 10, r => { }));
            Assert.AreEqual("categoryId", surrogate.ParamName);
            Assert.AreEqual(0, TesselPlatform.PendingRequestCount, "nothing was sent");
        }
    
        [Test]
        public void PendingRequestCountCountsRequestsNotAnswers()
        {
            for (int i = 0; i < 7; ++i) Scrivo.GameLog.Send(new Scrivo.LogRecord(), r => { });
            Popups.ShowEx(Popups.Kind.News, null, WebViewMode.Embedded, r => { }, r => { });
            Shop.StartPaymentEx(new WindowOptions(), r => { }, r => { });
            Popups.VerifyIdentification(true, WebViewMode.Embedded, r => { }, r => { });
            Assert.AreEqual(10, TesselPlatform.PendingRequestCount);
            TesselPlatform.RunCallbacks();
            Assert.AreEqual(2, TesselPlatform.PendingRequestCount, "the two windows wait for their destroy notices");
            SandboxControl.CloseAllPopups();
            PumpUntilIdle();
            Assert.AreEqual(0, TesselPlatform.PendingRequestCount);
        }
    }
}
