using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Reflection;
using System.Runtime.InteropServices;
using NUnit.Framework;
using Tessel.PCSDK.Interop;

namespace Tessel.PCSDK.Tests
{
    /// <summary>
    /// The binding's records against the C compiler's layout table: every
    /// record and field of the public C headers, for this platform's wchar_t
    /// and for the 2-byte wchar_t of Windows.
    /// </summary>
    [TestFixture]
    public class LayoutTests
    {
        // C records that share one mirror.
        static readonly Dictionary<string, string> Shared = new Dictionary<string, string>
        {
            { "TesselTermsOption", "TesselPurchaseOption" }, { "TesselPaymentOption", "TesselPurchaseOption" }
        };

        static string Table(string name)
        {
            string folder = Environment.GetEnvironmentVariable("TESSEL_LAYOUT_TABLES") ?? ".";
            return Path.Combine(folder, name);
        }

        [TestCase("layouts-native.txt")]
        [TestCase("layouts-wchar2.txt")]
        public void RecordsMatchTheCCompiler(string name)
        {
            string path = Table(name);
            if (!File.Exists(path)) Assert.Ignore(path + " was not generated (a compiler without -fshort-wchar)");
            string[] lines = File.ReadAllLines(path);
            int width = int.Parse(lines[0].Split(' ')[2]);
            Assert.IsTrue(width == 2 || width == 4);
            var problems = new List<string>();
            var seen = new HashSet<Type>();
            int checkedFields = 0;
            foreach (string line in lines.Skip(1))
            {
                string[] parts = line.Split(' ');
                if (parts.Length == 3)
                {
                    Type type = Mirror(parts[0], width);
                    seen.Add(type);
                    int size = Marshal.SizeOf(type);
                    if (size != int.Parse(parts[2])) problems.Add(line + ": C# size " + size);
                    continue;
                }
                string[] names = parts[0].Split('.');
                int offset = Offset(Mirror(names[0], width), names[1]);
                if (offset != int.Parse(parts[1])) problems.Add(line + ": C# offset " + offset);
                ++checkedFields;
            }
            Assert.IsEmpty(problems, string.Join("\n", problems));
            Assert.GreaterOrEqual(checkedFields, 200);
            // Every mirror of this width was checked.
            var mirrors = typeof(WideText).Assembly.GetTypes()
                .Where(t => t.Namespace == "Tessel.PCSDK.Interop" && t.IsValueType && t.Name.StartsWith("Tessel", StringComparison.Ordinal)
                            && !t.Name.EndsWith(width == 4 ? "_W2" : "_W4", StringComparison.Ordinal));
            Assert.IsEmpty(mirrors.Except(seen).Select(t => t.Name));
        }

        static Type Mirror(string record, int width)
        {
            string name;
            if (!Shared.TryGetValue(record, out name)) name = record;
            Assembly binding = typeof(WideText).Assembly;
            return binding.GetType("Tessel.PCSDK.Interop." + name + "_W" + width)
                ?? binding.GetType("Tessel.PCSDK.Interop." + name, true);
        }

        // A field of the C record: the mirror's field of that name, the first
        // element of an array spelled out (reserved0), or a field of a nested
        // record that holds the C record's leading fields.
        static int Offset(Type type, string field)
        {
            if (type.GetField(field) != null) return Marshal.OffsetOf(type, field).ToInt32();
            if (type.GetField(field + "0") != null) return Marshal.OffsetOf(type, field + "0").ToInt32();
            foreach (FieldInfo nested in type.GetFields())
            {
                if (nested.FieldType.IsValueType && !nested.FieldType.IsPrimitive && nested.FieldType.GetField(field) != null)
                {
                    return Marshal.OffsetOf(type, nested.Name).ToInt32() + Marshal.OffsetOf(nested.FieldType, field).ToInt32();
                }
            }
            Assert.Fail(type.Name + " has no field " + field);
            return -1;
        }
    }
}
