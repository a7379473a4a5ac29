using System;
using System.IO;
using NUnit.Framework;
using Tessel.PCSDK;
using Tessel.PCSDK.Ludex;

namespace Tessel.PCSDK.Tests
{
    /// <summary>
    /// What the binding tells the game when nobody listens. Its own platform
    /// set-up: the shared fixture subscribes to the exception event.
    /// </summary>
    [TestFixture]
    public class DiagnosticsTests
    {
        [Test]
        public void CallbackExceptionWithoutSubscriberIsWrittenToStandardError()
        {
            TextWriter before = Console.Error;
            var error = new StringWriter();
            bool ran = false;
            Assert.AreEqual(ResultCodes.Success, TesselPlatform.Initialize("csharp-diagnostics").ResultCode);
            try
            {
                Assert.AreEqual(ResultCodes.Success, GamingServices.Initialize().ResultCode);
                GamingServices.FetchCharacter("hero", "eu", r => { ran = true; throw new InvalidTimeZoneException("zone of the callback"); });
                Console.SetError(error);
                TesselPlatform.RunCallbacks();
            }
            finally
            {
                Console.SetError(before);
                GamingServices.UnInitialize();
                TesselPlatform.UnInitialize();
            }
            Assert.IsTrue(ran);
            string[] lines = error.ToString().Split(new[] { '\n' }, StringSplitOptions.RemoveEmptyEntries);
            Assert.AreEqual(1, lines.Length, error.ToString());
            StringAssert.Contains("System.InvalidTimeZoneException: zone of the callback", lines[0]);
        }
    }
}
