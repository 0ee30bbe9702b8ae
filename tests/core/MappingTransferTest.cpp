#include <gtest/gtest.h>

#include "Arrays.h"
#include "Defa.h"
#include "MappingTransfer.h"
#include "VtrPlus.h"
#include "common/SimulatedStudio.h"
#include "common/TemporarySettings.h"

using Record = std::array<juce::uint8, 6>;
using midiports::SimulatedUnit;

namespace
{
    const char* const modeSlugs[] = { "mackie", "logic", "pro-tools", "usrdef-mcp", "usrdef-hui" };

    juce::String hex (const juce::MidiMessage& m)
    {
        return juce::String::toHexString (m.getRawData(), m.getRawDataSize()).toUpperCase();
    }

    bool isHui (int mode)   { return mode == 2 || mode == 4; }

    /** The control whose record a position carries, found through the slot
        table rather than listed: the positions without a control repeat 49. */
    int controlForPosition (int position)
    {
        if (position >= 49 && position <= 57)
            return 49;

        for (int id = 1; id <= 64; ++id)
            if (slotForCid (id) == position)
                return id;

        for (int id = 77; id <= 85; ++id)
            if (slotForCid (id) == position)
                return id;

        return position - 6;   // knobs 65-72 at 71-78
    }

    enum class Form { control, zoom, direction, knob, jog, fader };

    Form formAt (int position)
    {
        if (position == 47 || position == 48)  return Form::zoom;
        if (position >= 67 && position <= 70)  return Form::direction;
        if (position >= 71 && position <= 78)  return Form::knob;
        if (position == 79 || position == 80)  return Form::jog;
        if (position >= 90)                    return Form::fader;
        return Form::control;
    }

    /** What the slot tables and the HUI rules say a position must carry. */
    Record expectedRecord (const CtMap& map, int position)
    {
        const int mode = map.getCtMode();
        const auto form = formAt (position);
        const auto control = map.getControlById (controlForPosition (position));
        const int value = control[Tags::value];
        const auto v1 = (juce::uint8) (int) control[Tags::v1];
        const auto v2 = (juce::uint8) (int) control[Tags::v2];
        const auto x = (juce::uint8) (v2 & 0x0f);

        if (isHui (mode))
        {
            switch (form)
            {
                case Form::control:    return { 0x0b, 0xb0, 0x0f, v1, 0x2f, v2 };
                case Form::zoom:       return { 0x0b, 0xb0, 0x0f, pt[88][1], 0x2f, pt[88][2] };
                case Form::direction:  return { 0x0b, 0xb0, 0x0f, HuiBnPairs[position - 1][0], 0x2f, HuiBnPairs[position - 1][1] };
                case Form::knob:       return { 0x0b, 0xb0, (juce::uint8) (0x40 + x), 0x40, 0, 0 };
                case Form::jog:        return { 0x0b, 0xb0, 0x0f, 0x0d, 0x2f, HuiJogPairs[80 - position][1] };
                case Form::fader:
                    if (Defa::indexForvalue (mode, 3, value) <= 8)
                        return { 0x0b, 0xb0, x, 0x00, (juce::uint8) (0x20 + x), 0x00 };
                    return { 0x0b, 0xb0, (juce::uint8) (0x40 + x), 0x40, 0, 0 };
            }
        }

        const auto* t = arrForMoid[mode][form == Form::control ? slotForCid (controlForPosition (position)) : position];

        switch (form)
        {
            case Form::control:    return value != 0 ? Record { t[0], t[1], t[2], 0x7f, 0, 0 } : Record { 9, 0x90, 0, 0x7f, 0, 0 };
            case Form::zoom:       return { 9, 0x90, t[2], 0x7f, 0, 0 };
            case Form::direction:  return { t[0], t[1], t[2], 0x7f, 0, 0 };
            case Form::knob:
            case Form::jog:        return { t[0], t[1], t[2], t[3], 0, 0 };
            case Form::fader:      return { t[0], t[1], t[2], 0, 0, 0 };
        }

        return {};
    }

    /** The blocks of one record and whether a pause must follow each, with the
        pacing counter that runs through the whole stream. */
    struct Schedule
    {
        std::vector<int> blockSizes;
        std::vector<int> pauseAfterBlock;   // ms
        int closingPauses = 0;

        void add (int size, int pauseMs)    { blockSizes.push_back (size); pauseAfterBlock.push_back (pauseMs); }
        void counted (int size)             { add (size, countedPause()); }
        int countedPause()                  { return ++counter % 2 == 0 ? 1 : 0; }
        int counter = 0;
    };

