using System;
using System.Collections.Generic;
using System.Linq;
using NUnit.Framework;
using Tessel.PCSDK;
using Tessel.PCSDK.Ludex;
using Tessel.PCSDK.Panora;
using Tessel.PCSDK.Sandbox;
using Tessel.PCSDK.Scrivo;
using Tessel.PCSDK.Vendra;

namespace Tessel.PCSDK.Tests
{
    /// <summary>
    /// Every test runs against the real libraries and the sandbox: the
    /// platform and the four modules initialized, no scripted outcome, no
    /// latency, the trace collected. After each test the pending table must
    /// be empty and no answer may have arrived for nothing.
    /// </summary>
    public abstract class SandboxFixture
    {
        protected readonly List<string> Trace = new List<string>();
        protected readonly List<Exception> Thrown = new List<Exception>();
        long _ignoredBefore;

        [SetUp]
        public void StartPlatform()
        {
            Trace.Clear();
            Thrown.Clear();
            SandboxControl.ClearOutcomes();
            SandboxControl.SetLatency(0);
            SandboxControl.SetTrace(line => { lock (Trace) Trace.Add(line); });
            TesselPlatform.UnhandledException += Record;
            Assert.AreEqual(ResultCodes.Success, TesselPlatform.Initialize("csharp-tests").ResultCode);
            Assert.AreEqual(ResultCodes.Success, Shop.Initialize("store").ResultCode);
            Assert.AreEqual(ResultCodes.Success, Popups.Initialize().ResultCode);
            Assert.AreEqual(ResultCodes.Success, GameLog.Initialize().ResultCode);
            Assert.AreEqual(ResultCodes.Success, GamingServices.Initialize().ResultCode);
            _ignoredBefore = TesselPlatform.IgnoredAnswerCount;
        }

        [TearDown]
        public void StopPlatform()
        {
            try
            {
                if (TesselPlatform.IsInitialized)
                {
                    SandboxControl.SetLatency(0);
                    SandboxControl.CloseAllPopups();
                    TesselPlatform.RunCallbacks();
                    Assert.AreEqual(0, TesselPlatform.PendingRequestCount, "requests left pending");
                    GamingServices.UnInitialize();
                    GameLog.UnInitialize();
                    Popups.UnInitialize();
                    Shop.UnInitialize();
                    TesselPlatform.UnInitialize();
                }
                Assert.AreEqual(0, TesselPlatform.PendingRequestCount, "requests left pending");
                Assert.AreEqual(_ignoredBefore, TesselPlatform.IgnoredAnswerCount, "answers arrived for no request");
            }
            finally
            {
                TesselPlatform.UnhandledException -= Record;
                SandboxControl.SetTrace(null);
                SandboxControl.ClearOutcomes();
            }
        }

        void Record(object sender, UnhandledExceptionEventArgs e)
        {
            Thrown.Add((Exception)e.ExceptionObject);
        }

        /// <summary>Takes <paramref name="count"/> as the ignored answers a test expects by its end.</summary>
        protected void ExpectIgnoredAnswers(long count)
        {
            _ignoredBefore = count;
        }

        protected int TraceCount(string prefix)
        {
            lock (Trace) return Trace.Count(line => line.StartsWith(prefix, StringComparison.Ordinal));
        }

        /// <summary>Pumps until nothing is pending (or the time is up).</summary>
        protected static void PumpUntilIdle(int milliseconds = 2000)
        {
            DateTime end = DateTime.UtcNow.AddMilliseconds(milliseconds);
            do
            {
                TesselPlatform.RunCallbacks();
                if (TesselPlatform.PendingRequestCount == 0) return;
                System.Threading.Thread.Sleep(1);
            } while (DateTime.UtcNow < end);
        }
    }
}
