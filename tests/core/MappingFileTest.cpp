#include <gtest/gtest.h>

#include "Arrays.h"
#include "VtrPlus.h"
#include "common/TemporarySettings.h"

#include <zuvo_core/zuvo_core.h>

namespace
{
    const char* const modeSlugs[] = { "mackie", "logic", "pro-tools", "usrdef-mcp", "usrdef-hui" };

    using SlotTable = std::array<juce::uint8, 400>;

    SlotTable copyOf (const juce::uint8 (*table)[4])
    {
        SlotTable copy;
        std::memcpy (copy.data(), table, copy.size());
        return copy;
    }

    std::array<juce::uint8, 18> copyOfKnobVelos()
    {
        std::array<juce::uint8, 18> copy;
        std::memcpy (copy.data(), knobVelos, copy.size());
        return copy;
    }

    struct MappingFileTest : ::testing::Test
    {
        ~MappingFileTest() override     { isZoomNorLR = 0; }

        /** The current map saved, as an element to change before loading it. */
        std::unique_ptr<juce::XmlElement> savedCurrentMap()
        {
            EXPECT_TRUE (device.saveCurrentMapping (file.getFile()).wasOk());
            return juce::parseXML (file.getFile());
        }

        juce::Result load (const juce::XmlElement& document)
        {
            document.writeTo (file.getFile());
            return device.openFile (file.getFile());
        }

        juce::Result load (const juce::String& text)
        {
            file.getFile().replaceWithText (text);
            return device.openFile (file.getFile());
        }

        juce::Result loadBytes (const std::string& bytes)
        {
            file.getFile().replaceWithData (bytes.data(), bytes.size());
            return device.openFile (file.getFile());
        }

        /** Saves the current map and loads the file: the map must come back as it was. */
        void expectSavedMapLoadsTheSame()
        {
            const auto before = device.getCurrentMap().tree.createCopy();
            const juce::TemporaryFile saved (".rilo");
            ASSERT_TRUE (device.saveCurrentMapping (saved.getFile()).wasOk());
            ASSERT_TRUE (device.openFile (saved.getFile()).wasOk());
            EXPECT_TRUE (device.getCurrentMap().tree.isEquivalentTo (before));
        }

        TemporarySettings settings;
        VtrPlus device;
        juce::TemporaryFile file { ".rilo" };
    };
}