    Schedule expectedSchedule (const CtMap& map)
    {
        Schedule s;
        const int mode = map.getCtMode();

        for (int position = 1; position <= 98; ++position)
        {
            const auto form = formAt (position);
            const int value = map.getControlById (controlForPosition (position))[Tags::value];

            if (form == Form::zoom || (form == Form::control && (isHui (mode) || value == 0)))
            {
                for (int i = 0; i < 3; ++i)
                    s.add (2, 1);
            }
            else if (form == Form::control)
            {
                for (int i = 0; i < 4; ++i)
                    s.counted (1);

                s.add (2, 1);
            }
            else
            {
                for (int i = 0; i < 6; ++i)
                    s.counted (1);
            }
        }

        s.closingPauses = s.countedPause();
        s.closingPauses += s.countedPause();
        return s;
    }

    /** A device object whose settings stay out of the machine-wide folder. */
    struct TransferTest : ::testing::Test
    {
        ~TransferTest() override    { displayingExpander = false; isZoomNorLR = 0; }

        TemporarySettings settings;
        SimulatedStudio studio;
        VtrPlus device;
    };
}

TEST_F (TransferTest, EveryModeReachesEitherUnitAsTheTablesSay)
{
    for (const auto toExtender : { false, true })
    {
        for (int mode = 0; mode < 5; ++mode)
        {
            SCOPED_TRACE (juce::String (modeSlugs[mode]) + (toExtender ? " to the extender" : " to the controller"));
            auto& unit = toExtender ? studio.extender : studio.controller;
            unit.clearHistory();
            displayingExpander = toExtender;
            device.setCtMode (mode);
            device.setCurrentOutputDevice (unit.getPortName());

            ASSERT_TRUE (device.sendCurrentMapping().wasOk());
            EXPECT_EQ (device.getPID(), toExtender ? 161 : 156);

            EXPECT_TRUE (unit.getErrors().isEmpty()) << unit.getErrors().joinIntoString ("\n");
            const auto arrivals = unit.getArrivals();
            ASSERT_EQ (arrivals.size(), 592u);
            EXPECT_EQ (hex (arrivals[0].message), "EF 7F 7F");

            const char* const starts[2][5] = {
                { "F0 1D 03 01 1C 00 01 7F F7", "F0 1D 03 01 1C 00 02 7F F7", "F0 1D 03 01 1C 01 03 7F F7",
                  "F0 1D 03 01 1C 00 04 7F F7", "F0 1D 03 01 1C 01 04 7F F7" },
                { "F0 1D 03 01 21 00 01 7F F7", "F0 1D 03 01 21 00 02 7F F7", "F0 1D 03 01 21 01 03 7F F7",
                  "F0 1D 03 01 21 00 04 7F F7", "F0 1D 03 01 21 01 04 7F F7" } };
            EXPECT_EQ (hex (arrivals[1].message), starts[toExtender ? 1 : 0][mode]);
            EXPECT_EQ (hex (arrivals[590].message), "EF 7F 7F");
            EXPECT_EQ (hex (arrivals[591].message), "9E 7F 7F");

            const auto transfers = unit.getTransfers();
            ASSERT_EQ (transfers.size(), 1u);

            for (int position = 1; position <= 98; ++position)
            {
                SCOPED_TRACE ("position " + juce::String (position));
                EXPECT_EQ (transfers[0].records[(size_t) position - 1], expectedRecord (device.getCurrentMap(), position));
            }
        }
    }
}

TEST_F (TransferTest, BlocksAndPausesFollowEachRecordForm)
{
    // An MCP map with controls of both forms (value 0 and not), and a HUI map.
    for (const int mode : { 0, 3, 4 })
    {
        SCOPED_TRACE (modeSlugs[mode]);
        studio.controller.clearHistory();
        device.setCtMode (mode);
        device.setCurrentOutputDevice (studio.controller.getPortName());
        ASSERT_TRUE (device.sendCurrentMapping().wasOk());

        const auto arrivals = studio.controller.getArrivals();
        ASSERT_EQ (arrivals.size(), 592u);
        const auto expected = expectedSchedule (device.getCurrentMap());

        EXPECT_EQ (arrivals[0].block, -1);
        EXPECT_EQ (arrivals[1].block, -1);
        EXPECT_EQ (arrivals[590].block, -1);
        EXPECT_EQ (arrivals[591].block, -1);

        std::vector<int> sizes;
        std::vector<double> gapAfter;

        for (size_t i = 2; i < 590; ++i)
        {
            if (i == 2 || arrivals[i].block != arrivals[i - 1].block)
                sizes.push_back (0);

            ++sizes.back();

            if (arrivals[i + 1].block != arrivals[i].block)
                gapAfter.push_back (arrivals[i + 1].timeMs - arrivals[i].timeMs);
        }

        ASSERT_EQ (sizes, expected.blockSizes);

        // Only the required pauses are checked; a scheduler hiccup may add gaps elsewhere.
        EXPECT_GE (arrivals[2].timeMs - arrivals[1].timeMs, 2.0);

        int totalMs = 2 + expected.closingPauses;

        for (size_t b = 0; b < gapAfter.size(); ++b)
        {
            totalMs += expected.pauseAfterBlock[b];

            if (expected.pauseAfterBlock[b] > 0)
            {
                EXPECT_GE (gapAfter[b], 1.0) << "after block " << b;
            }
        }

        EXPECT_EQ (totalMs, 297);
    }
}

