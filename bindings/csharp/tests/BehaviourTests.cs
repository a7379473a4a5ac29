using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;
using System.Runtime.InteropServices;
using System.Threading;
using System.Threading.Tasks;
using NUnit.Framework;
using Tessel.PCSDK;
using Tessel.PCSDK.Interop;
using Tessel.PCSDK.Ludex;
using Tessel.PCSDK.Panora;
using Tessel.PCSDK.Sandbox;
using Tessel.PCSDK.Scrivo;
using Tessel.PCSDK.Vendra;

namespace Tessel.PCSDK.Tests
{
    /// <summary>What the binding promises besides the data: when, where and how often callbacks run.</summary>
    [TestFixture]
    public class BehaviourTests : SandboxFixture
    {
        /// <summary>GC-stress rounds: every one sends a request of every module, collects, then pumps.</summary>
        public const int StressRounds = 500;

        [Test]
        public void TheConsoleStartsOnceOnLoopbackAndStops()
        {
            string url;
            Assert.AreEqual(ResultCodes.Success, SandboxControl.StartConsole(0, out url));
            try
            {
                StringAssert.IsMatch(@"^http://127\.0\.0\.1:[0-9]+/\?token=[0-9a-f]{32}$", url);
                string again;
                Assert.AreEqual(ResultCodes.AlreadyInitialized, SandboxControl.StartConsole(0, out again));
                Assert.AreEqual(url, again);
            }
            finally
            {
                SandboxControl.StopConsole();
            }
            string restarted;
            Assert.AreEqual(ResultCodes.Success, SandboxControl.StartConsole(0, out restarted));
            SandboxControl.StopConsole();
            Assert.AreNotEqual(url, restarted, "a new console has a new token");
        }

        [Test]
        public void NothingCompletesBeforeThePumpAndOnlyOnThePumpingThread()
        {
            int threadId = -1;
            var character = GamingServices.FetchCharacterAsync("hero", "eu");
            character.ContinueWith(t => threadId = Thread.CurrentThread.ManagedThreadId, TaskContinuationOptions.ExecuteSynchronously);
            bool called = false;
            Shop.FetchInventory(r => called = true);
            Thread.Sleep(20);
            Assert.IsFalse(character.IsCompleted);
            Assert.IsFalse(called);

            // Pumped from another thread: that thread completes the task and runs the continuation.
            int pumper = 0;
            var thread = new Thread(() => { pumper = Thread.CurrentThread.ManagedThreadId; TesselPlatform.RunCallbacks(); });
            thread.Start();
            thread.Join();
            Assert.IsTrue(character.IsCompleted && called);
            Assert.AreEqual(pumper, threadId);
        }

        [Test]
        public void EveryRequestCompletesExactlyOnceUnderGcStress()
        {
            int sent = 0, completed = 0;
            var perRequest = new Dictionary<int, int>();
            Action<int, TesselResult> done = (id, r) => { ++completed; perRequest[id] = perRequest.TryGetValue(id, out int n) ? n + 1 : 1; };
            int before = TraceCount("answer delivered");
            for (int round = 0; round < StressRounds; ++round)
            {
                int a = sent++, b = sent++, c = sent++, d = sent++;
                GamingServices.FetchCharacter("hero-" + round, "eu", r => done(a, r));
                GameLog.Send(new LogRecord { Contents = "round " + round }, r => done(b, r));
                Shop.FetchProducts("", 1, 3, r => done(c, r));
                Popups.FetchList(Popups.Kind.News, null, r => done(d, r));
                GC.Collect();
                GC.WaitForPendingFinalizers();
                GC.Collect();
                TesselPlatform.RunCallbacks();
            }
            Assert.AreEqual(sent, completed);
            Assert.IsTrue(perRequest.Values.All(n => n == 1));
            Assert.AreEqual(sent, TraceCount("answer delivered") - before, "the sandbox delivered one answer per request");
            Assert.AreEqual(sent, TraceCount("request "));
            Console.WriteLine("GC-stress: {0} rounds, {1} callbacks counted once each", StressRounds, completed);
        }

