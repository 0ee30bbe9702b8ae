// libFuzzer target: arbitrary bytes as the firmware catalogue that the server
// sends. Whatever the document holds, reading it must give one of the
// catalogue's results; on success the tree holds entries of the product only,
// on failure no entry, and every entry must make an item text and a download
// address.

#include <zuvo_core/zuvo_core.h>

namespace
{
    const juce::StringArray results { "Error connecting to server", "Could not read server response",
                                      "No firmware matches in the server, please try again manually!" };

    void check (bool condition, const char* what)
    {
        if (! condition)
        {
            std::fprintf (stderr, "broken: %s\n", what);
            std::abort();
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // As the download makes text of the server's bytes (invalid UTF-8 is read as Windows-1252).
    const auto text = juce::String::createStringFromData (data, (int) size);

    for (const auto pid : { 156, 161, 0 })
    {
        juce::ValueTree firmwares ("firmwares");
        const auto result = zuvo::Product::readCatalogue (text, pid, firmwares);

        if (result.failed())
        {
            check (results.contains (result.getErrorMessage()), "an unknown failure text");
            check (firmwares.getNumChildren() == 0, "entries after a failure");
            continue;
        }

        check (firmwares.getNumChildren() > 0, "success without entries");

        for (const auto& entry : firmwares)
        {
            const auto itemText = entry["name"].toString() + " V" + entry["version"].toString();
            const juce::URL address (zuvo::Network::getFirmwareServerBase() + entry["fw"].toString());
            check (itemText.isNotEmpty() && address.toString (true).isNotEmpty(), "an entry without item text or address");
        }
    }

    return 0;
}