TEST_F (TransferTest, PositionOneOfMackieTravelsInNibbles)
{
    device.setCurrentOutputDevice (studio.controller.getPortName());
    ASSERT_TRUE (device.sendCurrentMapping().wasOk());

    const auto arrivals = studio.controller.getArrivals();
    const char* const nibbles[] = { "9F 00 09", "9F 09 00", "9F 01 08", "9F 07 0F", "9F 00 00", "9F 00 00" };

    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ (hex (arrivals[i + 2].message), nibbles[i]);

    EXPECT_EQ (arrivals[6].block, arrivals[7].block);
    EXPECT_NE (arrivals[5].block, arrivals[6].block);
}

TEST_F (TransferTest, EditedRecordsAreSentAsTheyStand)
{
    struct Case
    {
        const char* what;
        int mode, id;
        std::map<juce::String, juce::var> properties;
        int slotType;       // written into the control's slot record first, 0 to leave it
        int position;
        Record expected;
    };

    const Case cases[] = {
        { "an MCP value of 0 hides a controller slot", 3, 1, { { "value", 0 } }, 11, 25, { 9, 0x90, 0, 0x7f, 0, 0 } },
        { "a usrdef-hui volume fader", 4, 79, { { "value", 2 }, { "value2", 2 } }, 0, 92, { 0x0b, 0xb0, 0x02, 0x00, 0x22, 0x00 } },
        { "a usrdef-hui fader as a V-pot", 4, 79, { { "value", 11 }, { "value2", 2 } }, 0, 92, { 0x0b, 0xb0, 0x42, 0x40, 0, 0 } },
        { "a fader value outside the list", 4, 79, { { "value", 40 }, { "value2", 2 } }, 0, 92, { 0x0b, 0xb0, 0x02, 0x00, 0x22, 0x00 } },
        { "text values from a file", 4, 25, { { "value1", "300" }, { "value2", "7" } }, 0, 1, { 0x0b, 0xb0, 0x0f, 0x2c, 0x2f, 0x07 } },
    };

    device.setCurrentOutputDevice (studio.controller.getPortName());

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        device.setCtMode (c.mode);
        auto control = device.getCurrentMap().getControlById (c.id);

        for (const auto& [name, value] : c.properties)
            control.setProperty (juce::Identifier (name), value, nullptr);

        if (c.slotType != 0)
            arrForMoid[c.mode][slotForCid (c.id)][0] = (juce::uint8) c.slotType;

        studio.controller.clearHistory();
        ASSERT_TRUE (device.sendCurrentMapping().wasOk());
        ASSERT_EQ (studio.controller.getTransfers().size(), 1u);
        EXPECT_EQ (studio.controller.getTransfers()[0].records[(size_t) c.position - 1], c.expected);
        CtMap (device.getCurrentMap()).reset();
    }
}

TEST_F (TransferTest, AMapWithoutSomeControlsSendsEachPositionsOwnSlot)
{
    // A "usrdef-mcp" file without knob 66, fader 78 and SEL 1: the file's
    // rebuild gives their slots a note 0, and the transfer sends those slots.
    device.setCtMode (3);
    const juce::TemporaryFile file (".rilo");
    ASSERT_TRUE (device.saveCurrentMapping (file.getFile()).wasOk());
    auto document = juce::parseXML (file.getFile());
    auto* controls = document->getChildByName ("controls");

    for (int id : { 78, 66, 25 })
        controls->removeChildElement (controls->getChildElement (id - 1), true);

    ASSERT_TRUE (document->writeTo (file.getFile()));
    ASSERT_TRUE (device.openFile (file.getFile()).wasOk());

    device.setCurrentOutputDevice (studio.controller.getPortName());
    ASSERT_TRUE (device.sendCurrentMapping().wasOk());
    ASSERT_EQ (studio.controller.getTransfers().size(), 1u);
    EXPECT_TRUE (studio.controller.getErrors().isEmpty()) << studio.controller.getErrors().joinIntoString ("\n");
    const auto records = studio.controller.getTransfers()[0].records;

    EXPECT_EQ (records[72 - 1], (Record { 0x09, 0x90, 0x00, 0x7f, 0, 0 }));   // knob 66
    EXPECT_EQ (records[91 - 1], (Record { 0x09, 0x90, 0x00, 0x00, 0, 0 }));   // fader 78
    EXPECT_EQ (records[1 - 1], (Record { 0x09, 0x90, 0x00, 0x7f, 0, 0 }));    // SEL 1: value 0
    EXPECT_EQ (records[71 - 1], (Record { 0x0b, 0xb0, 16, 0x40, 0, 0 }));     // its neighbours as they were
    EXPECT_EQ (records[90 - 1], (Record { 0x0e, 0xe0, 0, 0, 0, 0 }));
}

