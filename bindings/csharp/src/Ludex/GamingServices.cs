using System;
using System.Threading;
using System.Threading.Tasks;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK.Ludex
{
    /// <summary>Ludex, the gaming services module: character information.</summary>
    public static unsafe class GamingServices
    {
        /// <summary>Operation code of a character fetch.</summary>
        public const uint FetchCharacterOperation = 80;
        const string Module = "Ludex";

        /// <summary>Initializes Ludex, after <see cref="TesselPlatform.Initialize"/>.</summary>
        /// <returns>Success, AlreadyInitialized (still initialized) or NotInitialized (platform not initialized).</returns>
        public static TesselResult Initialize()
        {
            return Results.ReadSync(LudexNative.TesselAPI_GamingServicesInitialize());
        }

        /// <summary>Initializes Ludex for a <c>using</c> block (see <see cref="TesselScope"/>).</summary>
        /// <returns>The scope; its Dispose uninitializes Ludex when it initialized Ludex.</returns>
        /// <exception cref="TesselException">Initialize failed (other than AlreadyInitialized).</exception>
        public static TesselScope Open()
        {
            return TesselScope.Open(Module, Initialize, UnInitialize);
        }

        /// <summary>Uninitializes Ludex; later requests answer NotInitialized. Pending answers still arrive.</summary>
        /// <returns>Success, or NotInitialized when it was not initialized.</returns>
        public static TesselResult UnInitialize()
        {
            return Results.ReadSync(LudexNative.TesselAPI_GamingServicesUnInitialize());
        }

        /// <summary>The SDK's version text ("1.0.0"); any thread.</summary>
        /// <returns>The version in <see cref="TesselResult{T}.Data"/>.</returns>
        public static TesselResult<string> GetVersion()
        {
            return Shared.Version(LudexNative.TesselAPI_GamingServicesGetVersion);
        }

        /// <summary>
        /// Fetches a character's information (a JSON text in the sandbox). The
        /// callback runs once, from <see cref="TesselPlatform.RunCallbacks"/>.
        /// </summary>
        /// <param name="characterId">The character.</param>
        /// <param name="serverId">The character's server.</param>
        /// <param name="callback">Receives the outcome and the character text (empty on failure).</param>
        /// <exception cref="ArgumentNullException">An argument is null; nothing was sent.</exception>
        public static void FetchCharacter(string characterId, string serverId, Action<TesselResult<string>> callback)
        {
            Requests.NotNull(characterId, "characterId");
            Requests.NotNull(serverId, "serverId");
            Requests.NotNull(callback, "callback");
            byte* scratch = stackalloc byte[NativeTexts.ScratchBytes];
            var texts = new NativeTexts(scratch, NativeTexts.ScratchBytes);
            IntPtr context = IntPtr.Zero;
            try
            {
                IntPtr character = texts.Add(characterId, "characterId");
                IntPtr server = texts.Add(serverId, "serverId");
                context = Requests.Register(FetchCharacterOperation, Module, callback, Requests.OneText);
                LudexNative.TesselAPI_FetchCharacter(character, server, Trampolines.Text, context);
                context = IntPtr.Zero;
            }
            finally
            {
                if (context != IntPtr.Zero) Requests.Unsent(context);
                texts.Dispose();
            }
        }

        /// <summary>The task form of <see cref="FetchCharacter(string, string, Action{TesselResult{string}})"/>.</summary>
        /// <param name="characterId">The character.</param>
        /// <param name="serverId">The character's server.</param>
        /// <param name="cancellationToken">Cancels the task (on the next pump); the answer is then dropped.</param>
        /// <returns>Completes inside <see cref="TesselPlatform.RunCallbacks"/>.</returns>
        public static Task<TesselResult<string>> FetchCharacterAsync(string characterId, string serverId,
                                                                    CancellationToken cancellationToken = default(CancellationToken))
        {
            Requests.NotNull(characterId, "characterId");
            Requests.NotNull(serverId, "serverId");
            return Callbacks.Async<TesselResult<string>>(cancellationToken, cb => FetchCharacter(characterId, serverId, cb));
        }
    }
}
