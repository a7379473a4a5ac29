using System;
using System.Collections.Generic;
using System.Threading;

namespace Tessel.PCSDK
{
    /// <summary>What a trampoline hands over besides the result record: the raw arguments of its signature.</summary>
    internal struct RawAnswer
    {
        internal IntPtr Data;
        internal uint Count;
        internal IntPtr Data2;
        internal uint Count2;
        internal byte Flag;
    }

    /// <summary>Copies a raw answer into the game's own objects, before the trampoline returns.</summary>
    internal delegate T Converter<T>(ref RawAnswer raw);

    /// <summary>One request waiting for its answer; completed exactly once.</summary>
    internal abstract class PendingRequest
    {
        internal long Id;
        internal readonly uint Operation;
        internal readonly string Module;

        protected PendingRequest(uint operation, string module)
        {
            Operation = operation;
            Module = module;
        }

        internal abstract void Complete(ref ResultHeader header, ref RawAnswer raw);

        /// <summary>Completes a request the platform will not answer any more (shutdown), with empty data.</summary>
        internal void Abandon()
        {
            var header = ResultHeader.Shutdown(Operation, Module);
            var raw = new RawAnswer();
            Complete(ref header, ref raw);
        }
    }

    internal sealed class Pending<T> : PendingRequest
    {
        readonly Action<TesselResult<T>> _callback;
        readonly Converter<T> _convert;

        internal Pending(uint operation, string module, Action<TesselResult<T>> callback, Converter<T> convert)
            : base(operation, module)
        {
            _callback = callback;
            _convert = convert;
        }

        // The data of an answer without data: empty lists and texts.
        T Empty()
        {
            try
            {
                var empty = new RawAnswer();
                return _convert(ref empty);
            }
            catch (Exception)
            {
                return default(T);
            }
        }

        internal override void Complete(ref ResultHeader header, ref RawAnswer raw)
        {
            T data;
            try
            {
                data = _convert(ref raw);
            }
            catch (Exception e)
            {
                // The answer could not be copied: the game still hears once,
                // what the SDK says when it runs out of memory itself, with
                // empty data. Anything but a lack of memory is reported too.
                if (!(e is OutOfMemoryException)) TesselPlatform.Report(e);
                header.ResultCode = ResultCodes.OutOfMemory;
                header.Message = string.Empty;
                data = Empty();
            }
            Callbacks.Invoke(_callback, new TesselResult<T>(ref header, data));
        }
    }

    /// <summary>
    /// The requests in flight, by id. The id is the native request's context:
    /// it is registered before the native call and taken out, once, by the
    /// trampoline, so a second, late or unknown answer finds nothing and is
    /// only counted.
    /// </summary>
    internal static class PendingTable
    {
        static readonly object Gate = new object();
        static readonly Dictionary<long, PendingRequest> Table = new Dictionary<long, PendingRequest>();
        // Popup list fetches carry no context: their ids wait in order, per operation.
        static readonly Dictionary<uint, Queue<long>> Contextless = new Dictionary<uint, Queue<long>>();
        static long _nextId;
        static long _stray;

        internal static int Count { get { lock (Gate) return Table.Count; } }
        internal static long StrayAnswers { get { return Interlocked.Read(ref _stray); } }

        internal static IntPtr Register(PendingRequest request)
        {
            lock (Gate)
            {
                request.Id = ++_nextId;
                Table.Add(request.Id, request);
            }
            return new IntPtr(request.Id);
        }

        internal static void RegisterContextless(PendingRequest request)
        {
            lock (Gate)
            {
                Register(request);
                Queue<long> queue;
                if (!Contextless.TryGetValue(request.Operation, out queue))
                {
                    queue = new Queue<long>();
                    Contextless.Add(request.Operation, queue);
                }
                queue.Enqueue(request.Id);
            }
        }

        /// <summary>Removes and returns the request of a context; null (counted) when there is none.</summary>
        internal static PendingRequest Take(IntPtr context)
        {
            long id = context.ToInt64();
            lock (Gate)
            {
                PendingRequest request;
                if (Table.TryGetValue(id, out request))
                {
                    Table.Remove(id);
                    return request;
                }
            }
            Interlocked.Increment(ref _stray);
            return null;
        }

        /// <summary>The oldest contextless request of an operation (or of any, when the operation is unknown).</summary>
        internal static PendingRequest TakeContextless(uint operation)
        {
            long id = 0;
            lock (Gate)
            {
                Queue<long> queue;
                if (!Contextless.TryGetValue(operation, out queue) || queue.Count == 0)
                {
                    queue = null;
                    foreach (Queue<long> other in Contextless.Values)
                    {
                        if (other.Count > 0 && (queue == null || other.Peek() < queue.Peek())) queue = other;
                    }
                }
                if (queue != null) id = queue.Dequeue();
            }
            return Take(new IntPtr(id));
        }

        /// <summary>Removes the request of a native call that failed before it was sent.</summary>
        internal static void Forget(IntPtr context)
        {
            lock (Gate)
            {
                Table.Remove(context.ToInt64());
                foreach (Queue<long> queue in Contextless.Values)
                {
                    if (queue.Count > 0 && queue.Contains(context.ToInt64()))
                    {
                        var kept = new List<long>(queue);
                        kept.Remove(context.ToInt64());
                        queue.Clear();
                        foreach (long id in kept) queue.Enqueue(id);
                    }
                }
            }
        }

        /// <summary>Empties the table, oldest request first.</summary>
        internal static List<PendingRequest> TakeAll()
        {
            lock (Gate)
            {
                var all = new List<PendingRequest>(Table.Values);
                all.Sort((a, b) => a.Id.CompareTo(b.Id));
                Table.Clear();
                Contextless.Clear();
                return all;
            }
        }
    }
}
