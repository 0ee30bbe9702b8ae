// libFuzzer target: arbitrary bytes as a mapping file. Whatever the file
// holds, the device object must keep its five maps, one of each mode, and a
// current map that is one of them; a map that loaded must save and load again
// as it was, also once the editor has written its longest values into it.

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

    /** Edits of every control as the editor makes them, with its longest values. */
    void writeLongestEditorValues (const CtMap& map)
    {
        for (int id = 1; id <= 89; ++id)
        {
            auto control = map.getControlById (id);

            if (! control.isValid())
                continue;

            control.setProperty (Tags::type, "pitch", nullptr);

            for (const auto& property : { Tags::chan, Tags::value, Tags::v1, Tags::v2, Tags::velo })
                control.setProperty (property, 127, nullptr);
        }
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

    if (loaded.wasOk())
    {
        checkRoundTrip (*h.device, output);
        writeLongestEditorValues (h.device->getCurrentMap());
        checkRoundTrip (*h.device, output);
    }

    return 0;
}
