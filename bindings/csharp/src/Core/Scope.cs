using System;
using System.Threading;

namespace Tessel.PCSDK
{
    /// <summary>
    /// The platform or a module initialized for a <c>using</c> block:
    /// <see cref="Dispose"/> uninitializes it, once, and only when this scope
    /// initialized it (a scope opened while it was initialized already owns
    /// nothing and its Dispose does nothing). Made by
    /// <see cref="TesselPlatform.Open"/>, <see cref="Vendra.Shop.Open(string)"/>,
    /// <see cref="Panora.Popups.Open()"/>, <see cref="Scrivo.GameLog.Open"/> and
    /// <see cref="Ludex.GamingServices.Open"/>; the static calls stay
    /// available beside it. Dispose the modules before the platform (nested
    /// <c>using</c> blocks do).
    /// </summary>
    public sealed class TesselScope : IDisposable
    {
        readonly Func<TesselResult> _close;
        int _open;

        TesselScope(string name, TesselResult initialized, Func<TesselResult> close)
        {
            Name = name;
            Initialized = initialized;
            _close = close;
            _open = initialized.Succeeded ? 1 : 0;
        }

        /// <summary>Initializes with <paramref name="initialize"/>; throws unless it succeeded or was initialized already.</summary>
        internal static TesselScope Open(string name, Func<TesselResult> initialize, Func<TesselResult> close)
        {
            TesselResult result = initialize();
            if (result.Code != TesselResultCode.AlreadyInitialized) result.EnsureSuccess();
            return new TesselScope(name, result, close);
        }

        /// <summary>"Plinth" for the platform, otherwise the module's name.</summary>
        public string Name { get; }

        /// <summary>The Initialize result: success, or AlreadyInitialized when this scope owns nothing.</summary>
        public TesselResult Initialized { get; }

        /// <summary>True until Dispose when this scope initialized what it names.</summary>
        public bool OwnsInitialization { get { return Volatile.Read(ref _open) != 0; } }

        /// <summary>The UnInitialize result of the first Dispose of an owning scope; null before, or when it owned nothing.</summary>
        public TesselResult Closed { get; private set; }

        /// <summary>Uninitializes what this scope initialized; later calls do nothing.</summary>
        public void Dispose()
        {
            if (Interlocked.Exchange(ref _open, 0) == 0) return;
            Closed = _close();
        }
    }
}
