using System;
using System.Runtime.InteropServices;
using System.Text;
using System.Threading;

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

        // Strict: an unpaired surrogate in a text the game sends fails loudly
        // instead of becoming something else.
        static readonly Encoding Utf16 = new UnicodeEncoding(false, false, true);

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

        /// <summary>Copies a native text into a new string (once, no intermediate buffer); null stays null.</summary>
        internal static string Read(IntPtr text)
        {
            if (text == IntPtr.Zero) return null;
            if (Width == 2) return new string((char*)text);
            return FromUtf32((uint*)text, int.MaxValue);
        }

        // The last text ReadRepeated made; a result's message is most often the
        // one before it again.
        static string _lastRepeated = string.Empty;

        /// <summary>
        /// As <see cref="Read"/>, for texts that repeat (the platform's
        /// messages): a text equal to the last one read this way comes back
        /// as the same string, without a copy.
        /// </summary>
        internal static string ReadRepeated(IntPtr text)
        {
            if (text == IntPtr.Zero) return null;
            string last = Volatile.Read(ref _lastRepeated);
            if (EqualsBasicPlane(text, last)) return last;
            string read = Read(text);
            Volatile.Write(ref _lastRepeated, read);
            return read;
        }

        // True when the native text is exactly these characters, none of them a surrogate.
        static bool EqualsBasicPlane(IntPtr text, string value)
        {
            fixed (char* chars = value)
            {
                for (int i = 0; ; ++i)
                {
                    uint unit = Width == 4 ? ((uint*)text)[i] : ((ushort*)text)[i];
                    uint expected = i < value.Length ? chars[i] : 0u;
                    if (unit != expected || (expected >= 0xD800 && expected <= 0xDFFF)) return false;
                    if (unit == 0) return true;
                }
            }
        }

        /// <summary>Reads a text of at most <paramref name="capacity"/> units held inline in a record.</summary>
        internal static string ReadInline(void* text, int capacity)
        {
            int units = 0;
            if (Width == 4)
            {
                uint* p = (uint*)text;
                return FromUtf32(p, capacity);
            }
            ushort* q = (ushort*)text;
            while (units < capacity && q[units] != 0) ++units;
            return units == 0 ? string.Empty : new string((char*)text, 0, units);
        }

        // UTF-32 to a new string, written in place: one allocation, one pass
        // per direction. A code point outside the basic plane becomes one
        // surrogate pair; what is no code point at all (a surrogate, beyond
        // U+10FFFF) becomes U+FFFD.
        static string FromUtf32(uint* source, int capacity)
        {
            // One pass for the length (code points up to the zero) and the
            // number of pairs, one to write.
            int units = 0, length = 0;
            for (uint c; units < capacity && (c = source[units]) != 0; ++units)
            {
                length += c > 0xFFFF && c <= 0x10FFFF ? 2 : 1;
            }
            if (length == 0) return string.Empty;
            string text = new string('\0', length);
            fixed (char* start = text)
            {
                char* target = start;
                for (int i = 0; i < units; ++i)
                {
                    uint c = source[i];
                    if (c < 0xD800 || (c > 0xDFFF && c <= 0xFFFF)) *target++ = (char)c;
                    else if (c > 0xFFFF && c <= 0x10FFFF)
                    {
                        c -= 0x10000;
                        *target++ = (char)(0xD800 + (c >> 10));
                        *target++ = (char)(0xDC00 + (c & 0x3FF));
                    }
                    else *target++ = '\uFFFD';
                }
            }
            return text;
        }

        /// <summary>
        /// Allocates a zero-terminated native copy of <paramref name="text"/>
        /// (null gives IntPtr.Zero); the caller frees it with <see cref="Free"/>.
        /// </summary>
        internal static IntPtr Alloc(string text)
        {
            if (text == null) return IntPtr.Zero;
            if (Width == 2)
            {
                Utf16.GetByteCount(text);  // refuses an unpaired surrogate
                return Marshal.StringToHGlobalUni(text);
            }
            fixed (char* chars = text)
            {
                // Code points: a surrogate pair is one; an unpaired surrogate is refused.
                int units = 0;
                for (int i = 0; i < text.Length; ++i, ++units)
                {
                    char c = chars[i];
                    if (c < 0xD800 || c > 0xDFFF) continue;
                    if (c > 0xDBFF || i + 1 == text.Length || chars[i + 1] < 0xDC00 || chars[i + 1] > 0xDFFF)
                    {
                        throw new ArgumentException("The text holds an unpaired surrogate at index " + i + ".", "text");
                    }
                    ++i;
                }
                IntPtr block = Marshal.AllocHGlobal((units + 1) * 4);
                uint* target = (uint*)block;
                for (int i = 0; i < text.Length; ++i)
                {
                    char c = chars[i];
                    if (c >= 0xD800 && c <= 0xDBFF)
                    {
                        *target++ = 0x10000u + (((uint)c - 0xD800u) << 10) + ((uint)chars[++i] - 0xDC00u);
                    }
                    else *target++ = c;
                }
                *target = 0;
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
        // Most calls send one or two texts: those need no array.
        IntPtr _first;
        IntPtr _second;
        IntPtr[] _more;
        int _count;

        internal IntPtr Add(string text)
        {
            IntPtr native = WideText.Alloc(text);
            if (native == IntPtr.Zero) return native;
            if (_count == 0) _first = native;
            else if (_count == 1) _second = native;
            else
            {
                if (_more == null) _more = new IntPtr[11];
                else if (_count - 2 == _more.Length) Array.Resize(ref _more, _more.Length * 2);
                _more[_count - 2] = native;
            }
            ++_count;
            return native;
        }

        public void Dispose()
        {
            if (_count > 0) WideText.Free(_first);
            if (_count > 1) WideText.Free(_second);
            for (int i = 2; i < _count; ++i) WideText.Free(_more[i - 2]);
            _count = 0;
        }
    }
}
