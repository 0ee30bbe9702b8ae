#include <gtest/gtest.h>

#include "common/SimulatedStudio.h"
#include "gui/EditorTestKit.h"

#include "Shared.h"
#include "VtrPlus.h"

using gui_test::EditorUnderTest;

namespace
{
    enum { mackie, logic, proTools, usrdefMcp, usrdefHui };

    using Record = std::array<juce::uint8, midiports::SimulatedUnit::recordSize>;
    using Records = decltype (midiports::SimulatedUnit::Transfer::records);

    juce::String hex (const Record& r)
    {
        return juce::String::toHexString (r.data(), (int) r.size(), 1).toUpperCase();
    }

    /** The records of a ".sent" file: one line of hex bytes per position. */
    Records recordsIn (const juce::File& file)
    {
        juce::StringArray lines;
        lines.addLines (file.loadFileAsString().trim());
        EXPECT_EQ (lines.size(), (int) std::tuple_size<Records>::value) << file.getFileName();

        Records records {};

        for (int i = 0; i < juce::jmin (lines.size(), (int) records.size()); ++i)
        {
            juce::MemoryBlock bytes;
            bytes.loadFromHexString (lines[i]);
            EXPECT_EQ (bytes.getSize(), records[(size_t) i].size()) << file.getFileName() << " line " << i + 1;
            std::memcpy (records[(size_t) i].data(), bytes.getData(), juce::jmin (bytes.getSize(), records[(size_t) i].size()));
        }

        return records;
    }

    /** "position: decoded (expected)" wherever the unit decoded another record. */
    std::vector<juce::String> differences (const Records& decoded, const Records& expected)
    {
        std::vector<juce::String> lines;

        for (size_t i = 0; i < decoded.size(); ++i)
            if (decoded[i] != expected[i])
                lines.push_back (juce::String ((int) i + 1) + ": " + hex (decoded[i]) + " (" + hex (expected[i]) + ")");

        return lines;
    }

    const juce::File fixtureFolder { VTR_EARLIER_EDITOR_FILES };

    /** What the unit gets of a file, against what the earlier editor sent. */
    enum class Sends
    {
        asSent,
        // "pro-tools" is a factory mode: its factory image, whatever the file holds.
        proToolsFactoryImage,
        // "usrdef-mcp" saved in a zoom state after the jog's normal state had
        // taken the zoom state's assignment, which that editor did not send:
        // the normal state (positions 79 and 80) is the factory jog.
        factoryNormalJog,
    };

    struct Fixture
    {
        const char* name;
        int mode;
        int savedInZoomState;
        Sends sends;
    };

    const Fixture fixtures[] = {
        { "mackie-zoom0", mackie, 0, Sends::asSent },
        { "mackie-zoom1", mackie, 1, Sends::asSent },
        { "mackie-zoom2", mackie, 2, Sends::asSent },
        { "logic-zoom0", logic, 0, Sends::asSent },
        { "logic-zoom1", logic, 1, Sends::asSent },
        { "logic-zoom2", logic, 2, Sends::asSent },
        { "pro-tools-zoom0", proTools, 0, Sends::proToolsFactoryImage },
        { "pro-tools-zoom1", proTools, 1, Sends::proToolsFactoryImage },
        { "pro-tools-zoom2", proTools, 2, Sends::proToolsFactoryImage },
        { "pro-tools-zoom1-reset", proTools, 1, Sends::proToolsFactoryImage },
        { "pro-tools-zoom2-reset", proTools, 2, Sends::proToolsFactoryImage },

        { "usrdef-mcp-zoom0", usrdefMcp, 0, Sends::asSent },
        { "usrdef-mcp-zoom0-edited", usrdefMcp, 0, Sends::asSent },
        { "usrdef-mcp-zoom1", usrdefMcp, 1, Sends::asSent },
        { "usrdef-mcp-zoom1-edited", usrdefMcp, 1, Sends::asSent },
        { "usrdef-mcp-zoom1-mode-switch", usrdefMcp, 1, Sends::factoryNormalJog },
        { "usrdef-mcp-zoom1-edited-protocol-switch", usrdefMcp, 1, Sends::factoryNormalJog },
        { "usrdef-mcp-zoom1-reset", usrdefMcp, 1, Sends::factoryNormalJog },
        { "usrdef-mcp-zoom1-edited-load", usrdefMcp, 1, Sends::factoryNormalJog },
        { "usrdef-mcp-zoom2", usrdefMcp, 2, Sends::asSent },
        { "usrdef-mcp-zoom2-edited", usrdefMcp, 2, Sends::asSent },
        { "usrdef-mcp-zoom2-mode-switch", usrdefMcp, 2, Sends::factoryNormalJog },
        { "usrdef-mcp-zoom2-edited-protocol-switch", usrdefMcp, 2, Sends::factoryNormalJog },
        { "usrdef-mcp-zoom2-reset", usrdefMcp, 2, Sends::factoryNormalJog },
        { "usrdef-mcp-zoom2-edited-load", usrdefMcp, 2, Sends::factoryNormalJog },

        { "usrdef-hui-zoom0", usrdefHui, 0, Sends::asSent },
        { "usrdef-hui-zoom0-edited", usrdefHui, 0, Sends::asSent },
        { "usrdef-hui-zoom1", usrdefHui, 1, Sends::asSent },
        { "usrdef-hui-zoom1-edited", usrdefHui, 1, Sends::asSent },
        { "usrdef-hui-zoom1-mode-switch", usrdefHui, 1, Sends::asSent },
        { "usrdef-hui-zoom1-edited-protocol-switch", usrdefHui, 1, Sends::asSent },
        { "usrdef-hui-zoom1-reset", usrdefHui, 1, Sends::asSent },
        { "usrdef-hui-zoom1-edited-load", usrdefHui, 1, Sends::asSent },
        { "usrdef-hui-zoom2", usrdefHui, 2, Sends::asSent },
        { "usrdef-hui-zoom2-edited", usrdefHui, 2, Sends::asSent },
        { "usrdef-hui-zoom2-mode-switch", usrdefHui, 2, Sends::asSent },
        { "usrdef-hui-zoom2-edited-protocol-switch", usrdefHui, 2, Sends::asSent },
        { "usrdef-hui-zoom2-reset", usrdefHui, 2, Sends::asSent },
        { "usrdef-hui-zoom2-edited-load", usrdefHui, 2, Sends::asSent },
    };