TEST_F (MappingFileTest, EachFactoryMapIsSavedAsOneDocument)
{
    const char* const names[] = { "Mackie", "Logic Pro", "Pro Tools", "User Define", "User Define" };
    const juce::StringArray controlAttributes { "id", "kind", "type", "chan", "value", "value1", "value2", "velo" };

    for (int mode = 0; mode < 5; ++mode)
    {
        SCOPED_TRACE (modeSlugs[mode]);
        device.setCtMode (mode);
        const auto document = savedCurrentMap();
        ASSERT_NE (document, nullptr);

        EXPECT_TRUE (file.getFile().loadFileAsString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        EXPECT_EQ (document->getTagName(), "map");
        ASSERT_EQ (document->getNumAttributes(), 3);
        EXPECT_EQ (document->getAttributeName (0), "mode");
        EXPECT_EQ (document->getAttributeName (1), "name");
        EXPECT_EQ (document->getAttributeName (2), "protocol");
        EXPECT_EQ (document->getStringAttribute ("mode"), modeSlugs[mode]);
        EXPECT_EQ (document->getStringAttribute ("name"), names[mode]);
        EXPECT_EQ (document->getStringAttribute ("protocol"), mode == 2 || mode == 4 ? "1" : "0");

        ASSERT_EQ (document->getNumChildElements(), 1);
        const auto* controls = document->getChildByName ("controls");
        ASSERT_NE (controls, nullptr);
        EXPECT_EQ (controls->getNumAttributes(), 0);
        ASSERT_EQ (controls->getNumChildElements(), 89);

        for (int i = 0; i < 89; ++i)
        {
            const auto* control = controls->getChildElement (i);
            EXPECT_EQ (control->getTagName(), "control");
            EXPECT_EQ (control->getIntAttribute ("id"), i + 1);
            ASSERT_EQ (control->getNumAttributes(), controlAttributes.size());

            for (int a = 0; a < controlAttributes.size(); ++a)
                EXPECT_EQ (control->getAttributeName (a), controlAttributes[a]);
        }
    }
}

TEST_F (MappingFileTest, SaveThenLoadGivesTheSameMap)
{
    for (int mode = 0; mode < 5; ++mode)
    {
        SCOPED_TRACE (modeSlugs[mode]);
        device.setCtMode (mode);
        device.getCurrentMap().getControlById (40).setProperty (Tags::chan, 9, nullptr);
        const auto original = device.getCurrentMap().tree.createCopy();
        ASSERT_TRUE (device.saveCurrentMapping (file.getFile()).wasOk());
        const auto firstText = file.getFile().loadFileAsString();

        device.setCtMode ((mode + 1) % 5);
        ASSERT_TRUE (device.openFile (file.getFile()).wasOk());

        EXPECT_EQ (device.getCurrentCtMode(), mode);
        EXPECT_TRUE (device.getCurrentMap().tree.isEquivalentTo (original));
        ASSERT_TRUE (device.saveCurrentMapping (file.getFile()).wasOk());
        EXPECT_EQ (file.getFile().loadFileAsString(), firstText);
    }
}

TEST_F (MappingFileTest, LoadingReplacesTheStoredMapInPlace)
{
    device.setCtMode (1);
    auto document = savedCurrentMap();
    document->getChildByName ("controls")->getChildElement (0)->setAttribute ("chan", 4);
    document->setAttribute ("protocol", 1);   // the mode's protocol wins

    device.setCtMode (0);
    const auto tablesBefore = std::make_tuple (copyOf (cb), copyOf (lg), copyOf (nd), copyOfKnobVelos());
    const auto oldLogic = device.getModesTree().getChild (1);
    g_LasPtcl4Usdf = 1;

    ASSERT_TRUE (load (*document).wasOk());

    const auto modes = device.getModesTree();
    ASSERT_EQ (modes.getNumChildren(), 5);
    EXPECT_EQ (modes.getChild (1)[Tags::mode].toString(), "logic");
    EXPECT_TRUE (modes.getChild (1) != oldLogic);
    EXPECT_EQ (modes.getChild (1).getChildWithName (Tags::controls).getChild (0)[Tags::chan].toString(), "4");
    EXPECT_TRUE (device.getCurrentMap().tree == modes.getChild (1));
    EXPECT_EQ (modes[Tags::curr].toString(), "logic");
    EXPECT_EQ (device.getCurrPtcl(), 0);
    EXPECT_EQ (g_LasPtcl4Usdf, 1);
    EXPECT_EQ (std::make_tuple (copyOf (cb), copyOf (lg), copyOf (nd), copyOfKnobVelos()), tablesBefore);
    g_LasPtcl4Usdf = 0;
}

TEST_F (MappingFileTest, AUserMcpFileRebuildsItsSlotTable)
{
    struct Case
    {
        const char* what;
        int zoom;
        std::function<void (juce::XmlElement& controls)> edit;
        std::function<void()> check;
    };

    const auto control = [] (juce::XmlElement& controls, int id) -> juce::XmlElement&
    {
        return *controls.getChildElement (id - 1);
    };

    const auto setAll = [] (juce::XmlElement& c, const char* type, int chan, int value, int velo)
    {
        c.setAttribute ("type", type);
        c.setAttribute ("chan", chan);
        c.setAttribute ("value", value);
        c.setAttribute ("velo", velo);
    };

    const auto record = [] (int slot) { return std::vector<int> (nd[slot], nd[slot] + 4); };
    const auto knobVelosBefore = copyOfKnobVelos();

    const Case cases[] = {
        { "a button as a controller", 0,
          [&] (auto& cs) { setAll (control (cs, 1), "cc", 3, 20, 64); },
          [&] { EXPECT_EQ (record (25), std::vector<int> ({ 0x0b, 0xb2, 0x14, 0x40 }));
                EXPECT_EQ (copyOfKnobVelos(), knobVelosBefore); } },
        { "a missing control", 0,
          [&] (auto& cs) { cs.removeChildElement (&control (cs, 66), true); },
          [&] { EXPECT_EQ (record (72), std::vector<int> ({ 0x09, 0x90, 0x00, 0x7f })); } },
        { "type null, and a control without a type", 0,
          [&] (auto& cs) { setAll (control (cs, 2), "null", 5, 1, 2); setAll (control (cs, 3), "cc", 1, 7, 9);
                           control (cs, 3).removeAttribute ("type"); },
          [&] { EXPECT_EQ (record (26), std::vector<int> ({ 0x00, 0x04, 0x01, 0x02 }));
                EXPECT_EQ (record (27), std::vector<int> ({ 0x09, 0x90, 0x07, 0x09 })); } },
        { "a knob's rotation pattern, by controller number", 0,
          [&] (auto& cs) { setAll (control (cs, 65), "cc", 1, 16, 127); setAll (control (cs, 66), "cc", 1, 30, 64);
                           setAll (control (cs, 67), "note", 1, 16, 64); },
          [&] { EXPECT_EQ (knobVelos[0][0], 127);
                EXPECT_EQ (knobVelos[1][1], 64);
                EXPECT_EQ (knobVelos[2][0], knobVelosBefore[4]);
                EXPECT_EQ (knobVelos[2][1], knobVelosBefore[5]); } },
        { "the jog in zoom state 1: each state into its own slots", 1,
          [&] (auto& cs) { setAll (control (cs, 86), "note", 2, 50, 1); setAll (control (cs, 87), "note", 2, 51, 1);
                           setAll (control (cs, 73), "cc", 1, 60, 127); setAll (control (cs, 74), "cc", 1, 60, 127); },
          [&] { EXPECT_EQ (record (69), std::vector<int> ({ 0x09, 0x91, 50, 1 }));
                EXPECT_EQ (record (70), std::vector<int> ({ 0x09, 0x91, 51, 1 }));
                EXPECT_EQ (record (79), std::vector<int> ({ 0x0b, 0xb0, 60, 127 }));
                EXPECT_EQ (record (80), std::vector<int> ({ 0x0b, 0xb0, 60, 127 }));
                EXPECT_EQ (knobVelos[8][0], 127);
                EXPECT_EQ (knobVelos[8][1], knobVelosBefore[17]); } },
    };

    device.setCtMode (3);
    const auto factoryDocument = savedCurrentMap();

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        CtMap (device.getCurrentMap()).reset();
        auto document = std::make_unique<juce::XmlElement> (*factoryDocument);
        c.edit (*document->getChildByName ("controls"));

        isZoomNorLR = c.zoom;
        ASSERT_TRUE (load (*document).wasOk());
        isZoomNorLR = 0;
        c.check();
    }
}

