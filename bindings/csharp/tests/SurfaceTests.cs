using System;
using System.IO;
using System.Linq;
using System.Reflection;
using System.Runtime.InteropServices;
using System.Text.RegularExpressions;
using NUnit.Framework;
using Tessel.PCSDK;

namespace Tessel.PCSDK.Tests
{
    /// <summary>The binding declares exactly the C entry points the public C headers export.</summary>
    [TestFixture]
    public class SurfaceTests
    {
        [Test]
        public void EveryCEntryPointIsBound()
        {
            string headers = Environment.GetEnvironmentVariable("TESSEL_PUBLIC_HEADERS");
            if (string.IsNullOrEmpty(headers)) Assert.Ignore("TESSEL_PUBLIC_HEADERS is not set");
            var declaration = new Regex(@"^(?:PLINTH|VENDRA|PANORA|SCRIVO|LUDEX|TESSEL_SANDBOX)_API .*?\b(Tessel\w*_\w+)\(",
                                        RegexOptions.Multiline);
            var exported = headers.Split(';').SelectMany(path => declaration.Matches(File.ReadAllText(path)).Cast<Match>())
                                  .Select(m => m.Groups[1].Value).Distinct().ToList();
            var bound = typeof(TesselPlatform).Assembly.GetTypes()
                .SelectMany(t => t.GetMethods(BindingFlags.Static | BindingFlags.NonPublic | BindingFlags.Public))
                .Where(m => (m.Attributes & MethodAttributes.PinvokeImpl) != 0)
                .Select(m => m.Name).Distinct().ToList();
            Assert.IsEmpty(exported.Except(bound), "C entry points without a binding");
            Assert.IsEmpty(bound.Where(name => name.StartsWith("Tessel", StringComparison.Ordinal)).Except(exported),
                           "bindings of no C entry point");
            Assert.GreaterOrEqual(exported.Count, 59);
            Console.WriteLine("C entry points bound: {0} of {1}", exported.Intersect(bound).Count(), exported.Count);
        }
    }
}
