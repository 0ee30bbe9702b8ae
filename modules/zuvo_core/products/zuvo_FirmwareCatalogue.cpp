namespace zuvo
{

namespace
{
    /** The two products whose firmware is listed in a catalogue of its own. */
    bool usesSpecialCatalogue (int pid)
    {
        return pid == 186 || pid == 187;
    }

    /** The framework's parser and the tree built from its document recurse
        once per level of nesting, so a document nested some ten thousand
        levels deep would overflow the stack. A catalogue holds one element
        per firmware image; counting every '<' bounds the depth far below
        that and still leaves room for thousands of entries. */
    constexpr int maxTagsInACatalogue = 4096;

    /** Whether the text holds what no catalogue holds and what the
        framework's parser does not take safely:
        - a document type declaration: the entities it declares would expand
          into elements that the count of '<' does not see;
        - a processing instruction after the XML declaration: followed by text
          inside an element, it sends the parser into an endless loop;
        - "&<", which the parser takes for a reference to an unknown entity
          and then parses as elements, reading past the end of that text when
          it ends inside a character reference. */
    bool holdsUnsafeMarkup (const juce::String& text)
    {
        const auto document = text.trimStart();
        const auto afterDeclaration = document.startsWith ("<?xml") ? document.indexOf ("?>") : 0;

        return afterDeclaration < 0
            || document.indexOf (afterDeclaration, "<?") >= 0
            || document.containsIgnoreCase ("<!DOCTYPE")
            || document.contains ("&<");
    }

    /** The server's document, or nullptr when it is not a plain XML document. */
    std::unique_ptr<juce::XmlElement> parseCatalogue (const juce::String& text)
    {
        int numTags = 0;

        for (const auto c : text)
            if (c == '<' && ++numTags > maxTagsInACatalogue)
                return {};

        if (holdsUnsafeMarkup (text))
            return {};

        // The parser can step over the end of a document that ends inside a
        // character reference ("&#x31"), so the text it gets ends in a blank.
        // It stops at the first NUL, which no text document holds; the bytes
        // after one have not even been checked to be UTF-8.
        return juce::parseXML (juce::String (text.getCharPointer()) + " ");
    }

    /** Text between elements has no place in a tree; the framework would assert on it. */
    void dropTextElements (juce::XmlElement& element)
    {
        element.deleteAllTextElements();

        for (auto* child : element.getChildIterator())
            dropTextElements (*child);
    }

    /** The leading digits of an entry's "pid" (after blanks and an optional
        minus sign), 0 when there are none. Digits beyond the range of an int
        name no product, so they saturate instead of wrapping round onto one. */
    juce::int64 entryPidOf (const juce::String& text)
    {
        auto p = text.getCharPointer().findEndOfWhitespace();
        const auto negative = *p == '-';

        if (negative)
            ++p;

        constexpr juce::int64 beyondInt = (juce::int64) std::numeric_limits<int>::max() + 2;
        juce::int64 value = 0;

        for (auto c = *p; c >= '0' && c <= '9'; c = *++p)
            value = juce::jmin (beyondInt, value * 10 + (c - '0'));

        return negative ? -value : value;
    }
}

juce::Result Product::readCatalogue (const juce::String& documentText, int pid, juce::ValueTree& firmwares)
{
    const auto document = parseCatalogue (documentText);

    if (document == nullptr)
        return juce::Result::fail ("Error connecting to server");

    dropTextElements (*document);
    const auto catalogue = juce::ValueTree::fromXml (*document);

    if (! catalogue.isValid())
        return juce::Result::fail ("Could not read server response");

    firmwares = catalogue;

    for (int i = firmwares.getNumChildren(); --i >= 0;)
        if (entryPidOf (firmwares.getChild (i)["pid"].toString()) != pid)
            firmwares.removeChild (i, nullptr);

    if (firmwares.getNumChildren() == 0)
        return juce::Result::fail ("No firmware matches in the server, please try again manually!");

    return juce::Result::ok();
}

juce::Result Product::fetchAvailableFirmwares (int pid, juce::ValueTree& firmwares)
{
    if (pid < 0 || pid == unknownPid)
        return juce::Result::fail ("Cannot fetch firmware details for Unknown product");

    const juce::URL address (Network::getFirmwareServerBase()
                             + (usesSpecialCatalogue (pid) ? "firmware-special.xml" : "firmware.xml"));

    if (! Network::canConnectToWebsite (address))
        return juce::Result::fail ("The firmware server is currently unavailable.");

    return readCatalogue (address.readEntireTextStream(), pid, firmwares);
}

} // namespace zuvo