        [Test]
        public void RequestsFromManyThreadsCompleteOnceOnThePumpingThread()
        {
            const int threads = 4, each = 100;
            int pump = Thread.CurrentThread.ManagedThreadId, completed = 0, elsewhere = 0;
            var senders = Enumerable.Range(0, threads).Select(t => new Thread(() =>
            {
                for (int i = 0; i < each; ++i)
                {
                    GamingServices.FetchCharacter("hero-" + t + "-" + i, "eu", r =>
                    {
                        Interlocked.Increment(ref completed);
                        if (Thread.CurrentThread.ManagedThreadId != pump || !r.Data.Contains("hero-" + t + "-")) Interlocked.Increment(ref elsewhere);
                    });
                }
            })).ToList();
            senders.ForEach(thread => thread.Start());
            while (senders.Any(thread => thread.IsAlive)) TesselPlatform.RunCallbacks();
            PumpUntilIdle();
            Assert.AreEqual(threads * each, completed);
            Assert.AreEqual(0, elsewhere, "a callback ran off the pumping thread or got another request's answer");
        }

        [Test]
        public void ScriptedOutcomesAndLatency()
        {
            Assert.AreEqual(ResultCodes.Success, SandboxControl.PushOutcome(new SandboxOutcome
            {
                Module = SandboxModule.Ludex, OperationCode = GamingServices.FetchCharacterOperation, Count = 1,
                ResultCode = ResultCodes.NotFound, Message = "Нет такого героя"
            }));
            var failed = GamingServices.FetchCharacterAsync("ghost", "eu");
            var next = GamingServices.FetchCharacterAsync("hero", "eu");
            TesselPlatform.RunCallbacks();
            Assert.AreEqual(ResultCodes.NotFound, failed.Result.ResultCode);
            Assert.AreEqual("Нет такого героя", failed.Result.Message);
            Assert.AreEqual("NOT_FOUND", failed.Result.CodeName);
            Assert.AreEqual(string.Empty, failed.Result.Data);
            Assert.IsTrue(next.Result.Succeeded, "the rule was used up");

            SandboxControl.SetLatency(80);
            var slow = GameLog.SendAsync(new LogRecord());
            TesselPlatform.RunCallbacks();
            Assert.IsFalse(slow.IsCompleted, "not due yet");
            Thread.Sleep(100);
            TesselPlatform.RunCallbacks();
            Assert.IsTrue(slow.Result.Succeeded);
        }

        [Test]
        public void ScriptedFailureFromAProfile()
        {
            const string profile = "{\"latencyMs\": 60, \"outcomes\": [{\"module\": \"Panora\", \"operationCode\": 85, " +
                                   "\"popupCreated\": false}]}";
            try
            {
                Assert.AreEqual(ResultCodes.Success, SandboxControl.LoadProfileText(profile), SandboxControl.LastProfileError);
                var news = Popups.ShowExAsync(Popups.Kind.News, null, WebViewMode.Embedded);
                TesselPlatform.RunCallbacks();
                Assert.IsFalse(news.Answer.IsCompleted, "the profile's latency holds the answer back");
                Thread.Sleep(80);
                TesselPlatform.RunCallbacks();
                Assert.AreEqual(ResultCodes.PopupNotCreated, news.Answer.Result.ResultCode);
                Assert.AreEqual(ResultCodes.PopupNotCreated, news.Destroyed.Result.ResultCode, "the destroy notice follows");

                Assert.AreEqual(ResultCodes.InvalidArgument, SandboxControl.LoadProfileText("{\"latencyMs\": \"soon\"}"));
                StringAssert.Contains("latencyMs", SandboxControl.LastProfileError);
            }
            finally
            {
                SandboxControl.LoadProfileText("{}");
            }
        }