TEST_F (TransferTest, ProToolsSendsItsFactoryImageWhateverElseChanged)
{
    device.setCurrentOutputDevice (studio.controller.getPortName());
    device.setCtMode (2);
    ASSERT_TRUE (device.sendCurrentMapping().wasOk());

    // "usrdef-hui" edits of the direction and jog pairs, and edits that only a
    // stray write could make to the "pro-tools" map itself.
    HuiBnPairs[66][1] = 0x41;
    HuiJogPairs[0][1] = 0x40;
    HuiJogPairs[1][1] = 0x00;
    device.getCurrentMap().getControlById (1).setProperty (Tags::v1, 7, nullptr);
    device.getCurrentMap().getControlById (65).setProperty (Tags::v2, 3, nullptr);
    device.getCurrentMap().getControlById (77).setProperty (Tags::value, 12, nullptr);
    ASSERT_TRUE (device.sendCurrentMapping().wasOk());

    device.setCtMode (4);
    ASSERT_TRUE (device.sendCurrentMapping().wasOk());

    const auto transfers = studio.controller.getTransfers();
    ASSERT_EQ (transfers.size(), 3u);
    EXPECT_EQ (transfers[1].records, transfers[0].records);
    EXPECT_EQ (transfers[0].records[67 - 1], (Record { 0x0b, 0xb0, 0x0f, 13, 0x2f, 68 }));
    EXPECT_EQ (transfers[0].records[79 - 1], (Record { 0x0b, 0xb0, 0x0f, 0x0d, 0x2f, 64 }));

    // "usrdef-hui" sends its own edits.
    EXPECT_EQ (transfers[2].records[67 - 1], (Record { 0x0b, 0xb0, 0x0f, 13, 0x2f, 0x41 }));
    EXPECT_EQ (transfers[2].records[79 - 1], (Record { 0x0b, 0xb0, 0x0f, 0x0d, 0x2f, 0x00 }));
    reloadHuiPairTables();
}

TEST_F (TransferTest, TheStreamIgnoresTheZoomState)
{
    device.setCurrentOutputDevice (studio.controller.getPortName());

    for (const int zoom : { 0, 1, 2 })
    {
        isZoomNorLR = zoom;
        ASSERT_TRUE (device.sendCurrentMapping().wasOk());
    }

    const auto transfers = studio.controller.getTransfers();
    ASSERT_EQ (transfers.size(), 3u);
    EXPECT_EQ (transfers[1].records, transfers[0].records);
    EXPECT_EQ (transfers[2].records, transfers[0].records);
}

TEST_F (TransferTest, FailuresSendNothing)
{
    struct Case
    {
        const char* name;
        const char* message;
    };

    studio.backend->setOpenFails ("Vantor X+ MIDI 1");

    const Case cases[] = {
        { "", "No device selected" },
        { "Vantor Q+ MIDI 1", "Vantor Q+ MIDI 1: device does not exist" },
        { "vantor m+ midi 1", "vantor m+ midi 1: device does not exist" },
        { "Vantor X+ MIDI 1", "Vantor X+ MIDI 1: could not open device" },
    };

    displayingExpander = true;
    device.setPID (156);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        device.setCurrentOutputDevice (c.name);
        const auto result = device.sendCurrentMapping();
        EXPECT_TRUE (result.failed());
        EXPECT_EQ (result.getErrorMessage(), c.message);
        EXPECT_EQ (device.getPID(), 156);
    }

    EXPECT_TRUE (studio.controller.getArrivals().empty());
    EXPECT_TRUE (studio.extender.getArrivals().empty());
}

TEST_F (TransferTest, OfTwoOutputsOfOneNameTheFirstIsUsed)
{
    auto first = studio.backend->addOutput ("USB Audio Device");
    auto second = studio.backend->addOutput ("USB Audio Device");
    device.setCurrentOutputDevice ("USB Audio Device");

    ASSERT_TRUE (device.sendCurrentMapping().wasOk());
    EXPECT_EQ (first->getArrivals().size(), 592u);
    EXPECT_TRUE (second->getArrivals().empty());
}

TEST (MappingMessages, StartAndEnd)
{
    EXPECT_EQ (hex (Messages::makeStart (161, 2)), "F0 1D 03 01 21 01 03 7F F7");
    EXPECT_EQ (hex (Messages::makeEnd()), "9E 7F 7F");
}
