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
        return juce::String::toHexString (r.data(), (int) r.size()).toUpperCase();
    }

    /** The positions (1 to 98) where the unit decoded other records than
        expected: "position: decoded (expected)". */
    std::vector<juce::String> differences (const Records& decoded, const Records& expected)
    {
        std::vector<juce::String> lines;

        for (size_t i = 0; i < decoded.size(); ++i)
            if (decoded[i] != expected[i])
                lines.push_back (juce::String ((int) i + 1) + ": " + hex (decoded[i]) + " (" + hex (expected[i]) + ")");

        return lines;
    }

    const std::vector<juce::String> none;

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


    /** The editor on a simulated controller, with the user's file, zoom and
        reset actions and what the controller decodes of "Send Data". */
    struct JogZoomStates : public ::testing::Test
    {
        JogZoomStates()
        {
            gui_test::connectThroughPicker (editor, 0);
        }

        ~JogZoomStates() override
        {
            isZoomNorLR = 0;
            isJogLorR = 0;
        }

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

        /** Clicks the zoom buttons as the user does until this zoom state shows. */
        void zoomTo (int zoom)
        {
            if (zoom == isZoomNorLR)
                return;

            editor.click (zoom == 0 ? 74 + isZoomNorLR : 74 + zoom);
            ASSERT_EQ (isZoomNorLR, zoom);
        }

        void saveTo (const juce::File& target)
        {
            editor.nextChosenFile = target;
            editor.click (editor.command (EditorUnderTest::saveFileButton));
            ASSERT_TRUE (target.existsAsFile());
        }

        void loadFrom (const juce::File& source)
        {
            editor.nextChosenFile = source;
            editor.click (editor.command (EditorUnderTest::loadFileButton));
        }

        void pressReset()   { editor.content.keyPressed (juce::KeyPress ('R')); }

        void chooseFunction (int itemId)    { editor.choose (editor.box (EditorUnderTest::funcBox), itemId); }

        /** In "usrdef-mcp": the jog's normal state sends controller 61 (both
            halves), zoom state 1's left half note 50, zoom state 2's right half
            note 40; ends in zoom state 0. */
        void editTheJogInEveryZoomState()
        {
            editor.click (73);
            chooseFunction (62);
            zoomTo (1);
            chooseFunction (51);
            zoomTo (2);
            editor.click (*editor.controls().jogButtonR);
            chooseFunction (41);
            zoomTo (0);
        }

        /** What the controller decodes of the factory map with those edits. */
        static Records withJogEdits (Records records)
        {
            records[79 - 1] = records[80 - 1] = Record { 0x0B, 0xB0, 61, 127, 0, 0 };
            records[69 - 1] = Record { 0x09, 0x90, 50, 0x7F, 0, 0 };
            records[68 - 1] = Record { 0x09, 0x90, 40, 0x7F, 0, 0 };
            return records;
        }

        /** "value" and "type" of the jog's normal state in the current map. */
        std::vector<juce::String> normalJogInTheMap() const
        {
            std::vector<juce::String> properties;

            for (int id : { 73, 74 })
                for (const auto& property : { Tags::value, Tags::type })
                    properties.push_back (editor.controlTree (id)[property].toString());

            return properties;
        }

        SimulatedStudio studio;
        gui_test::AlertRecorder alerts;
        EditorUnderTest editor;
        const juce::TemporaryFile file { ".rilo" };
    };
}

