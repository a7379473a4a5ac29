using System.Reflection;
using System.Runtime.CompilerServices;

[assembly: AssemblyTitle("Tessel.PCSDK")]
[assembly: AssemblyDescription("C# binding of the Tessel PC SDK: Vendra, Panora, Scrivo, Ludex and the sandbox's control surface")]
[assembly: AssemblyVersion("1.0.0.0")]
// The tests check the native record mirrors and the trampolines directly.
[assembly: InternalsVisibleTo("Tessel.PCSDK.Tests")]
