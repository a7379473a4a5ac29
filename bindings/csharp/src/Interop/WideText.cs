using System;
using System.Runtime.InteropServices;
using System.Text;

namespace Tessel.PCSDK.Interop
{
    /// <summary>
    /// The one codec between .NET strings and the SDK's <c>wchar_t</c> texts:
    /// UTF-16 where <c>wchar_t</c> is 2 bytes (Windows), UTF-32 where it is 4
    /// (everywhere else). The width is fixed at start-up and checked against a
    /// text the platform library itself returns.
    /// </summary>
    internal static unsafe class WideText
    {
        /// <summary>Bytes per <c>wchar_t</c> of the native libraries: 2 or 4.</summary>
        internal static readonly int Width = Environment.OSVersion.Platform == PlatformID.Win32NT ? 2 : 4;

        // Strict: an unpaired surrogate or an invalid code point fails loudly
        // instead of becoming something else.
        static readonly Encoding Utf32 = new UTF32Encoding(false, false, true);
        static readonly Encoding Utf16 = new UnicodeEncoding(false, false, true);

        static Encoding Codec { get { return Width == 4 ? Utf32 : Utf16; } }

        /// <summary>
        /// Checks the width against the platform library: the name of result
        /// code 0 is "SUCCESS", whose second character sits 2 or 4 bytes in.
        /// </summary>
        internal static void CheckWidth(IntPtr success)
        {
            byte* p = (byte*)success;
            if (p == null || p[0] != (byte)'S' || p[Width] != (byte)'U')
            {
                throw new PlatformNotSupportedException(
                    "The SDK's libraries do not use " + Width + "-byte wide characters as this platform does.");
            }
        }

        /// <summary>Number of <c>wchar_t</c> units before the terminating zero.</summary>
        static int Length(IntPtr text)
        {
            int n = 0;
            if (Width == 4)
            {
                uint* p = (uint*)text;
                while (p[n] != 0) ++n;
            }
            else
            {
                ushort* p = (ushort*)text;
                while (p[n] != 0) ++n;
            }
            return n;
        }

        /// <summary>Copies a native text into a new string (once, no intermediate buffer); null stays null.</summary>
        internal static string Read(IntPtr text)
        {
            if (text == IntPtr.Zero) return null;
            int units = Length(text);
            if (units == 0) return string.Empty;
            if (Width == 2) return new string((char*)text, 0, units);
            return Utf32.GetString((byte*)text, units * 4);
        }

        /// <summary>Reads a text of at most <paramref name="capacity"/> units held inline in a record.</summary>
        internal static string ReadInline(void* text, int capacity)
        {
            int units = 0;
            if (Width == 4)
            {
                uint* p = (uint*)text;
                while (units < capacity && p[units] != 0) ++units;
                return units == 0 ? string.Empty : Utf32.GetString((byte*)text, units * 4);
            }
            ushort* q = (ushort*)text;
            while (units < capacity && q[units] != 0) ++units;
            return units == 0 ? string.Empty : new string((char*)text, 0, units);
        }

        /// <summary>
        /// Allocates a zero-terminated native copy of <paramref name="text"/>
        /// (null gives IntPtr.Zero); the caller frees it with <see cref="Free"/>.
        /// </summary>
        internal static IntPtr Alloc(string text)
        {
            if (text == null) return IntPtr.Zero;
            Encoding codec = Codec;
            int bytes;
            fixed (char* chars = text)
            {
                bytes = codec.GetByteCount(chars, text.Length);
                IntPtr block = Marshal.AllocHGlobal(bytes + Width);
                try
                {
                    codec.GetBytes(chars, text.Length, (byte*)block, bytes);
                }
                catch
                {
                    Marshal.FreeHGlobal(block);
                    throw;
                }
                for (int i = 0; i < Width; ++i) ((byte*)block)[bytes + i] = 0;
                return block;
            }
        }

        /// <summary>Frees a text made by <see cref="Alloc"/>; IntPtr.Zero is ignored.</summary>
        internal static void Free(IntPtr text)
        {
            if (text != IntPtr.Zero) Marshal.FreeHGlobal(text);
        }

        /// <summary>Reads a zero-terminated UTF-8 text (the sandbox's trace and profile errors).</summary>
        internal static string ReadUtf8(IntPtr text)
        {
            if (text == IntPtr.Zero) return null;
            byte* p = (byte*)text;
            int n = 0;
            while (p[n] != 0) ++n;
            return Encoding.UTF8.GetString(p, n);
        }
    }

    /// <summary>
    /// The native texts of one call: each one added is freed when the scope
    /// is disposed, whether the call returned or threw.
    /// </summary>
    internal struct NativeTexts : IDisposable
    {
        IntPtr[] _texts;
        int _count;

        internal IntPtr Add(string text)
        {
            IntPtr native = WideText.Alloc(text);
            if (native == IntPtr.Zero) return native;
            if (_texts == null) _texts = new IntPtr[4];
            else if (_count == _texts.Length) Array.Resize(ref _texts, _count * 2);
            _texts[_count++] = native;
            return native;
        }

        public void Dispose()
        {
            for (int i = 0; i < _count; ++i) WideText.Free(_texts[i]);
            _count = 0;
        }
    }
}