TEST_F (JogZoomStates, EveryRoadKeepsEachStatesAssignment)
{
    struct Road
    {
        const char* what;
        std::function<void (JogZoomStates&)> walk;
        bool edited;        // the unit gets the edits, else the factory map
    };

    const Road roads[] = {
        { "zoom state 1, protocol round trip, Save, R, Load",
          [] (JogZoomStates& t)
          {
              t.zoomTo (1);
              t.editor.choose (t.editor.protocols(), 2);
              t.editor.choose (t.editor.protocols(), 1);
              t.saveTo (t.file.getFile());
              t.pressReset();
              t.loadFrom (t.file.getFile());
          }, true },
        { "zoom state 2, mode round trip, Save, R, Load",
          [] (JogZoomStates& t)
          {
              t.zoomTo (2);
              t.editor.choose (t.editor.modes(), 1);
              t.editor.choose (t.editor.modes(), 4);
              t.saveTo (t.file.getFile());
              t.pressReset();
              t.loadFrom (t.file.getFile());
          }, true },
        { "Save in zoom state 0, R, Load in zoom state 1, then in zoom state 2",
          [] (JogZoomStates& t)
          {
              t.saveTo (t.file.getFile());
              t.pressReset();
              t.zoomTo (1);
              t.loadFrom (t.file.getFile());
              t.zoomTo (2);
              t.loadFrom (t.file.getFile());
          }, true },
        { "R in zoom state 1, back to zoom state 0, Save, R, Load",
          [] (JogZoomStates& t)
          {
              t.zoomTo (1);
              t.pressReset();
              t.zoomTo (0);
              t.saveTo (t.file.getFile());
              t.pressReset();
              t.loadFrom (t.file.getFile());
          }, false },
    };

    editor.switchToMode (usrdefMcp);
    const auto factory = send();
    const auto edited = withJogEdits (factory);

    for (const auto& road : roads)
    {
        SCOPED_TRACE (road.what);
        pressReset();
        zoomTo (0);
        editTheJogInEveryZoomState();
        ASSERT_EQ (differences (send(), edited), none);

        road.walk (*this);

        EXPECT_EQ ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode(), usrdefMcp);
        EXPECT_EQ (differences (send(), road.edited ? edited : factory), none);

        zoomTo (0);
        EXPECT_EQ (differences (send(), road.edited ? edited : factory), none);
        const juce::String jogController (road.edited ? "61" : "60");
        EXPECT_EQ (normalJogInTheMap(), (std::vector<juce::String> { jogController, "cc", jogController, "cc" }));
    }
}

TEST_F (JogZoomStates, AFileSavedInAnyZoomStateLoadsTheSameInAnyZoomState)
{
    editor.switchToMode (usrdefMcp);
    const auto edited = withJogEdits (send());
    editTheJogInEveryZoomState();

    const auto folder = juce::File::createTempFile ("jog-zoom-files");
    ASSERT_TRUE (folder.createDirectory());

    for (int savedIn : { 0, 1, 2 })
    {
        zoomTo (savedIn);
        saveTo (folder.getChildFile ("saved-in-" + juce::String (savedIn) + ".rilo"));
    }

    for (int savedIn : { 0, 1, 2 })
    {
        for (int loadedIn : { 0, 1, 2 })
        {
            SCOPED_TRACE ("saved in zoom state " + std::to_string (savedIn) + ", loaded in " + std::to_string (loadedIn));
            pressReset();
            zoomTo (loadedIn);
            loadFrom (folder.getChildFile ("saved-in-" + juce::String (savedIn) + ".rilo"));
            EXPECT_EQ (differences (send(), edited), none);
        }
    }

    folder.deleteRecursively();
}

TEST_F (JogZoomStates, EveryFileTheEditorSavesLoads)
{
    // Edits of both user-defined maps first, then every mode in every zoom state.
    editor.switchToMode (usrdefMcp);
    editTheJogInEveryZoomState();
    editor.click (41);
    editor.choose (editor.box (EditorUnderTest::msgTypeBox), 4);      // a touch sensor sends nothing
    editor.click (65);
    editor.choose (editor.box (EditorUnderTest::rotationBox), 2);

    editor.switchToMode (usrdefHui);
    editor.click (55);
    editor.choose (editor.box (EditorUnderTest::chanBox), 7);         // a pair in no function
    editor.click (76);
    chooseFunction (15);
    zoomTo (0);

    for (int mode = 0; mode < 5; ++mode)
    {
        editor.switchToMode (mode);

        for (int zoom : { 0, 1, 2 })
        {
            SCOPED_TRACE ("mode " + std::to_string (mode) + " in zoom state " + std::to_string (zoom));
            zoomTo (zoom);
            saveTo (file.getFile());
            const auto saved = VtrPlus::singletonHolder.get()->getCurrentMap().tree.createCopy();

            EXPECT_TRUE (VtrPlus::singletonHolder.get()->openFile (file.getFile()).wasOk());
            EXPECT_TRUE (VtrPlus::singletonHolder.get()->getCurrentMap().tree.isEquivalentTo (saved));
        }

        zoomTo (0);
    }
}

