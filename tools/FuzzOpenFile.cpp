// libFuzzer target: arbitrary bytes as a mapping file. Whatever the file
// holds, the device object must keep its five maps, one of each mode, and a
// current map that is one of them; a map that loaded must save and load again
// as it was, also once the editor has edited it; and the unit's tables must
// hold nothing the unit cannot take.

#include "Arrays.h"
#include "VtrPlus.h"

namespace
{
    const char* const modeSlugs[] = { "mackie", "logic", "pro-tools", "usrdef-mcp", "usrdef-hui" };

    struct Harness
    {
        Harness()
        {
            VtrPlus::setSettingsFolder (scratch.getChildFile ("settings"));
            device = std::make_unique<VtrPlus>();
        }

        ~Harness()
        {
            device.reset();
            scratch.deleteRecursively();
        }

        juce::ScopedJuceInitialiser_GUI framework;
        const juce::File scratch { juce::File::createTempFile ("fuzz") };
        std::unique_ptr<VtrPlus> device;
    };

    Harness& harness()
    {
        static Harness h;
        return h;
    }

    void check (bool condition, const char* what)
    {
        if (! condition)
        {
            std::fprintf (stderr, "broken: %s\n", what);
            std::abort();
        }
    }

    void checkMaps (const VtrPlus& device)
    {
        const auto modes = device.getModesTree();
        check (modes.getNumChildren() == 5, "five maps");

        for (int mode = 0; mode < 5; ++mode)
            check (modes.getChildWithProperty (Tags::mode, modeSlugs[mode]).isValid(), "a map of every mode");

        const auto current = device.getCurrentMap();
        check (current.tree.isValid() && modes.indexOf (current.tree) >= 0, "the current map is stored");
        check (current.tree[Tags::mode].toString() == modeSlugs[(int) device.getCurrentCtMode()], "the current map names its mode");
    }

    void checkRoundTrip (VtrPlus& device, const juce::File& file)
    {
        const auto before = device.getCurrentMap().tree.createCopy();
        check (device.saveCurrentMapping (file).wasOk(), "a loaded map saves");
        check (device.openFile (file).wasOk(), "a saved map loads");
        check (device.getCurrentMap().tree.isEquivalentTo (before), "the round trip keeps the map");
        checkMaps (device);
    }

    /** Edits as the editor makes them, as long as it makes them: in the MCP
        modes every control takes the longest values, a HUI map is reset. */
    void editAsTheEditorDoes (CtMap map)
    {
        if (CtMode::protocolForType (map.getCtMode()) == 1)
        {
            map.reset();
            return;
        }

        for (int id = 1; id <= 89; ++id)
        {
            auto control = map.getControlById (id);

            if (! control.isValid())
                continue;

            control.setProperty (Tags::type, "pitch", nullptr);
            control.setProperty (Tags::chan, 16, nullptr);

            for (const auto& property : { Tags::value, Tags::v1, Tags::v2, Tags::velo })
                control.setProperty (property, 127, nullptr);
        }
    }

    /** Every slot record sent of the "usrdef-mcp" table is a message the unit
        knows (or none) with 7-bit data, and every "usrdef-hui" pair is 7-bit. */
    void checkUnitTables()
    {
        for (int slot = 1; slot <= 98; ++slot)
        {
            const auto* r = nd[slot];
            check (r[0] == 0 || r[0] == 9 || r[0] == 11 || r[0] == 14, "a known message type");
            check (r[1] >> 4 == r[0], "a status byte of that type");
            check (r[2] < 0x80 && r[3] < 0x80, "7-bit data");
        }

        const auto checkPairs = [] (const auto& pairs)
        {
            for (const auto& pair : pairs)
                check (pair[0] < 0x80 && pair[1] < 0x80, "7-bit HUI pairs");
        };

        checkPairs (HuiBnPairs);
        checkPairs (HuiKnPairs);
        checkPairs (HuiFdknPairs);
        checkPairs (HuiJogPairs);
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& h = harness();
    const auto input = h.scratch.getChildFile ("input.rilo");
    const auto output = h.scratch.getChildFile ("output.rilo");
    h.scratch.createDirectory();
    input.replaceWithData (data, size);

    const auto loaded = h.device->openFile (input);
    checkMaps (*h.device);
    checkUnitTables();

    if (loaded.wasOk())
    {
        checkRoundTrip (*h.device, output);
        editAsTheEditorDoes (h.device->getCurrentMap());
        checkRoundTrip (*h.device, output);
    }

    return 0;
}
