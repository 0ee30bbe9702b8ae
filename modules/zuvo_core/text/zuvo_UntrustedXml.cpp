namespace zuvo
{

namespace
{
    constexpr char32_t replacementCharacter = 0xfffd;

    bool isXmlCharacter (char32_t c)
    {
        return c == 0x9 || c == 0xa || c == 0xd
            || (c >= 0x20 && c <= 0xd7ff)
            || (c >= 0xe000 && c <= 0xfffd)
            || (c >= 0x10000 && c <= 0x10ffff);
    }

    struct DecodedCharacter
    {
        char32_t character;
        size_t numBytes;
    };

    /** The character whose UTF-8 form starts the bytes, or U+FFFD for the first
        byte when they start with no such form (an overlong form, a stray
        continuation byte, a cut-off sequence, a code point beyond Unicode). */
    DecodedCharacter decodeUtf8 (const juce::uint8* bytes, size_t numBytes)
    {
        const auto lead = bytes[0];

        if (lead < 0x80)
            return { lead, 1 };

        const DecodedCharacter invalid { replacementCharacter, 1 };
        size_t length = 0;
        char32_t smallest = 0;

        if (lead >= 0xc2 && lead <= 0xdf)       { length = 2; smallest = 0x80; }
        else if (lead >= 0xe0 && lead <= 0xef)  { length = 3; smallest = 0x800; }
        else if (lead >= 0xf0 && lead <= 0xf4)  { length = 4; smallest = 0x10000; }
        else                                    return invalid;

        if (numBytes < length)
            return invalid;

        char32_t c = lead & (0x7f >> length);

        for (size_t i = 1; i < length; ++i)
        {
            if ((bytes[i] & 0xc0) != 0x80)
                return invalid;

            c = (c << 6) | (bytes[i] & 0x3f);
        }

        if (c < smallest || c > 0x10ffff)
            return invalid;

        return { c, length };
    }

    /** The text's characters, each one that XML 1.0 cannot hold read as U+FFFD.
        The text is taken as the bytes it holds: the framework takes some
        invalid UTF-8 (an overlong NUL) for valid when it makes text of bytes,
        and then measures and copies such text inconsistently. */
    std::u32string xmlCharactersOf (const juce::String& text)
    {
        const auto* bytes = reinterpret_cast<const juce::uint8*> (text.toRawUTF8());
        const auto numBytes = std::strlen (text.toRawUTF8());

        std::u32string characters;
        characters.reserve (numBytes);

        for (size_t i = 0; i < numBytes;)
        {
            const auto decoded = decodeUtf8 (bytes + i, numBytes - i);
            characters.push_back (isXmlCharacter (decoded.character) ? decoded.character : replacementCharacter);
            i += decoded.numBytes;
        }

        return characters;
    }

    void appendUtf8 (std::string& utf8, char32_t c)
    {
        if (c < 0x80)
        {
            utf8 += (char) c;
            return;
        }

        const auto numContinuations = c < 0x800 ? 1 : (c < 0x10000 ? 2 : 3);
        const unsigned char leads[] = { 0, 0xc0, 0xe0, 0xf0 };
        utf8 += (char) (leads[numContinuations] | (c >> (6 * numContinuations)));

        for (int shift = 6 * (numContinuations - 1); shift >= 0; shift -= 6)
            utf8 += (char) (0x80 | ((c >> shift) & 0x3f));
    }

    /** Reads a document of the plain kind and copies it for the framework's
        parser. It accepts a subset of what the parser reads the same way, so
        the parser sees the structure that was checked: the same names, the
        same depth. In the copy every reference is the character it stands for
        (U+FFFD where XML 1.0 cannot hold it), except where the parser needs a
        reference: for "&" and "<" in text (and a carriage return, which the
        parser would turn into a line feed), for "&" and the quote in an
        attribute value; such references are in decimal. */
    class PlainDocumentReader
    {
    public:
        PlainDocumentReader (std::u32string documentText, UntrustedXmlLimits documentLimits)
            : text (std::move (documentText)), limits (documentLimits)
        {
            copy.reserve (text.size() + 1);
        }

        /** The copy for the parser, or nothing when the document is not plain. */
        std::optional<juce::String> read()
        {
            skipBlanks();

            if (startsWith (U"<?xml") && isBlank (at (position + 5)) && ! copyPast (U"?>"))
                return {};

            if (! readMiscellany() || ! readElement (1) || ! readMiscellany() || position != text.size())
                return {};

            return juce::String (juce::CharPointer_UTF8 (copy.data()), juce::CharPointer_UTF8 (copy.data() + copy.size()));
        }

    private:
        char32_t at (size_t index) const        { return index < text.size() ? text[index] : 0; }
        bool atEnd() const                      { return position >= text.size(); }

        static bool isBlank (char32_t c)        { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

        /** The parser's name characters. */
        static bool isNameCharacter (char32_t c)
        {
            if (c < 0x80)
                return juce::CharacterFunctions::isLetterOrDigit ((char) c) || c == '_' || c == '-' || c == ':' || c == '.';

            return c >= 160 && juce::CharacterFunctions::isLetterOrDigit ((juce::juce_wchar) c);
        }

        bool startsWith (std::u32string_view prefix) const
        {
            return text.compare (position, prefix.size(), prefix) == 0;
        }

        void copyCharacters (size_t count)
        {
            for (const auto end = std::min (text.size(), position + count); position < end; ++position)
                appendUtf8 (copy, text[position]);
        }

        /** Copies up to and including the marker; false when it never comes. */
        bool copyPast (std::u32string_view marker)
        {
            const auto found = text.find (marker, position);

            if (found == std::u32string::npos)
                return false;

            copyCharacters (found + marker.size() - position);
            return true;
        }

        bool skipBlanks()
        {
            const auto start = position;

            while (isBlank (at (position)))
                copyCharacters (1);

            return position > start;
        }

        /** Blanks and comments. */
        bool readMiscellany()
        {
            for (skipBlanks(); startsWith (U"<!--"); skipBlanks())
                if (! copyPast (U"-->"))
                    return false;

            return true;
        }

        std::u32string readName()
        {
            const auto start = position;

            if (isNameCharacter (at (position)) && ! (at (position) >= '0' && at (position) <= '9')
                  && at (position) != '-' && at (position) != '.')
                while (isNameCharacter (at (position)))
                    copyCharacters (1);

            return text.substr (start, position - start);
        }

        bool countName (const std::u32string& name)
        {
            names.insert (name);
            return (int) names.size() <= limits.maxNames;
        }

        bool readElement (int depth)
        {
            if (depth > limits.maxDepth || at (position) != '<')
                return false;

            copyCharacters (1);
            const auto name = readName();

            if (name.empty() || ! countName (name))
                return false;

            for (int numAttributes = 0;; ++numAttributes)
            {
                const auto blankBefore = skipBlanks();

                if (startsWith (U"/>"))
                {
                    copyCharacters (2);
                    return true;
                }

                if (at (position) == '>')
                {
                    copyCharacters (1);
                    return readContent (depth) && readEndTag (name);
                }

                if (! blankBefore || numAttributes == limits.maxAttributesPerElement || ! readAttribute())
                    return false;
            }
        }

        bool readAttribute()
        {
            const auto name = readName();

            if (name.empty() || name.compare (0, 7, U"base64:") == 0 || ! countName (name))
                return false;

            skipBlanks();

            if (at (position) != '=')
                return false;

            copyCharacters (1);
            skipBlanks();
            const auto quote = at (position);

            if (quote != '"' && quote != '\'')
                return false;

            copyCharacters (1);

            for (int numQuotesAndAmpersands = 0;;)
            {
                if (atEnd() || at (position) == '<')
                    return false;

                if (at (position) == quote)
                {
                    copyCharacters (1);
                    return true;
                }

                const auto c = readCharacter();

                if (c == 0)
                    return false;

                if ((c == '&' || c == '"' || c == '\'') && ++numQuotesAndAmpersands > limits.maxQuotesAndAmpersandsPerValue)
                    return false;

                write (c, c == '&' || c == quote);
            }
        }

        /** Text, comments, CDATA sections and child elements, up to the end tag. */
        bool readContent (int depth)
        {
            for (;;)
            {
                if (atEnd())
                    return false;

                if (startsWith (U"</"))
                    return true;

                const auto c = at (position);
                bool wasRead = true;

                if (startsWith (U"<!--"))
                    wasRead = copyPast (U"-->");
                else if (startsWith (U"<![CDATA["))
                    wasRead = copyPast (U"]]>");
                else if (c == '<')
                    wasRead = readElement (depth + 1);
                else if (const auto character = readCharacter(); character != 0)
                    write (character, character == '&' || character == '<' || character == '\r');
                else
                    wasRead = false;

                if (! wasRead)
                    return false;
            }
        }

        bool readEndTag (const std::u32string& name)
        {
            copyCharacters (2);

            if (readName() != name)
                return false;

            skipBlanks();

            if (at (position) != '>')
                return false;

            copyCharacters (1);
            return true;
        }

        /** The character at the position, or the one that the reference
            there stands for, read past; 0 when a reference is not well-formed
            or names an entity other than the five predefined ones. */
        char32_t readCharacter()
        {
            if (at (position) != '&')
                return text[position++];

            for (const auto& [entity, character] : { std::pair { U"&amp;", U'&' }, { U"&lt;", U'<' }, { U"&gt;", U'>' },
                                                      { U"&quot;", U'"' }, { U"&apos;", U'\'' } })
            {
                if (startsWith (entity))
                {
                    position += std::char_traits<char32_t>::length (entity);
                    return character;
                }
            }

            if (! startsWith (U"&#"))
                return 0;

            const auto hex = at (position + 2) == 'x';
            const auto digitsStart = position + (hex ? 3 : 2);
            auto end = digitsStart;
            char32_t value = 0;

            for (;; ++end)
            {
                const auto digit = juce::CharacterFunctions::getHexDigitValue ((juce::juce_wchar) at (end));

                if (digit < 0 || (! hex && digit > 9))
                    break;

                value = std::min<char32_t> (0x110000, value * (hex ? 16 : 10) + (char32_t) digit);
            }

            if (end == digitsStart || at (end) != ';')
                return 0;

            position = end + 1;
            return isXmlCharacter (value) ? value : replacementCharacter;
        }

        /** Writes the character into the copy, as itself or as a reference. */
        void write (char32_t c, bool asReference)
        {
            if (asReference)
                copy += "&#" + std::to_string ((unsigned) c) + ";";
            else
                appendUtf8 (copy, c);
        }

        const std::u32string text;
        const UntrustedXmlLimits limits;
        size_t position = 0;
        std::string copy;
        std::set<std::u32string> names;
    };
}

std::unique_ptr<juce::XmlElement> parseUntrustedXml (const juce::String& untrustedText, UntrustedXmlLimits limits)
{
    PlainDocumentReader reader (xmlCharactersOf (untrustedText), limits);

    if (const auto plainText = reader.read())
        return juce::parseXML (*plainText);

    return {};
}

} // namespace zuvo