TEST_F (JogZoomStates, ProToolsSendsItsFactoryImageAfterUserHuiEditsAndLoads)
{
    editor.switchToMode (proTools);
    const auto proToolsFactory = send();

    // "usrdef-hui" edits of the jog and of its zoom states' direction records.
    editor.switchToMode (usrdefHui);
    editor.click (74);
    chooseFunction (1);                                   // Tape Back on the right half
    editor.click (76);
    editor.click (*editor.controls().jogButtonR);
    chooseFunction (15);                                  // zoom state 2, lower half: Up
    zoomTo (0);
    const auto huiEdited = send();
    ASSERT_EQ (huiEdited[67 - 1], (Record { 0x0B, 0xB0, 0x0F, 13, 0x2F, 64 }));
    ASSERT_EQ (huiEdited[79 - 1], (Record { 0x0B, 0xB0, 0x0F, 0x0D, 0x2F, 0 }));
    saveTo (file.getFile());
    pressReset();
    loadFrom (file.getFile());
    ASSERT_EQ (differences (send(), huiEdited), none);

    editor.choose (editor.modes(), 3);
    EXPECT_EQ (differences (send(), proToolsFactory), none);

    pressReset();
    EXPECT_EQ (differences (send(), proToolsFactory), none);

    // The user's "usrdef-hui" assignments are as they were.
    editor.choose (editor.modes(), 4);
    ASSERT_EQ ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode(), usrdefHui);
    EXPECT_EQ (differences (send(), huiEdited), none);
}

//==============================================================================
namespace
{
    struct EarlierEditorFile : public JogZoomStates, public ::testing::WithParamInterface<Fixture> {};

    juce::String testNameOf (const Fixture& f)
    {
        return juce::String (f.name).replaceCharacter ('-', '_');
    }

    void PrintTo (const Fixture& f, std::ostream* os)     { *os << f.name; }
}

TEST_P (EarlierEditorFile, LoadsInTheNormalAndItsOwnZoomStateAndSendsWhatThatEditorSent)
{
    const auto& f = GetParam();
    auto expected = recordsIn (fixtureFolder.getChildFile (f.name).withFileExtension ("sent"));

    if (f.sends == Sends::proToolsFactoryImage)
    {
        editor.switchToMode (proTools);
        expected = send();
    }
    else if (f.sends == Sends::factoryNormalJog)
    {
        expected[79 - 1] = expected[80 - 1] = Record { 0x0B, 0xB0, 60, 64, 0, 0 };
    }

    for (int zoom : std::set<int> { 0, f.savedInZoomState })
    {
        SCOPED_TRACE ("loaded in zoom state " + std::to_string (zoom));

        // Another mode first, so that a refused file would leave that one current.
        editor.switchToMode (f.mode == mackie ? logic : mackie);
        zoomTo (zoom);
        loadFrom (fixtureFolder.getChildFile (f.name).withFileExtension ("rilo"));
        ASSERT_EQ ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode(), f.mode) << "refused";

        EXPECT_EQ (differences (send(), expected), none);
        zoomTo (0);
    }
}

INSTANTIATE_TEST_SUITE_P (JogZoomStates, EarlierEditorFile, ::testing::ValuesIn (fixtures),
                          [] (const auto& test) { return testNameOf (test.param).toStdString(); });

TEST (EarlierEditorFiles, EveryFileOfTheFolderIsTested)
{
    juce::StringArray tested, inFolder;

    for (const auto& f : fixtures)
        tested.add (juce::String (f.name) + ".rilo");

    for (const auto& entry : juce::RangedDirectoryIterator (fixtureFolder, false, "*.rilo"))
        inFolder.add (entry.getFile().getFileName());

    tested.sort (false);
    inFolder.sort (false);
    EXPECT_EQ (inFolder, tested);
}
