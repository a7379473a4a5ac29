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
        /// <summary>Sends a contextless request when its lane is free (see <see cref="PendingTable"/>); null for the others.</summary>
        internal Action Send;
        internal readonly string Module;
        /// <summary>The other answer of the same request (a window's destroy notice, an identity value), or null.</summary>
        internal PendingRequest Partner;

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
    /// only counted. Ids only grow; a request sits in the slot its id selects
    /// (an id whose slot is still taken is skipped), so an answer is found or
    /// refused with one look, without hashing or allocating.
    /// </summary>
    internal static class PendingTable
    {
        static readonly object Gate = new object();
        // A struct per slot: storing into it needs no array type check.
        struct Slot
        {
            internal PendingRequest Request;
        }

        static Slot[] _slots = new Slot[256];
        static int _count;
        // Requests, not answers: the two answers of one request count once
        // while either is awaited.
        static int _requests;
        // Popup list fetches carry no context, and the platform answers by
        // due time: one fetch per operation is in flight at a time, so the
        // answer of an operation is its lane's request in flight.
        sealed class Lane
        {
            internal readonly Queue<long> Waiting = new Queue<long>();
            internal long InFlight;
        }
        static readonly Dictionary<uint, Lane> Lanes = new Dictionary<uint, Lane>();
        static long _nextId;
        static long _stray;

        /// <summary>Requests waiting for an answer (a request with two answers counts once, until both arrived).</summary>
        internal static int Count { get { lock (Gate) return _requests; } }
        internal static long StrayAnswers { get { return Interlocked.Read(ref _stray); } }

        internal static IntPtr Register(PendingRequest request)
        {
            return Register(request, IntPtr.Zero);
        }

        /// <summary>Registers <paramref name="request"/> as the second answer of the request of <paramref name="first"/> (zero: a request of its own).</summary>
        internal static IntPtr Register(PendingRequest request, IntPtr first)
        {
            lock (Gate)
            {
                PendingRequest partner = Find(first.ToInt64());
                if (partner != null)
                {
                    partner.Partner = request;
                    request.Partner = partner;
                }
                else ++_requests;
                // Kept at most half full, so a free slot is never far.
                if (2 * (_count + 1) > _slots.Length) Grow();
                long id;
                do id = ++_nextId; while (_slots[SlotOf(id)].Request != null);
                request.Id = id;
                _slots[SlotOf(id)].Request = request;
                ++_count;
            }
            return new IntPtr(request.Id);
        }

        static int SlotOf(long id)
        {
            return (int)(id & (_slots.Length - 1));
        }

        // Twice the slots: ids apart in the old table stay apart in the new one.
        static void Grow()
        {
            Slot[] old = _slots;
            _slots = new Slot[old.Length * 2];
            foreach (Slot slot in old)
            {
                if (slot.Request != null) _slots[SlotOf(slot.Request.Id)].Request = slot.Request;
            }
        }

        // The request of an id, under the gate; null when there is none.
        static PendingRequest Find(long id)
        {
            if (id <= 0) return null;
            PendingRequest request = _slots[SlotOf(id)].Request;
            return request != null && request.Id == id ? request : null;
        }

        // Removes and returns the request of an id, under the gate; null when there is none.
        static PendingRequest Remove(long id)
        {
            PendingRequest request = Find(id);
            if (request == null) return null;
            _slots[SlotOf(id)].Request = null;
            --_count;
            if (request.Partner == null || Find(request.Partner.Id) != request.Partner) --_requests;
            return request;
        }

        /// <summary>Registers a contextless request on its operation's lane; <see cref="SendContextless"/> sends it.</summary>
        internal static void RegisterContextless(PendingRequest request)
        {
            lock (Gate)
            {
                Lane lane;
                if (!Lanes.TryGetValue(request.Operation, out lane))
                {
                    lane = new Lane();
                    Lanes.Add(request.Operation, lane);
                }
                Register(request);
                lane.Waiting.Enqueue(request.Id);
            }
        }

        // The next request of an idle lane, now in flight; null when the lane is busy or empty.
        static PendingRequest NextToSend(uint operation)
        {
            lock (Gate)
            {
                Lane lane;
                if (!Lanes.TryGetValue(operation, out lane) || lane.InFlight != 0) return null;
                while (lane.Waiting.Count > 0)
                {
                    long id = lane.Waiting.Dequeue();
                    PendingRequest request = _slots[SlotOf(id)].Request;
                    if (request == null || request.Id != id) continue;  // forgotten meanwhile
                    lane.InFlight = id;
                    return request;
                }
                return null;
            }
        }

        /// <summary>
        /// Sends the next request of an operation's lane if none is in flight.
        /// A send that fails forgets its request; the failure reaches the
        /// caller when the request is <paramref name="own"/>, the exception
        /// hook otherwise (a send made after an answer).
        /// </summary>
        internal static void SendContextless(uint operation, PendingRequest own, bool mayWait)
        {
            bool held = false;
            try
            {
                if (mayWait) Monitor.Enter(SendGate, ref held);
                else Monitor.TryEnter(SendGate, ref held);
                if (!held) return;  // a shutdown on another thread waits for this pump: the pump's end sends it
                PendingRequest next;
                while ((next = NextToSend(operation)) != null)
                {
                    try
                    {
                        next.Send();
                        return;
                    }
                    catch (Exception e)
                    {
                        TakeContextless(operation);
                        if (next == own) throw;
                        TesselPlatform.Report(e);
                    }
                }
            }
            finally
            {
                if (held) Monitor.Exit(SendGate);
            }
        }

        /// <summary>Sends what the lanes could not send inside the pump.</summary>
        internal static void SendWaitingContextless()
        {
            uint[] operations;
            lock (Gate)
            {
                operations = new uint[Lanes.Count];
                Lanes.Keys.CopyTo(operations, 0);
            }
            foreach (uint operation in operations) SendContextless(operation, null, true);
        }

        /// <summary>
        /// Held by a contextless send and by the shutdown (see
        /// <see cref="TesselPlatform.UnInitialize"/>): a fetch is sent wholly
        /// before the platform shuts down, and is abandoned with the rest, or
        /// after, so that the answer of a fetch sent to a platform going down
        /// never reaches a fetch of the next session. Inside the pump a send
        /// only tries it (a shutdown on another thread waits for the pump).
        /// </summary>
        internal static readonly object SendGate = new object();

        /// <summary>Removes and returns the request of a context; null (counted) when there is none.</summary>
        internal static PendingRequest Take(IntPtr context)
        {
            PendingRequest request;
            lock (Gate) request = Remove(context.ToInt64());
            if (request == null) Interlocked.Increment(ref _stray);
            return request;
        }

        /// <summary>Removes and returns the request in flight on an operation's lane; null (counted) when there is none.</summary>
        internal static PendingRequest TakeContextless(uint operation)
        {
            long id = 0;
            lock (Gate)
            {
                Lane lane;
                if (Lanes.TryGetValue(operation, out lane))
                {
                    id = lane.InFlight;
                    lane.InFlight = 0;
                }
            }
            return Take(new IntPtr(id));
        }

        /// <summary>Removes the request of a native call that failed before it was sent.</summary>
        internal static void Forget(IntPtr context)
        {
            lock (Gate) Remove(context.ToInt64());
        }

        /// <summary>Empties the table, oldest request first.</summary>
        internal static List<PendingRequest> TakeAll()
        {
            lock (Gate)
            {
                var all = new List<PendingRequest>(_count);
                foreach (Slot slot in _slots)
                {
                    if (slot.Request != null) all.Add(slot.Request);
                }
                all.Sort((a, b) => a.Id.CompareTo(b.Id));
                Array.Clear(_slots, 0, _slots.Length);
                _count = 0;
                _requests = 0;
                Lanes.Clear();
                return all;
            }
        }
    }
}