    /** The editor on a simulated controller, loading files through "Load File". */
    struct EarlierEditorFiles : public ::testing::Test
    {
        EarlierEditorFiles()            { gui_test::connectThroughPicker (editor, 0); }
        ~EarlierEditorFiles() override  { isZoomNorLR = 0; isJogLorR = 0; }

        Records send()
        {
            const auto numTransfers = studio.controller.getTransfers().size();
            EXPECT_EQ (gui_test::sendThroughEditor (editor, alerts).message, "Done!");
            const auto transfers = studio.controller.getTransfers();

            if (transfers.size() != numTransfers + 1)
            {
                ADD_FAILURE() << "the controller decoded no transfer";
                return {};
            }

            return transfers.back().records;
        }

        void zoomTo (int zoom)
        {
            if (zoom == isZoomNorLR)
                return;

            editor.click (zoom == 0 ? 74 + isZoomNorLR : 74 + zoom);
            ASSERT_EQ (isZoomNorLR, zoom);
        }

        SimulatedStudio studio;
        gui_test::AlertRecorder alerts;
        EditorUnderTest editor;
    };
}

TEST_F (EarlierEditorFiles, LoadInTheNormalAndTheirOwnZoomStateAndSendWhatThatEditorSent)
{
    editor.switchToMode (proTools);
    const auto proToolsFactory = send();

    juce::StringArray names;

    for (const auto& f : fixtures)
    {
        names.add (juce::String (f.name) + ".rilo");

        for (int zoom : std::set<int> { 0, f.savedInZoomState })
        {
            SCOPED_TRACE (juce::String (f.name) + " loaded in zoom state " + juce::String (zoom));

            // Another mode first, so that a refused file would leave that one current.
            editor.switchToMode (f.mode == mackie ? logic : mackie);
            zoomTo (zoom);
            editor.nextChosenFile = fixtureFolder.getChildFile (f.name).withFileExtension ("rilo");
            editor.click (editor.command (EditorUnderTest::loadFileButton));

            if ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode() != f.mode)
            {
                ADD_FAILURE() << "refused";
                zoomTo (0);
                continue;
            }

            auto expected = recordsIn (fixtureFolder.getChildFile (f.name).withFileExtension ("sent"));

            if (f.sends == Sends::proToolsFactoryImage)
                expected = proToolsFactory;
            else if (f.sends == Sends::factoryNormalJog)
                expected[79 - 1] = expected[80 - 1] = Record { 0x0B, 0xB0, 60, 64, 0, 0 };

            EXPECT_EQ (differences (send(), expected), std::vector<juce::String>());
            zoomTo (0);
        }
    }

    // Every file of the folder is one of these.
    juce::StringArray filesInFolder;

    for (const auto& entry : juce::RangedDirectoryIterator (fixtureFolder, false, "*.rilo"))
        filesInFolder.add (entry.getFile().getFileName());

    filesInFolder.sort (false);
    names.sort (false);
    EXPECT_EQ (filesInFolder, names);
}
