namespace zuvo
{

namespace
{
    /** The text re-encoded character by character, without NUL characters.
        The framework takes some invalid UTF-8 (an overlong NUL) for valid when
        it makes text of bytes, and afterwards measures and copies such a
        string differently, writing past the buffer it made for the copy. */
    juce::String reencoded (const juce::String& text)
    {
        juce::String result;
        result.preallocateBytes (text.getNumBytesAsUTF8() + 1);

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
            if (const auto c = p.getAndAdvance(); c != 0)
                result += c;

        return result;
    }

    bool holdsUnsafeMarkup (const juce::String& text)
    {
        const auto document = text.trimStart();
        const auto afterDeclaration = document.startsWith ("<?xml") ? document.indexOf ("?>") : 0;

        return afterDeclaration < 0
            || document.indexOf (afterDeclaration, "<?") >= 0
            || document.containsIgnoreCase ("<!DOCTYPE")
            || document.contains ("&<");
    }
}

std::unique_ptr<juce::XmlElement> parseUntrustedXml (const juce::String& untrustedText, int maxTags)
{
    const auto text = reencoded (untrustedText);

    int numTags = 0;

    for (const auto c : text)
        if (c == '<' && ++numTags > maxTags)
            return {};

    if (holdsUnsafeMarkup (text))
        return {};

    // The parser can step over the end of a document that ends inside a
    // character reference ("&#x31"), so the text it gets ends in a blank.
    return juce::parseXML (text + " ");
}

} // namespace zuvo
