using System;
using System.Collections.Generic;
using System.Globalization;
using System.Text;

namespace Tessel.PCSDK
{
    /// <summary>
    /// An answer the platform gives as a JSON object (payment, character,
    /// identity value), parsed: every member in <see cref="Fields"/>, the
    /// documented ones also as properties of the subclass. Immutable.
    /// </summary>
    public abstract class JsonAnswer
    {
        readonly Dictionary<string, object> _fields;

        internal JsonAnswer(Dictionary<string, object> fields, string text)
        {
            _fields = fields;
            Text = text;
        }

        /// <summary>The text as the platform gave it.</summary>
        public string Text { get; }

        /// <summary>
        /// Every member of the object: a string, a double, a bool, null, an
        /// <c>IReadOnlyDictionary&lt;string, object&gt;</c> or an
        /// <c>IReadOnlyList&lt;object&gt;</c>.
        /// </summary>
        public IReadOnlyDictionary<string, object> Fields { get { return _fields; } }

        /// <summary>A member that is a string; null when it is missing or of another kind.</summary>
        /// <param name="key">The member's name.</param>
        /// <returns>Its text, or null.</returns>
        public string GetString(string key)
        {
            object value;
            return _fields.TryGetValue(key, out value) ? value as string : null;
        }

        /// <summary>A member that is a number; null when it is missing or of another kind.</summary>
        /// <param name="key">The member's name.</param>
        /// <returns>Its value, or null.</returns>
        public double? GetNumber(string key)
        {
            object value;
            return _fields.TryGetValue(key, out value) && value is double ? (double?)(double)value : null;
        }

        /// <summary>A member that is true or false; null when it is missing or of another kind.</summary>
        /// <param name="key">The member's name.</param>
        /// <returns>Its value, or null.</returns>
        public bool? GetBoolean(string key)
        {
            object value;
            return _fields.TryGetValue(key, out value) && value is bool ? (bool?)(bool)value : null;
        }

        internal int? GetInt32(string key)
        {
            double? number = GetNumber(key);
            if (number == null || number.Value != Math.Floor(number.Value) || number.Value < int.MinValue || number.Value > int.MaxValue)
                return null;
            return (int)number.Value;
        }

        /// <summary>The members of <paramref name="text"/> when it is one JSON object; null otherwise (empty, malformed, another kind).</summary>
        internal static Dictionary<string, object> ParseObject(string text)
        {
            if (string.IsNullOrEmpty(text)) return null;
            var reader = new JsonReader(text);
            try
            {
                var value = reader.Value() as Dictionary<string, object>;
                return reader.AtEnd() ? value : null;
            }
            catch (FormatException)
            {
                return null;
            }
        }
    }

    /// <summary>A reader of one JSON value (RFC 8259), enough for the platform's answers.</summary>
    internal struct JsonReader
    {
        const int MaxDepth = 64;
        readonly string _text;
        int _at;
        int _depth;

        internal JsonReader(string text)
        {
            _text = text;
            _at = 0;
            _depth = 0;
        }

        internal bool AtEnd()
        {
            SkipSpace();
            return _at == _text.Length;
        }

        internal object Value()
        {
            SkipSpace();
            if (_at == _text.Length) throw new FormatException();
            char c = _text[_at];
            if (c == '{') return Object();
            if (c == '[') return Array();
            if (c == '"') return String();
            if (Word("true")) return true;
            if (Word("false")) return false;
            if (Word("null")) return null;
            return Number();
        }

        Dictionary<string, object> Object()
        {
            Enter();
            var members = new Dictionary<string, object>(StringComparer.Ordinal);
            ++_at;
            SkipSpace();
            if (Take('}')) return Leave(members);
            do
            {
                SkipSpace();
                if (_at == _text.Length || _text[_at] != '"') throw new FormatException();
                string key = String();
                SkipSpace();
                if (!Take(':')) throw new FormatException();
                members[key] = Value();
                SkipSpace();
            } while (Take(','));
            if (!Take('}')) throw new FormatException();
            return Leave(members);
        }

        List<object> Array()
        {
            Enter();
            var items = new List<object>();
            ++_at;
            SkipSpace();
            if (Take(']')) return Leave(items);
            do
            {
                items.Add(Value());
                SkipSpace();
            } while (Take(','));
            if (!Take(']')) throw new FormatException();
            return Leave(items);
        }

        string String()
        {
            ++_at;
            var text = new StringBuilder();
            while (true)
            {
                if (_at == _text.Length) throw new FormatException();
                char c = _text[_at++];
                if (c == '"') return text.ToString();
                if (c < ' ') throw new FormatException();
                if (c != '\\')
                {
                    text.Append(c);
                    continue;
                }
                if (_at == _text.Length) throw new FormatException();
                char e = _text[_at++];
                switch (e)
                {
                case '"': case '\\': case '/': text.Append(e); break;
                case 'b': text.Append('\b'); break;
                case 'f': text.Append('\f'); break;
                case 'n': text.Append('\n'); break;
                case 'r': text.Append('\r'); break;
                case 't': text.Append('\t'); break;
                case 'u':
                    int unit;
                    if (_at + 4 > _text.Length ||
                        !int.TryParse(_text.Substring(_at, 4), NumberStyles.AllowHexSpecifier, CultureInfo.InvariantCulture, out unit))
                        throw new FormatException();
                    text.Append((char)unit);
                    _at += 4;
                    break;
                default: throw new FormatException();
                }
            }
        }