        [Test]
        public void CancellationTakesEffectOnThePumpAndDropsTheAnswer()
        {
            SandboxControl.SetLatency(60);
            var cancel = new CancellationTokenSource();
            var task = GamingServices.FetchCharacterAsync("hero", "eu", cancel.Token);
            cancel.Cancel();
            Assert.IsFalse(task.IsCompleted, "cancellation waits for the pump");
            TesselPlatform.RunCallbacks();
            Assert.IsTrue(task.IsCanceled);
            Assert.AreEqual(1, TesselPlatform.PendingRequestCount, "the platform still owes its answer");
            Thread.Sleep(80);
            PumpUntilIdle();
            Assert.IsTrue(task.IsCanceled);

            int requests = TraceCount("request ");
            var already = GamingServices.FetchCharacterAsync("hero", "eu", cancel.Token);
            Assert.IsFalse(already.IsCompleted, "even a cancelled task completes on the pump");
            TesselPlatform.RunCallbacks();
            Assert.IsTrue(already.IsCanceled);
            Assert.AreEqual(requests, TraceCount("request "), "a request with a cancelled token is not sent");

            // An answer queued already loses to a cancellation made before the pump.
            SandboxControl.SetLatency(0);
            var queued = new CancellationTokenSource();
            var answered = GamingServices.FetchCharacterAsync("hero", "eu", queued.Token);
            Thread.Sleep(5);
            queued.Cancel();
            TesselPlatform.RunCallbacks();
            Assert.IsTrue(answered.IsCanceled, "cancelled before the pump that runs its answer");
        }

        [Test]
        public void ListAnswersReachTheirOwnFetchesUnderDelaysAndThreads()
        {
            // The first fetch's answer is slow, the second's fast: each still
            // gets the answer scripted for it.
            Assert.AreEqual(ResultCodes.Success, SandboxControl.PushOutcome(new SandboxOutcome
            {
                Module = SandboxModule.Panora, OperationCode = Popups.Operations.FetchManualPopups, Count = 1,
                ResultCode = ResultCodes.NotFound, Message = "slow", DelayMs = 120
            }));
            var slow = Popups.FetchListAsync(Popups.Kind.Manual, "slow");
            var fast = Popups.FetchListAsync(Popups.Kind.Manual, "fast");
            PumpUntilIdle();
            Assert.AreEqual("slow", slow.Result.Message);
            Assert.AreEqual(ResultCodes.Success, fast.Result.ResultCode);

            // Threads fetching the lists of two keys, answers scripted with
            // uneven delays: every answer carries its own key's list, once.
            var counts = new Dictionary<string, int>();
            foreach (string key in new[] { "event", "none" })
            {
                var alone = Popups.FetchListAsync(Popups.Kind.Manual, key);
                PumpUntilIdle();
                counts[key] = alone.Result.Data.Popups.Count;
            }
            Assert.AreNotEqual(counts["event"], counts["none"], "the two keys' lists must differ");
            const int PerThread = 150;
            for (int i = 0; i < 4 * PerThread; ++i)
            {
                SandboxControl.PushOutcome(new SandboxOutcome
                {
                    Module = SandboxModule.Panora, OperationCode = Popups.Operations.FetchManualPopups, Count = 1,
                    DelayMs = (uint)(i % 3 == 0 ? 4 : 0)
                });
            }
            int wrong = 0, answers = 0;
            var threads = new List<Thread>();
            foreach (string key in new[] { "event", "none", "event", "none" })
            {
                int expected = counts[key];
                var thread = new Thread(() =>
                {
                    for (int i = 0; i < PerThread; ++i)
                    {
                        Popups.FetchList(Popups.Kind.Manual, key, r =>
                        {
                            Interlocked.Increment(ref answers);
                            if (r.Data.Popups.Count != expected) Interlocked.Increment(ref wrong);
                        });
                    }
                });
                threads.Add(thread);
                thread.Start();
            }
            var deadline = DateTime.UtcNow.AddSeconds(30);
            while (Volatile.Read(ref answers) < 4 * PerThread && DateTime.UtcNow < deadline) TesselPlatform.RunCallbacks();
            foreach (Thread thread in threads) thread.Join();
            PumpUntilIdle();
            Assert.AreEqual(4 * PerThread, answers);
            Assert.AreEqual(0, wrong, "answers that reached the other key's fetch");
        }

