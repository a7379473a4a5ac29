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
            return FromUtf32((uint*)text, Utf32Length((uint*)text));
        }

        // The last text ReadRepeated made, kept only when every character is
        // in the basic plane (one unit each, in both widths); a result's
        // message is most often the one before it again.
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
            if (SameUnits(text, last)) return last;
            string read = Read(text);
            foreach (char c in read)
            {
                if (c >= 0xD800 && c <= 0xDFFF) return read;
            }
            Volatile.Write(ref _lastRepeated, read);
            return read;
        }

        // True when the native text holds exactly the units of a basic-plane string.
        static bool SameUnits(IntPtr text, string value)
        {
            fixed (char* chars = value)
            {
                int length = value.Length;
                if (Width == 4)
                {
                    uint* units = (uint*)text;
                    for (int i = 0; i < length; ++i) if (units[i] != chars[i]) return false;
                    return units[length] == 0;
                }
                char* native = (char*)text;
                for (int i = 0; i < length; ++i) if (native[i] != chars[i]) return false;
                return native[length] == 0;
            }
        }

        /// <summary>Reads a text of at most <paramref name="capacity"/> units held inline in a record.</summary>
        internal static string ReadInline(void* text, int capacity)
        {
            int units = 0;
            if (Width == 4)
            {
                uint* p = (uint*)text;
                while (units < capacity && p[units] != 0) ++units;
                return FromUtf32(p, units);
            }
            ushort* q = (ushort*)text;
            while (units < capacity && q[units] != 0) ++units;
            return units == 0 ? string.Empty : new string((char*)text, 0, units);
        }

        // The units before the terminator, four at a time; each unit is read
        // only after the one before it proved not to be the terminator.
        static int Utf32Length(uint* source)
        {
            uint* p = source;
            for (;; p += 4)
            {
                if (p[0] == 0) break;
                if (p[1] == 0) return (int)(p - source) + 1;
                if (p[2] == 0) return (int)(p - source) + 2;
                if (p[3] == 0) return (int)(p - source) + 3;
            }
            return (int)(p - source);
        }

        // A unit plus Shift reaches 0x10000 exactly when the unit is 0xD800
        // or more; a unit that wraps is itself beyond.
        const uint Shift = 0x10000 - 0xD800;

        // UTF-32 to a new string, written in place: one allocation, one
        // copy. The usual text (every unit below the surrogates) is copied
        // four units at a time; the copy notes any other unit in the bits
        // above 0xFFFF, and such a text is decoded again by the general
        // decoder.
        static string FromUtf32(uint* source, int units)
        {
            if (units == 0) return string.Empty;
            string text = new string('\0', units);
            uint seen = 0;
            fixed (char* start = text)
            {
                char* target = start;
                uint* s = source;
                for (uint* end = source + (units & ~3); s < end; s += 4, target += 4)
                {
                    uint a = s[0], b = s[1], c = s[2], d = s[3];
                    seen |= a | b | c | d | (a + Shift) | (b + Shift) | (c + Shift) | (d + Shift);
                    target[0] = (char)a;
                    target[1] = (char)b;
                    target[2] = (char)c;
                    target[3] = (char)d;
                }
                for (uint* end = source + units; s < end; ++s)
                {
                    seen |= *s | (*s + Shift);
                    *target++ = (char)*s;
                }
            }
            return seen < 0x10000 ? text : FromUtf32Astral(source, units);
        }

        // The general decoder of a text of known length: a code point outside
        // the basic plane becomes one surrogate pair; what is no code point at
        // all (a surrogate, beyond U+10FFFF) becomes U+FFFD.
        static string FromUtf32Astral(uint* source, int units)
        {
            int length = units;
            for (int i = 0; i < units; ++i)
            {
                if (source[i] > 0xFFFF && source[i] <= 0x10FFFF) ++length;
            }
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
        /// The bytes of the zero-terminated native copy of <paramref name="text"/>
        /// (not null). A U+0000 (the platform's texts end at the first one) or
        /// an unpaired surrogate is refused with <see cref="ArgumentException"/>
        /// naming <paramref name="parameter"/>, the caller's parameter, and
        /// <paramref name="member"/> when the text is a member of it.
        /// </summary>
        internal static int EncodedBytes(string text, string parameter, string member = null)
        {
            // Code points: a surrogate pair is one (four bytes) or two units (four bytes).
            int units = 0;
            fixed (char* chars = text)
            {
                for (int i = 0; i < text.Length; ++i, ++units)
                {
                    char c = chars[i];
                    if (c == 0) throw Refused(parameter, member, "U+0000", i);
                    if (c < 0xD800 || c > 0xDFFF) continue;
                    if (c > 0xDBFF || i + 1 == text.Length || chars[i + 1] < 0xDC00 || chars[i + 1] > 0xDFFF)
                    {
                        throw Refused(parameter, member, "an unpaired surrogate", i);
                    }
                    ++i;
                    if (Width == 2) ++units;
                }
            }
            return (units + 1) * Width;
        }

        static ArgumentException Refused(string parameter, string member, string what, int index)
        {
            string name = member == null ? parameter : parameter + "." + member;
            return new ArgumentException("The text " + name + " holds " + what + " at index " + index +
                                         "; the platform cannot take it (nothing was sent).", parameter);
        }

        /// <summary>Writes the native form of <paramref name="text"/>, zero-terminated, where <see cref="EncodedBytes"/> said it fits.</summary>
        internal static void Encode(string text, byte* target)
        {
            fixed (char* chars = text)
            {
                if (Width == 2)
                {
                    Buffer.MemoryCopy(chars, target, (text.Length + 1) * 2, (text.Length + 1) * 2);
                    return;
                }
                uint* units = (uint*)target;
                for (int i = 0; i < text.Length; ++i)
                {
                    char c = chars[i];
                    if (c >= 0xD800 && c <= 0xDBFF)
                    {
                        *units++ = 0x10000u + (((uint)c - 0xD800u) << 10) + ((uint)chars[++i] - 0xDC00u);
                    }
                    else *units++ = c;
                }
                *units = 0;
            }
        }

        /// <summary>
        /// Allocates a zero-terminated native copy of <paramref name="text"/>
        /// (null gives IntPtr.Zero); the caller frees it with <see cref="Free"/>.
        /// </summary>
        internal static IntPtr Alloc(string text, string parameter)
        {
            return text == null ? IntPtr.Zero : Alloc(text, EncodedBytes(text, parameter));
        }

        /// <summary>As <see cref="Alloc(string, string)"/>, for a text not null whose <see cref="EncodedBytes"/> are counted already.</summary>
        internal static IntPtr Alloc(string text, int bytes)
        {
            IntPtr block = Marshal.AllocHGlobal(bytes);
            Encode(text, (byte*)block);
            return block;
        }

        /// <summary>Frees a text made by <see cref="Alloc(string, string)"/>; IntPtr.Zero is ignored.</summary>
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
    /// is disposed, whether the call returned or threw. A call may lend stack
    /// memory (<see cref="ScratchBytes"/> from <c>stackalloc</c>): short
    /// texts are written there and need no allocation; longer ones go to the
    /// native heap.
    /// </summary>
    internal unsafe struct NativeTexts : IDisposable
    {
        /// <summary>The stack memory a call lends: ids and keys fit, long texts do not.</summary>
        internal const int ScratchBytes = 256;

        byte* _scratch;
        int _scratchLeft;
        // Most calls send one or two heap texts: those need no array.
        IntPtr _first;
        IntPtr _second;
        IntPtr[] _more;
        int _count;

        /// <summary>Texts written into <paramref name="scratch"/> while they fit (it must outlive the call).</summary>
        internal NativeTexts(byte* scratch, int bytes) : this()
        {
            _scratch = scratch;
            _scratchLeft = bytes;
        }

        /// <summary>The native copy of <paramref name="text"/> (null gives IntPtr.Zero); see <see cref="WideText.EncodedBytes"/> for what is refused.</summary>
        internal IntPtr Add(string text, string parameter, string member = null)
        {
            if (text == null) return IntPtr.Zero;
            int bytes = WideText.EncodedBytes(text, parameter, member);
            int aligned = (bytes + 7) & ~7;
            if (aligned <= _scratchLeft)
            {
                byte* at = _scratch;
                WideText.Encode(text, at);
                _scratch += aligned;
                _scratchLeft -= aligned;
                return new IntPtr(at);
            }
            IntPtr native = WideText.Alloc(text, bytes);
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