        double Number()
        {
            int start = _at;
            while (_at < _text.Length && "+-0123456789.eE".IndexOf(_text[_at]) >= 0) ++_at;
            double value;
            if (_at == start || _text[start] == '+' ||
                !double.TryParse(_text.Substring(start, _at - start), NumberStyles.Float, CultureInfo.InvariantCulture, out value))
                throw new FormatException();
            return value;
        }

        bool Word(string word)
        {
            if (string.CompareOrdinal(_text, _at, word, 0, word.Length) != 0) return false;
            _at += word.Length;
            return true;
        }

        bool Take(char c)
        {
            if (_at == _text.Length || _text[_at] != c) return false;
            ++_at;
            return true;
        }

        void SkipSpace()
        {
            while (_at < _text.Length && (_text[_at] == ' ' || _text[_at] == '\t' || _text[_at] == '\n' || _text[_at] == '\r')) ++_at;
        }

        void Enter()
        {
            if (++_depth > MaxDepth) throw new FormatException();
        }

        T Leave<T>(T value)
        {
            --_depth;
            return value;
        }
    }
}

namespace Tessel.PCSDK.Vendra
{
    /// <summary>The payment text of <see cref="Shop.StartPayment"/>, parsed. Immutable.</summary>
    public sealed class PaymentInfo : JsonAnswer
    {
        PaymentInfo(System.Collections.Generic.Dictionary<string, object> fields, string text) : base(fields, text) { }

        /// <summary>The payment text parsed; null when it is not a JSON object (empty on failure, or another form).</summary>
        /// <param name="payment">The answer's <see cref="TesselResult{T}.Data"/>.</param>
        /// <returns>The parsed answer, or null.</returns>
        public static PaymentInfo Parse(string payment)
        {
            var fields = ParseObject(payment);
            return fields == null ? null : new PaymentInfo(fields, payment);
        }

        /// <summary>"paymentId"; null when absent.</summary>
        public string PaymentId { get { return GetString("paymentId"); } }
        /// <summary>"operation" (the window's operation); null when absent.</summary>
        public int? Operation { get { return GetInt32("operation"); } }
        /// <summary>"status" ("approved" ...); null when absent.</summary>
        public string Status { get { return GetString("status"); } }
    }
}

namespace Tessel.PCSDK.Ludex
{
    /// <summary>The character text of <see cref="GamingServices.FetchCharacter"/>, parsed. Immutable.</summary>
    public sealed class CharacterInfo : JsonAnswer
    {
        CharacterInfo(System.Collections.Generic.Dictionary<string, object> fields, string text) : base(fields, text) { }

        /// <summary>The character text parsed; null when it is not a JSON object (empty on failure, or another form).</summary>
        /// <param name="character">The answer's <see cref="TesselResult{T}.Data"/>.</param>
        /// <returns>The parsed answer, or null.</returns>
        public static CharacterInfo Parse(string character)
        {
            var fields = ParseObject(character);
            return fields == null ? null : new CharacterInfo(fields, character);
        }

        /// <summary>"characterId" (the request's); null when absent.</summary>
        public string CharacterId { get { return GetString("characterId"); } }
        /// <summary>"serverId" (the request's); null when absent.</summary>
        public string ServerId { get { return GetString("serverId"); } }
        /// <summary>"name"; null when absent.</summary>
        public string Name { get { return GetString("name"); } }
        /// <summary>"level"; null when absent or not a whole number.</summary>
        public int? Level { get { return GetInt32("level"); } }
        /// <summary>"class"; null when absent.</summary>
        public string Class { get { return GetString("class"); } }
    }
}

namespace Tessel.PCSDK.Panora
{
    /// <summary>The value of an identity verification (<see cref="IdentificationTasks.Value"/>), parsed. Immutable.</summary>
    public sealed class IdentityVerification : JsonAnswer
    {
        IdentityVerification(System.Collections.Generic.Dictionary<string, object> fields, string text) : base(fields, text) { }

        /// <summary>The value parsed; null when it is not a JSON object (empty when the popup never opened).</summary>
        /// <param name="value">The value's <see cref="TesselResult{T}.Data"/>.</param>
        /// <returns>The parsed value, or null.</returns>
        public static IdentityVerification Parse(string value)
        {
            var fields = ParseObject(value);
            return fields == null ? null : new IdentityVerification(fields, value);
        }

        /// <summary>"verified"; null when absent.</summary>
        public bool? Verified { get { return GetBoolean("verified"); } }
        /// <summary>"adultCheck"; null when absent.</summary>
        public bool? AdultCheck { get { return GetBoolean("adultCheck"); } }
        /// <summary>"ci"; null when absent.</summary>
        public string Ci { get { return GetString("ci"); } }
    }
}