TEST_F (MappingFileTest, AUserHuiFileRebuildsItsPairTables)
{
    device.setCtMode (4);
    auto document = savedCurrentMap();
    auto& controls = *document->getChildByName ("controls");
    const auto setPair = [&] (int id, int value1, int value2)
    {
        controls.getChildElement (id - 1)->setAttribute ("value1", value1);
        controls.getChildElement (id - 1)->setAttribute ("value2", value2);
    };

    setPair (25, 3, 0x44);      // a button: HUI button index 0
    setPair (66, 0x40, 5);      // a knob
    setPair (74, 13, 0);        // the right jog half
    setPair (85, 0x40, 2);      // the master fader, with the function of that pair
    controls.getChildElement (85 - 1)->setAttribute ("value", 11);
    setPair (76, 1, 0x41);      // a zoom button shares its row with control 86 ...
    setPair (86, 13, 0x43);     // ... which comes later and so wins it
    controls.removeChildElement (controls.getChildElement (88 - 1), true);

    const std::vector<int> rowOfControl88 (HuiBnPairs[67], HuiBnPairs[67] + 2);
    CtMap (device.getCurrentMap()).reset();
    ASSERT_TRUE (load (*document).wasOk());

    const auto pair = [] (const unsigned char* row) { return std::vector<int> (row, row + 2); };
    EXPECT_EQ (pair (HuiBnPairs[0]), std::vector<int> ({ 3, 0x44 }));
    EXPECT_EQ (pair (HuiKnPairs[1]), std::vector<int> ({ 0x40, 5 }));
    EXPECT_EQ (pair (HuiJogPairs[1]), std::vector<int> ({ 13, 0 }));
    EXPECT_EQ (pair (HuiFdknPairs[8]), std::vector<int> ({ 0x40, 2 }));
    EXPECT_EQ (pair (HuiBnPairs[69]), std::vector<int> ({ 13, 0x43 }));
    EXPECT_EQ (pair (HuiBnPairs[67]), rowOfControl88);
}