        [Test]
        public void ShutdownCompletesEveryPendingRequestOnce()
        {
            SandboxControl.SetLatency(10000);
            var character = GamingServices.FetchCharacterAsync("hero", "eu");
            var purchase = Shop.StartPurchaseExAsync(new[] { new OrderProduct(101, 3.0, 1) }, new WindowOptions(), null, null);
            int calls = 0;
            GameLog.Send(new LogRecord(), r => ++calls);
            TesselPlatform.RunCallbacks();
            Assert.AreEqual(3, TesselPlatform.PendingRequestCount, "three requests, one of them with two answers");

            TesselPlatform.UnInitialize();
            Assert.AreEqual(ResultCodes.NotInitialized, character.Result.ResultCode);
            Assert.AreEqual(TesselResult.ShutdownMessage, character.Result.Message);
            Assert.AreEqual("Ludex", character.Result.Module);
            Assert.AreEqual(string.Empty, character.Result.Data);
            Assert.AreEqual(0, purchase.Answer.Result.Data.PurchasedProducts.Count);
            Assert.IsTrue(purchase.Destroyed.IsCompleted);
            Assert.AreEqual(1, calls);
            Assert.AreEqual(0, TesselPlatform.PendingRequestCount);
            TesselPlatform.RunCallbacks();
            Assert.AreEqual(1, calls);

            // Static state is reset: the platform starts again in the same domain.
            SandboxControl.SetLatency(0);
            Assert.AreEqual(ResultCodes.Success, TesselPlatform.Initialize("again").ResultCode);
            Assert.AreEqual(ResultCodes.AlreadyInitialized, TesselPlatform.Initialize("twice").ResultCode);
            Assert.AreEqual(ResultCodes.Success, GamingServices.Initialize().ResultCode);
            var again = GamingServices.FetchCharacterAsync("hero", "eu");
            TesselPlatform.RunCallbacks();
            Assert.IsTrue(again.Result.Succeeded);
            GamingServices.UnInitialize();
            TesselPlatform.UnInitialize();

            // With the platform uninitialized, a request still answers once, from the pump.
            var late = GamingServices.FetchCharacterAsync("hero", "eu");
            Assert.IsFalse(late.IsCompleted);
            TesselPlatform.RunCallbacks();
            Assert.AreEqual(ResultCodes.NotInitialized, late.Result.ResultCode);
        }

        [Test]
        public void QuitFromACallbackCompletesEveryPendingRequestOnce()
        {
            TesselResult quit = null;
            GamingServices.FetchCharacter("hero", "eu", r => quit = TesselPlatform.UnInitialize());
            var character = GamingServices.FetchCharacterAsync("hero", "eu");
            var order = new List<string>();
            Shop.StartPurchaseEx(new[] { new OrderProduct(101, 3.0, 1) }, new WindowOptions(), null, null,
                                 r => order.Add("result " + r.ResultCode), r => order.Add("destroyed " + r.ResultCode));
            int logs = 0;
            GameLog.Send(new LogRecord(), r => { ++logs; TesselPlatform.RunCallbacks(); });
            TesselPlatform.RunCallbacks();

            Assert.IsTrue(quit.Succeeded);
            Assert.IsFalse(TesselPlatform.IsInitialized);
            Assert.AreEqual(TesselResult.ShutdownMessage, character.Result.Message);
            Assert.AreEqual(new[] { "result 17", "destroyed 17" }, order);
            Assert.AreEqual(1, logs);
            Assert.AreEqual(0, TesselPlatform.PendingRequestCount);
            StringAssert.Contains("RunCallbacks was called from inside", Thrown.Single().Message, "re-entering the pump stays refused");
            Thrown.Clear();
            TesselPlatform.RunCallbacks();
            Assert.AreEqual(1, logs);
            Assert.AreEqual(2, order.Count);
        }

        [Test]
        public void NotInitializedAnswersThroughThePump()
        {
            GamingServices.UnInitialize();
            var character = GamingServices.FetchCharacterAsync("hero", "eu");
            Assert.IsFalse(character.IsCompleted);
            TesselPlatform.RunCallbacks();
            Assert.AreEqual(ResultCodes.NotInitialized, character.Result.ResultCode);
            Assert.AreEqual("Ludex is not Initialized.", character.Result.Message);
            Assert.AreEqual(ResultCodes.NotInitialized, GamingServices.UnInitialize().ResultCode);

            Shop.UnInitialize();
            var purchase = Shop.StartPurchaseExAsync(new OrderProduct[0], new WindowOptions(), null, null);
            TesselPlatform.RunCallbacks();
            Assert.AreEqual(ResultCodes.NotInitialized, purchase.Answer.Result.ResultCode);
            Assert.AreEqual(ResultCodes.PopupNotCreated, purchase.Destroyed.Result.ResultCode);
        }

