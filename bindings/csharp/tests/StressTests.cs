using System;
using System.Collections.Generic;
using System.Threading;
using NUnit.Framework;
using Tessel.PCSDK;
using Tessel.PCSDK.Ludex;
using Tessel.PCSDK.Panora;
using Tessel.PCSDK.Sandbox;

namespace Tessel.PCSDK.Tests
{
    /// <summary>
    /// Request threads, a popup closer and the game loop, which pumps and now
    /// and then quits and starts the platform again, for two seconds: every
    /// callback runs once, on the loop's thread, a popup's result before its
    /// destroy notice, and a list answer carries its own key's list.
    /// </summary>
    [TestFixture]
    public class StressTests : SandboxFixture
    {
        sealed class Counters
        {
            internal long Made, Answered, Faults;
            internal int Loop;
        }

        // Counts the callback's one call; a second call, or one off the loop, is a fault.
        static Action<T> Once<T>(Counters counters, Func<T, bool> ok)
        {
            int calls = 0;
            Interlocked.Increment(ref counters.Made);
            return value =>
            {
                Interlocked.Increment(ref counters.Answered);
                if (Interlocked.Increment(ref calls) != 1 || Thread.CurrentThread.ManagedThreadId != counters.Loop || !ok(value))
                    Interlocked.Increment(ref counters.Faults);
            };
        }

        static void Start()
        {
            TesselPlatform.Initialize("csharp-stress");
            GamingServices.Initialize();
            Popups.Initialize();
        }

        [Test]
        public void EveryCallbackOnceWhileTheLoopQuitsAndRestarts()
        {
            var counts = new Dictionary<string, int>();
            foreach (string key in new[] { "event", "none" })
            {
                var alone = Popups.FetchListAsync(Popups.Kind.Manual, key);
                PumpUntilIdle();
                counts[key] = alone.Result.Data.Popups.Count;
            }
            var counters = new Counters { Loop = Thread.CurrentThread.ManagedThreadId };
            bool stop = false;
            var threads = new List<Thread>();
            foreach (string key in new[] { "event", "none", "event" })
            {
                int expected = counts[key];
                threads.Add(new Thread(() =>
                {
                    while (!Volatile.Read(ref stop))
                    {
                        GamingServices.FetchCharacter("hero", "eu", Once<TesselResult<string>>(counters, r => true));
                        // A list answer is its key's list, or an empty one when the platform was down.
                        Popups.FetchList(Popups.Kind.Manual, key, Once<TesselResult<PopupList>>(counters,
                            r => r.Succeeded ? r.Data.Popups.Count == expected : r.Data.Popups.Count == 0));
                        int shown = 0;
                        Popups.ShowEx(Popups.Kind.News, null, WebViewMode.Embedded,
                                      Once<TesselResult>(counters, r => Interlocked.Exchange(ref shown, 1) == 0),
                                      Once<TesselResult>(counters, r => Volatile.Read(ref shown) == 1));
                        Thread.Sleep(1);
                    }
                }));
            }
            threads.Add(new Thread(() =>
            {
                while (!Volatile.Read(ref stop))
                {
                    Thread.Sleep(2);
                    SandboxControl.CloseAllPopups();
                }
            }));
            foreach (Thread thread in threads) thread.Start();
            int quits = 0;
            DateTime end = DateTime.UtcNow.AddSeconds(2);
            DateTime nextQuit = DateTime.UtcNow;
            while (DateTime.UtcNow < end)
            {
                TesselPlatform.RunCallbacks();
                if (DateTime.UtcNow >= nextQuit)
                {
                    TesselPlatform.UnInitialize();
                    ++quits;
                    Start();
                    nextQuit = DateTime.UtcNow.AddMilliseconds(5);
                }
            }
            Volatile.Write(ref stop, true);
            foreach (Thread thread in threads) thread.Join();
            SandboxControl.CloseAllPopups();
            PumpUntilIdle(5000);
            TesselPlatform.UnInitialize();
            Start();
            Assert.AreEqual(0, TesselPlatform.PendingRequestCount);
            Assert.AreEqual(Interlocked.Read(ref counters.Made), Interlocked.Read(ref counters.Answered),
                            "callbacks that never ran");
            Assert.AreEqual(0, Interlocked.Read(ref counters.Faults), "callbacks twice, off the loop, out of order or with another's answer");
            Assert.Greater(quits, 10);
            // A request sent while the loop quit was abandoned at the quit; its late answer finds nothing.
            ExpectIgnoredAnswers(TesselPlatform.IgnoredAnswerCount);
            Console.WriteLine("stress: {0} callbacks, {1} quits", counters.Made, quits);
        }
    }
}