TEST_F (MappingFileTest, BadDocumentsChangeNothing)
{
    struct Case
    {
        const char* what;
        juce::String text;
    };

    const zuvo::UntrustedXmlLimits limits;

    const auto nested = [] (int levels)
    {
        return "<map mode=\"logic\">" + juce::String::repeatedString ("<a>", levels)
                 + juce::String::repeatedString ("</a>", levels) + "</map>";
    };

    // Next to the root's "mode": count attributes more.
    const auto attributes = [] (int count)
    {
        juce::String text;

        for (int i = 1; i <= count; ++i)
            text << " a" << i << "=\"\"";

        return text;
    };

    // Next to "map" and "mode": count - 1 names more.
    const auto elementsOfDistinctNames = [] (int count)
    {
        juce::String text;

        for (int i = 1; i < count; ++i)
            text << "<e" << i << "/>";

        return text;
    };

    const Case cases[] = {
        { "an empty file", "" },
        { "no XML", "not xml at all" },
        { "unclosed elements", "<map mode=\"logic\"><controls>" },
        { "no mode", "<map name=\"Logic Pro\"><controls/></map>" },
        { "a mode in the wrong case", "<map mode=\"Logic\"/>" },
        { "an empty mode", "<map mode=\"\"/>" },
        { "an unknown mode", "<map mode=\"usrdef\"/>" },
        { "a repeated mode", "<map mode=\"logic\" mode=\"mackie\"/>" },
        { "a repeated control attribute", "<map mode=\"logic\"><controls><control id=\"1\" chan=\"2\" chan=\"3\"/></controls></map>" },
        { "entities of a document type", "<!DOCTYPE map [<!ENTITY a \"<b>&a;</b>\">]><map mode=\"logic\">&a;</map>" },
        { "an external document type", "<!DOCTYPE map SYSTEM \"other.rilo\"><map mode=\"logic\" name=\"&a;\"/>" },
        { "nesting that would overflow the parser's stack", nested (50000) },
        { "text after a processing instruction, where the parser would hang", "<map mode=\"logic\"><?pi?>text</map>" },
        { "a character reference cut off by the end", "<map mode=\"logic\">&#x" },
        { "nesting one level deeper than a file may be", nested (limits.maxDepth) },
        { "an entity that no document declares", "<map mode=\"logic\" name=\"&logic;\"/>" },
        { "an end tag of another element", "<map mode=\"logic\"><controls></control></map>" },
        { "a second root element", "<map mode=\"logic\"/><map mode=\"mackie\"/>" },
        { "an attribute of bytes of any declared size", "<map mode=\"logic\" base64:b=\"2000000000.\"/>" },
        { "more attributes in an element than a file may hold", "<map mode=\"logic\"" + attributes (limits.maxAttributesPerElement) + "/>" },
        { "more names than a file may hold", "<map mode=\"logic\">" + elementsOfDistinctNames (limits.maxNames) + "</map>" },
        { "more ampersands in a value than a file may hold",
          "<map mode=\"logic\" name=\"" + juce::String::repeatedString ("&amp;", limits.maxQuotesAndAmpersandsPerValue + 1) + "\"/>" },
        { "a file longer than a mapping file may be",
          "<map mode=\"logic\"/><!--" + juce::String::repeatedString (" ", VtrPlus::maxMappingFileBytes) + "-->" },
        { "a map that saves to a longer file (\">\" as \"&gt;\")",
          "<map mode=\"logic\" name=\"" + juce::String::repeatedString (">", VtrPlus::maxMappingFileBytes / 4) + "\"/>" },
    };

    device.setCtMode (3);
    nd[10][2] = 55;
    const auto modesBefore = device.getModesTree().createCopy();
    const auto ndBefore = copyOf (nd);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto result = load (c.text);
        EXPECT_TRUE (result.failed());
        EXPECT_EQ (result.getErrorMessage(), "Could not load mapping data");
        EXPECT_TRUE (device.getModesTree().isEquivalentTo (modesBefore));
        EXPECT_EQ (device.getCurrentCtMode(), 3);
        EXPECT_EQ (copyOf (nd), ndBefore);
    }

    const auto missing = device.openFile (file.getFile().getSiblingFile ("no such file.rilo"));
    EXPECT_EQ (missing.getErrorMessage(), "Could not load mapping data");

    // A file without end is refused once a mapping file's length is read.
    if (const juce::File endless ("/dev/zero"); endless.exists())
    {
        EXPECT_EQ (device.openFile (endless).getErrorMessage(), "Could not load mapping data");
    }
}

