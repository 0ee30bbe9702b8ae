namespace zuvo
{

namespace
{
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

std::unique_ptr<juce::XmlElement> parseUntrustedXml (const juce::String& text, int maxTags)
{
    int numTags = 0;

    for (const auto c : text)
        if (c == '<' && ++numTags > maxTags)
            return {};

    if (holdsUnsafeMarkup (text))
        return {};

    // The parser can step over the end of a document that ends inside a
    // character reference ("&#x31"), so the text it gets ends in a blank.
    // It stops at the first NUL, which no text document holds; the bytes
    // after one have not even been checked to be UTF-8.
    return juce::parseXML (juce::String (text.getCharPointer()) + " ");
}

} // namespace zuvo