        [TestCase("Привет, мир", "Сервер-1")]
        [TestCase("日本語のキャラクター", "東京")]
        [TestCase("hero 😀🐉", "𠀋𡈽 realm")]
        [TestCase("", "eu")]
        [TestCase("a character name too long for the stack memory a call lends, with 😀 and 日本語 at its end", "eu")]
        public void TextsSurviveBothWays(string characterId, string serverId)
        {
            var character = GamingServices.FetchCharacterAsync(characterId, serverId);
            TesselPlatform.RunCallbacks();
            StringAssert.Contains("\"characterId\":\"" + characterId + "\"", character.Result.Data);
            StringAssert.Contains("\"serverId\":\"" + serverId + "\"", character.Result.Data);
        }

        [Test]
        public unsafe void CodecKeepsNullEmptyAndAstralCharacters()
        {
            Assert.AreEqual(IntPtr.Zero, WideText.Alloc(null, "text"));
            Assert.IsNull(WideText.Read(IntPtr.Zero));
            const string text = "a😀日";
            IntPtr native = WideText.Alloc(text, "text");
            IntPtr empty = WideText.Alloc(string.Empty, "text");
            try
            {
                if (WideText.Width == 4)
                {
                    Assert.AreEqual(0x1F600, Marshal.ReadInt32(native, 4), "one code point, not two surrogates");
                    Assert.AreEqual(0x65E5, Marshal.ReadInt32(native, 8));
                    // What is no code point reads as U+FFFD, whatever else the text holds.
                    uint[] units = { 0x8A9E, 0x5B57, 0xFF01, 0, 0x41, 0 };
                    fixed (uint* p = units)
                    {
                        foreach (uint unit in new uint[] { 0xD800, 0xDFFF, 0x110000, 0xFFFFFFFF })
                        {
                            units[3] = unit;
                            Assert.AreEqual("語字！\uFFFDA", WideText.Read((IntPtr)p), unit.ToString("X"));
                        }
                    }
                }
                Assert.AreEqual(text, WideText.Read(native));
                Assert.AreEqual(string.Empty, WideText.Read(empty));
            }
            finally
            {
                WideText.Free(native);
                WideText.Free(empty);
            }
            Assert.Catch<ArgumentException>(() => GamingServices.FetchCharacter("broken \uD800", "eu", r => { }),
                                             "an unpaired surrogate is refused before the request is sent");
            Assert.AreEqual(0, TesselPlatform.PendingRequestCount);
        }

        [Test]
        public void CallbackExceptionsAndReentryAreReportedNotPropagated()
        {
            bool secondRan = false;
            GamingServices.FetchCharacter("hero", "eu", r => { throw new InvalidTimeZoneException("game bug"); });
            GamingServices.FetchCharacter("hero", "eu", r => TesselPlatform.RunCallbacks());
            GamingServices.FetchCharacter("hero", "eu", r => secondRan = true);
            TesselPlatform.RunCallbacks();
            Assert.IsTrue(secondRan, "the pump went on");
            Assert.AreEqual(2, Thrown.Count);
            Assert.IsInstanceOf<InvalidTimeZoneException>(Thrown[0]);
            Assert.IsInstanceOf<InvalidOperationException>(Thrown[1]);
            StringAssert.Contains("inside a Tessel callback", Thrown[1].Message);
            Thrown.Clear();
        }

        [Test]
        public unsafe void LateUnknownAndUncopyableAnswers()
        {
            var record = new TesselAPICallbackResult_W4 { userContext = new IntPtr(long.MaxValue) };
            var record2 = new TesselAPICallbackResult_W2 { userContext = new IntPtr(long.MaxValue) };
            long before = TesselPlatform.IgnoredAnswerCount;
            IntPtr address = WideText.Width == 4 ? (IntPtr)(&record) : (IntPtr)(&record2);
            Trampolines.Text(address, IntPtr.Zero);
            Trampolines.Result(address);
            Assert.AreEqual(before + 2, TesselPlatform.IgnoredAnswerCount);
            // The fixture checks that nothing else arrived for nothing.
            ExpectIgnoredAnswers(before + 2);

            // An answer that cannot be copied still reaches its callback, once, as out of memory.
            var heard = new List<TesselResult<int>>();
            IntPtr context = Requests.Register<int>(80, "Ludex", heard.Add,
                                                    (ref RawAnswer raw) => { throw new FormatException("cannot copy"); });
            record.userContext = record2.userContext = context;
            Trampolines.Text(address, IntPtr.Zero);
            Trampolines.Text(address, IntPtr.Zero);
            Assert.AreEqual(1, heard.Count);
            Assert.AreEqual(ResultCodes.OutOfMemory, heard[0].ResultCode);
            Assert.IsInstanceOf<FormatException>(Thrown.Single());
            Thrown.Clear();
            ExpectIgnoredAnswers(before + 3);
        }

