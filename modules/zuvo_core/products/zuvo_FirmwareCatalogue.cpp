namespace zuvo
{

namespace
{
    /** The two products whose firmware is listed in a catalogue of its own. */
    bool usesSpecialCatalogue (int pid)
    {
        return pid == 186 || pid == 187;
    }

    /** Thousands of entries fit; a larger answer is no catalogue and is not read to its end. */
    constexpr juce::int64 maxCatalogueBytes = 2 * 1024 * 1024;

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
    const auto document = parseUntrustedXml (documentText);

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

    const auto answer = Network::fetch (address, maxCatalogueBytes, Network::getTimeouts().catalogueDeadlineMs);

    if (! answer.isWholeDocument())
        return juce::Result::fail ("Error connecting to server");

    return readCatalogue (answer.body.toString(), pid, firmwares);
}

} // namespace zuvo