TEST_F (MappingFileTest, ValuesTheEditorCannotWriteAreRefusedAndChangeNothing)
{
    struct Case
    {
        const char* what;
        int mode;
        int id;
        const char* attribute;
        const char* text;       // nullptr removes the attribute
    };

    const Case cases[] = {
        { "channel 0 (status FF)", 3, 4, "chan", "0" },
        { "channel 17", 0, 4, "chan", "17" },
        { "a note above 127", 3, 1, "value", "200" },
        { "a controller below 0", 3, 65, "value", "-1" },
        { "a velocity above 127", 1, 1, "velo", "128" },
        { "a number with trailing text", 3, 1, "value", "12abc" },
        { "a wrongly cased type", 3, 3, "type", "CC" },
        { "an unknown kind", 3, 1, "kind", "knob" },
        { "a control without a kind", 3, 1, "kind", nullptr },
        { "an id outside 1-89", 3, 2, "id", "90" },
        { "an id that repeats another", 3, 2, "id", "1" },
        { "an id with a leading zero", 3, 2, "id", "02" },
        { "a HUI port byte FF", 4, 25, "value2", "255" },
        { "a HUI zone past the last", 4, 25, "value1", "30" },
        { "a jog zone other than 0D", 4, 73, "value1", "12" },
        { "a knob port past 7", 4, 65, "value2", "8" },
        { "a fader whose function is not its pair's", 4, 77, "value", "11" },
        { "a HUI control that sends notes", 4, 1, "type", "note" },
        { "a function outside the list", 4, 1, "value", "101" },
        { "a pro-tools function changed", 2, 1, "value1", "44" },
        { "a pro-tools jog outside the jog's functions", 2, 73, "value", "88" },
        { "a pro-tools jog with one byte outside the jog's functions", 2, 74, "value2", "88" },
        { "a knob controller with a rotation the Rotation box lacks", 3, 65, "velo", "100" },
        { "a knob note with a velocity the editor never writes", 3, 66, "velo", "1" },
        { "a jog whose halves differ in a value outside 0-127", 3, 74, "value", "128" },
        { "a HUI jog whose function is no function number", 4, 73, "value", "101" },
    };

    // Some state of every kind that a load could change.
    device.setCtMode (4);
    HuiBnPairs[3][1] = 0x45;
    device.setCtMode (3);
    nd[10][2] = 55;
    knobVelos[2][1] = 99;

    const auto tables = []
    {
        std::vector<juce::uint8> bytes;
        const auto add = [&bytes] (const auto& table)
        {
            const auto* begin = reinterpret_cast<const juce::uint8*> (&table);
            bytes.insert (bytes.end(), begin, begin + sizeof (table));
        };

        add (cb); add (lg); add (nd); add (pt); add (knobVelos);
        add (HuiBnPairs); add (HuiKnPairs); add (HuiFdknPairs); add (HuiJogPairs);
        return bytes;
    };

    std::unique_ptr<juce::XmlElement> factoryDocuments[5];

    for (int mode = 0; mode < 5; ++mode)
    {
        device.setCtMode (mode);
        factoryDocuments[mode] = savedCurrentMap();
    }

    device.setCtMode (3);
    const auto modesBefore = device.getModesTree().createCopy();
    const auto tablesBefore = tables();

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        auto document = std::make_unique<juce::XmlElement> (*factoryDocuments[c.mode]);
        auto* control = document->getChildByName ("controls")->getChildElement (c.id - 1);

        if (c.text != nullptr)
            control->setAttribute (c.attribute, c.text);
        else
            control->removeAttribute (c.attribute);

        const auto result = load (*document);
        EXPECT_EQ (result.getErrorMessage(), "Could not load mapping data");
        EXPECT_TRUE (device.getModesTree().isEquivalentTo (modesBefore));
        EXPECT_EQ (device.getCurrentCtMode(), 3);
        EXPECT_TRUE (tables() == tablesBefore);
    }

    // The unchanged documents still load.
    for (int mode = 0; mode < 5; ++mode)
        EXPECT_TRUE (load (*factoryDocuments[mode]).wasOk()) << modeSlugs[mode];
}