        [Test]
        public void RequestTableKeepsOldRequestsThroughWrapAndGrowth()
        {
            // One request stays while thousands pass its slot, then hundreds wait at once.
            var heard = new List<int>();
            Func<int, IntPtr> register = n => Requests.Register<bool>((uint)n, "Ludex", r => heard.Add(n), Requests.NoData);
            IntPtr old = register(1);
            for (int i = 0; i < 3000; ++i) Assert.IsNotNull(PendingTable.Take(register(2)));
            var waiting = Enumerable.Range(100, 700).Select(n => Tuple.Create(n, register(n))).ToList();
            Assert.AreEqual(701, TesselPlatform.PendingRequestCount);
            foreach (var request in waiting.OrderBy(r => (r.Item1 * 7919) % 701))
            {
                var header = new ResultHeader();
                var raw = new RawAnswer();
                PendingTable.Take(request.Item2).Complete(ref header, ref raw);
            }
            Assert.AreEqual(1, TesselPlatform.PendingRequestCount);
            Assert.AreEqual(1u, PendingTable.Take(old).Operation);
            Assert.IsNull(PendingTable.Take(old), "taken once");
            ExpectIgnoredAnswers(TesselPlatform.IgnoredAnswerCount);
            Assert.AreEqual(Enumerable.Range(100, 700).OrderBy(n => n), heard.OrderBy(n => n));
        }

        [Test]
        public void EveryDelegateHandedToNativeCodeIsStaticHeldAndMarked()
        {
            Assembly binding = typeof(TesselPlatform).Assembly;
            var nativeDelegates = binding.GetTypes()
                .Where(t => typeof(Delegate).IsAssignableFrom(t) && t.GetCustomAttributes(typeof(UnmanagedFunctionPointerAttribute), false).Length > 0)
                .ToList();
            Assert.GreaterOrEqual(nativeDelegates.Count, 9);
            // Every parameter of a native entry point that takes a delegate takes one of these types...
            var nativeParameters = binding.GetTypes().SelectMany(t => t.GetMethods(BindingFlags.Static | BindingFlags.NonPublic))
                .Where(m => (m.Attributes & MethodAttributes.PinvokeImpl) != 0)
                .SelectMany(m => m.GetParameters()).Where(p => typeof(Delegate).IsAssignableFrom(p.ParameterType)).ToList();
            Assert.IsNotEmpty(nativeParameters);
            Assert.IsTrue(nativeParameters.All(p => nativeDelegates.Contains(p.ParameterType)));
            // ...and every value of those types lives in a static read-only field, bound to a marked static method.
            var fields = binding.GetTypes().SelectMany(t => t.GetFields(BindingFlags.Static | BindingFlags.NonPublic | BindingFlags.Public))
                .Where(f => nativeDelegates.Contains(f.FieldType) && !f.Name.StartsWith("<", StringComparison.Ordinal)).ToList();
            Assert.GreaterOrEqual(fields.Count, 9);
            foreach (FieldInfo field in fields)
            {
                Assert.IsTrue(field.IsInitOnly, field.Name);
                var value = (Delegate)field.GetValue(null);
                Assert.IsTrue(value.Method.IsStatic, field.Name);
                Assert.IsNull(value.Target, field.Name);
                object[] marks = value.Method.GetCustomAttributes(false).Where(a => a.GetType().Name == "MonoPInvokeCallbackAttribute").ToArray();
                Assert.AreEqual(1, marks.Length, field.Name);
            }
            // No lambda or instance method is turned into a native delegate anywhere else.
            var otherFields = binding.GetTypes().SelectMany(t => t.GetFields(BindingFlags.Instance | BindingFlags.NonPublic | BindingFlags.Public))
                .Where(f => nativeDelegates.Contains(f.FieldType));
            Assert.IsEmpty(otherFields);
        }
    }
}