TEST_F (MappingFileTest, AJogThatAnEarlierEditorSavedInAZoomStateLoadsAsTheNormalState)
{
    struct Case
    {
        const char* what;
        int mode;
        std::vector<std::tuple<int, const char*, const char*>> saved;   // id, attribute, text
        std::vector<std::tuple<int, const char*, const char*>> loaded;
        std::array<int, 4> normalJogRecord {};      // "usrdef-mcp": slot 80 of nd
    };

    const Case cases[] = {
        { "pro-tools, zoom button 1", 2, { { 73, "value", "87" }, { 74, "value", "89" } },
          { { 73, "value", "17" }, { 74, "value", "17" } } },
        { "pro-tools, R in zoom state 2", 2,
          { { 73, "value", "90" }, { 73, "value1", "90" }, { 73, "value2", "90" },
            { 74, "value", "86" }, { 74, "value1", "86" }, { 74, "value2", "86" } },
          { { 73, "value1", "17" }, { 74, "value2", "17" } } },
        { "usrdef-hui, a zoom state's button functions", 4, { { 73, "value", "14" }, { 74, "value", "61" } },
          { { 73, "value", "0" }, { 74, "value", "1" } } },
        { "usrdef-hui, the halves' own pairs stay", 4, { { 73, "value", "54" }, { 73, "value2", "64" } },
          { { 73, "value", "0" }, { 73, "value2", "64" } } },
        { "usrdef-mcp, zoom state 1's notes", 3, { { 73, "value", "98" }, { 74, "value", "99" } },
          { { 73, "value", "60" }, { 74, "value", "60" }, { 73, "type", "cc" } }, { 11, 0xb0, 60, 64 } },
        { "usrdef-mcp, R in zoom state 2", 3,
          { { 73, "type", "note" }, { 73, "value", "96" }, { 73, "velo", "127" },
            { 74, "type", "note" }, { 74, "value", "97" }, { 74, "velo", "127" } },
          { { 73, "type", "cc" }, { 73, "value", "60" }, { 74, "velo", "64" } }, { 11, 0xb0, 60, 64 } },
        { "usrdef-mcp, both halves alike are the normal state", 3,
          { { 73, "value", "98" }, { 74, "value", "98" }, { 73, "velo", "127" }, { 74, "velo", "127" } },
          { { 73, "value", "98" }, { 74, "value", "98" }, { 74, "velo", "127" } }, { 11, 0xb0, 98, 127 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        device.setCtMode (c.mode);
        CtMap (device.getCurrentMap()).reset();
        auto document = savedCurrentMap();
        auto* controls = document->getChildByName ("controls");

        for (const auto& [id, attribute, text] : c.saved)
            controls->getChildElement (id - 1)->setAttribute (attribute, text);

        device.setCtMode (0);
        ASSERT_TRUE (load (*document).wasOk());
        EXPECT_EQ ((int) device.getCurrentCtMode(), c.mode);

        for (const auto& [id, attribute, text] : c.loaded)
            EXPECT_EQ (device.getCurrentMap().getControlById (id)[juce::Identifier (attribute)].toString(), text)
                << id << " " << attribute;

        if (c.mode == 3)
        {
            EXPECT_EQ ((std::array<int, 4> { nd[80][0], nd[80][1], nd[80][2], nd[80][3] }), c.normalJogRecord);
        }
    }
}

TEST_F (MappingFileTest, TheProtocolOfALoadedMapIsItsModes)
{
    for (int mode : { 3, 4 })
    {
        SCOPED_TRACE (modeSlugs[mode]);
        device.setCtMode (mode);
        auto document = savedCurrentMap();
        document->setAttribute ("protocol", mode == 3 ? 1 : 0);
        g_LasPtcl4Usdf = mode == 3 ? 1 : 0;

        device.setCtMode (0);
        ASSERT_TRUE (load (*document).wasOk());
        EXPECT_EQ (device.getCurrPtcl(), mode == 3 ? 0 : 1);
        EXPECT_EQ (g_LasPtcl4Usdf, device.getCurrPtcl());   // "User Define" brings this mode back
    }

    g_LasPtcl4Usdf = 0;
}

TEST_F (MappingFileTest, TextThatXmlCannotHoldIsReplacedAndSavesToAFileThatLoads)
{
    struct Case
    {
        const char* what;
        std::string name;           // bytes of the root's "name" in the file
        juce::String nameLoaded;
    };

    const auto replacement = juce::String::charToString (0xfffd);

    const Case cases[] = {
        { "an overlong NUL", "Lo\xc0\x80gic", "Lo" + replacement + replacement + "gic" },
        { "a surrogate in UTF-8", "a\xed\xa0\x80", "a" + replacement },
        { "control characters", "a\x01\x1f\x7f", "a" + replacement + replacement + "\x7f" },
        { "a reference to a surrogate", "&#55296;", replacement },
        { "references to control characters", "&#1;&#x0;", replacement + replacement },
        { "references to noncharacters", "&#xFFFE;&#65535;", replacement + replacement },
        { "references beyond Unicode", "&#x110000;&#99999999999999999999;", replacement + replacement },
        { "references to what XML holds", "&#9;&#xD;&#233;&#x1F600;&lt;&amp;&quot;",
          juce::String (juce::CharPointer_UTF8 ("\t\r\xc3\xa9\xf0\x9f\x98\x80<&\"")) },
        { "bytes that are no UTF-8 at all, read as Windows-1252", "caf\xe9", juce::String (juce::CharPointer_UTF8 ("caf\xc3\xa9")) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ASSERT_TRUE (loadBytes ("<map mode=\"logic\" name=\"" + c.name + "\"><controls/></map>").wasOk());
        EXPECT_EQ (device.getCurrentMap().tree[Tags::name].toString(), c.nameLoaded);
        expectSavedMapLoadsTheSame();
    }

    // Invalid UTF-8 outside a document: copying such text once wrote past a buffer.
    EXPECT_EQ (loadBytes ("na\xc0\x80=\"def-->i\"").getErrorMessage(), "Could not load mapping data");
}

TEST_F (MappingFileTest, LooseDocumentsAreTakenAsTheyAre)
{
    // A mode with blanks is stored by its exact slug; another root name and no controls are fine.
    ASSERT_TRUE (load ("<?xml version=\"1.0\"?><!-- a comment --><mapping mode=\" pro-tools \" extra=\"kept\"/>").wasOk());

    const auto current = device.getCurrentMap().tree;
    EXPECT_EQ (current[Tags::mode].toString(), "pro-tools");
    EXPECT_EQ (current.getType().toString(), "mapping");
    EXPECT_EQ (current["extra"].toString(), "kept");
    EXPECT_TRUE (current == device.getModesTree().getChild (2));
    EXPECT_EQ (device.getModesTree().getNumChildren(), 5);
    EXPECT_TRUE (device.saveCurrentMapping (file.getFile()).wasOk());

    // As deep as a file may be: it loads, saves and goes into the settings.
    const auto levels = zuvo::UntrustedXmlLimits().maxDepth - 1;
    const auto deep = "<map mode=\"logic\">" + juce::String::repeatedString ("<a>", levels)
                        + juce::String::repeatedString ("</a>", levels) + "</map>";
    ASSERT_TRUE (load (deep).wasOk());
    expectSavedMapLoadsTheSame();
}

TEST_F (MappingFileTest, AFileLoadsTheSameInAnyEncodingLineEndAndLayout)
{
    /** The text in UTF-16 with a byte-order mark, in either byte order. */
    const auto utf16 = [] (const juce::String& text, bool bigEndian)
    {
        std::string bytes = bigEndian ? "\xfe\xff" : "\xff\xfe";

        for (auto unit = text.toUTF16(); *unit != 0; ++unit)
        {
            const auto high = (char) (*unit.getAddress() >> 8), low = (char) (*unit.getAddress() & 0xff);
            bytes += bigEndian ? std::string { high, low } : std::string { low, high };
        }

        return bytes;
    };

    // A "usrdef-mcp" map whose controls are not all factory ones, as saved.
    device.setCtMode (3);
    device.getCurrentMap().getControlById (1).setProperty (Tags::chan, 5, nullptr);
    device.getCurrentMap().getControlById (65).setProperty (Tags::velo, 127, nullptr);
    const auto saved = savedCurrentMap()->toString();
    ASSERT_TRUE (load (saved).wasOk());
    const auto expectedMap = device.getCurrentMap().tree.createCopy();
    const auto expectedTable = copyOf (nd);

    const auto reordered = [&]
    {
        auto document = juce::parseXML (saved);

        for (auto* control : document->getChildByName ("controls")->getChildIterator())
        {
            juce::StringPairArray attributes;

            for (int i = control->getNumAttributes(); --i >= 0;)
                attributes.set (control->getAttributeName (i), control->getAttributeValue (i));

            control->removeAllAttributes();

            for (int i = 0; i < attributes.size(); ++i)
                control->setAttribute (attributes.getAllKeys()[i], attributes.getAllValues()[i]);
        }

        return document->toString();
    }();

    const auto commented = saved.replace ("<control ", "<!-- a control -->\n  <control ");
    const auto declaration = saved.upToFirstOccurrenceOf ("?>", true, false);
    const auto spaced = declaration + saved.fromFirstOccurrenceOf ("?>", false, false)
                                           .replace ("\" ", "\"\t\n       ").replace ("/>", "  />").replace ("<controls>", "<controls>\n\n\n");
    const auto long100KB = saved.replace ("<controls>", "<controls>" + juce::String::repeatedString ("\n<!-- " + juce::String::repeatedString ("-", 90) + " -->", 960));

    const std::pair<const char*, std::string> cases[] = {
        { "CRLF line ends", saved.replace ("\n", "\r\n").toStdString() },
        { "CR line ends", saved.replace ("\n", "\r").toStdString() },
        { "a UTF-8 byte-order mark", "\xef\xbb\xbf" + saved.toStdString() },
        { "UTF-16 little-endian with a byte-order mark", utf16 (saved, false) },
        { "UTF-16 big-endian with a byte-order mark", utf16 (saved, true) },
        { "the encoding name in lower case", saved.replace ("encoding=\"UTF-8\"", "encoding=\"utf-8\"").toStdString() },
        { "the attributes in reverse order", reordered.toStdString() },
        { "blanks, tabs and line breaks between attributes and elements", spaced.toStdString() },
        { "comments between the controls", commented.toStdString() },
        { "about 100 KB with comments", long100KB.toStdString() },
    };

    ASSERT_GT (cases[std::size (cases) - 1].second.size(), 95000u);

    for (const auto& [what, bytes] : cases)
    {
        SCOPED_TRACE (what);
        CtMap (device.getCurrentMap()).reset();
        device.setCtMode (0);
        ASSERT_TRUE (loadBytes (bytes).wasOk());
        EXPECT_TRUE (device.getCurrentMap().tree.isEquivalentTo (expectedMap));
        EXPECT_EQ (copyOf (nd), expectedTable);
    }
}

TEST_F (MappingFileTest, TheLongestMapThatLoadsStillLoadsOnceEdited)
{
    // The factory map with a root attribute "pad" as long as a file allows.
    device.setCtMode (3);
    auto document = savedCurrentMap();
    const auto withPad = [&] (int length)
    {
        document->setAttribute ("pad", juce::String::repeatedString ("x", length));
        return document->toString();
    };

    int loads = 0, refused = VtrPlus::maxMappingFileBytes;

    while (refused - loads > 1)
    {
        const auto length = (loads + refused) / 2;
        (load (withPad (length)).wasOk() ? loads : refused) = length;
    }

    ASSERT_TRUE (load (withPad (loads)).wasOk());

    // Every control takes the longest values that the editor writes, then the factory ones.
    for (auto control : device.getCurrentMap().tree.getChildWithName (Tags::controls))
        for (const auto& [property, value] : { std::pair { Tags::type, juce::var ("pitch") }, { Tags::chan, 16 },
                                              { Tags::value, 127 }, { Tags::v1, 127 }, { Tags::v2, 127 }, { Tags::velo, 127 } })
            control.setProperty (property, value, nullptr);

    expectSavedMapLoadsTheSame();
    CtMap (device.getCurrentMap()).reset();
    expectSavedMapLoadsTheSame();
}

TEST_F (MappingFileTest, AFileLoadsOnlyWhenItsMapSavesAgainWithinTheLimit)
{
    // The editor's own file with copies of its controls in an element of another program.
    device.setCtMode (3);
    const auto saved = savedCurrentMap();
    const auto withCopies = [&] (int copies)
    {
        auto document = std::make_unique<juce::XmlElement> (*saved);
        auto* other = document->createNewChildElement ("other");

        for (int i = 0; i < copies; ++i)
            other->addChildElement (new juce::XmlElement (*saved->getChildByName ("controls")));

        return document;
    };

    ASSERT_TRUE (load (*withCopies (5)).wasOk());
    EXPECT_GT (file.getFile().getSize(), 60000);
    expectSavedMapLoadsTheSame();

    const auto modesBefore = device.getModesTree().createCopy();
    EXPECT_EQ (load (*withCopies (6)).getErrorMessage(), "Could not load mapping data");
    EXPECT_LT (file.getFile().getSize(), VtrPlus::maxMappingFileBytes * 6 / 10);
    EXPECT_TRUE (device.getModesTree().isEquivalentTo (modesBefore));
}

TEST_F (MappingFileTest, SaveFailures)
{
    const auto nowhere = file.getFile().getChildFile ("sub").getChildFile ("map.rilo");
    EXPECT_EQ (device.saveCurrentMapping (nowhere).getErrorMessage(), "Failed to write mapping file");

    auto modes = device.getModesTree();
    modes.removeChild (4, nullptr);
    device.setCtMode (4);
    EXPECT_EQ (device.saveCurrentMapping (file.getFile()).getErrorMessage(), "Could not save current mapping to disk");
}
