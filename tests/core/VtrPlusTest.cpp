#include <gtest/gtest.h>

#include "Arrays.h"
#include "VtrPlus.h"
#include "common/TemporarySettings.h"

namespace
{
    const char* const modeSlugs[] = { "mackie", "logic", "pro-tools", "usrdef-mcp", "usrdef-hui" };

    juce::StringArray modesOf (const juce::ValueTree& modesTree)
    {
        juce::StringArray slugs;

        for (const auto& map : modesTree)
            slugs.add (map[Tags::mode].toString());

        return slugs;
    }

    /** The "modes" element that a settings file holds, read back as the framework reads it. */
    std::unique_ptr<juce::XmlElement> modesInSettingsFile (const juce::File& file)
    {
        juce::PropertiesFile::Options options;
        options.storageFormat = juce::PropertiesFile::storeAsCompressedBinary;
        juce::PropertiesFile properties (file, options);
        return properties.getXmlValue ("modes");
    }

    struct DeviceTest : ::testing::Test
    {
        DeviceTest()                { g_LasPtcl4Usdf = 0; }

        TemporarySettings settings;
    };
}

TEST_F (DeviceTest, StartsWithTheFiveFactoryMapsAndMackieCurrent)
{
    cb[1][2] = 0;   // whatever the tables held before, a start reloads them
    const VtrPlus device;
    const auto modes = device.getModesTree();

    EXPECT_EQ (modes.getType().toString(), "modes");
    EXPECT_EQ (modesOf (modes), juce::StringArray (modeSlugs, 5));
    EXPECT_EQ (modes[Tags::curr].toString(), "mackie");
    EXPECT_EQ (device.getCurrentCtMode(), 0);
    EXPECT_EQ (device.getCurrPtcl(), 0);
    EXPECT_EQ (g_LasPtcl4Usdf, 0);
    EXPECT_EQ (cb[1][2], 24);
    EXPECT_TRUE (device.getCurrentMap().tree == modes.getChild (0));
}

TEST_F (DeviceTest, ModeAndProtocolChanges)
{
    struct Step
    {
        int mode;
        int protocol;      // -1: setCtMode only
        int lastUserProtocol;
    };

    // g_LasPtcl4Usdf follows the protocol only in the two user-defined modes.
    const Step steps[] = { { 4, 1, 1 }, { 3, 0, 0 }, { 4, -1, 0 }, { 4, 1, 1 }, { 2, 1, 1 }, { 0, 0, 1 }, { 3, -1, 1 } };

    VtrPlus device;

    for (const auto& step : steps)
    {
        SCOPED_TRACE (juce::String (modeSlugs[step.mode]) + " " + juce::String (step.protocol));
        device.setCtMode (step.mode);

        if (step.protocol >= 0)
        {
            device.setPtcl (step.protocol);
            EXPECT_EQ (device.getCurrPtcl(), step.mode == 2 || step.mode == 4 ? 1 : 0);
        }

        EXPECT_EQ (device.getCurrentCtMode(), step.mode);
        EXPECT_EQ (device.getModesTree()[Tags::curr].toString(), modeSlugs[step.mode]);
        EXPECT_TRUE (device.getCurrentMap().tree == device.getModesTree().getChild (step.mode));
        EXPECT_EQ (g_LasPtcl4Usdf, step.lastUserProtocol);
    }
}

TEST_F (DeviceTest, HandlesShareTheStoredMap)
{
    VtrPlus device;
    device.setCtMode (3);
    auto first = device.getCurrentMap();
    auto second = device.getCurrentMap();

    first.getControlById (7).setProperty (Tags::chan, 12, nullptr);
    EXPECT_EQ ((int) second.getControlById (7)[Tags::chan], 12);
    EXPECT_EQ ((int) device.getModesTree().getChild (3).getChildWithName (Tags::controls).getChild (6)[Tags::chan], 12);

    device.setCtMode (1);
    EXPECT_EQ (first.getCtMode(), 3);
}

TEST_F (DeviceTest, TheSettingsFileGoesWhereTheEnvironmentSays)
{
    const TemporarySettings other;
    VtrPlus::setSettingsFolder ({});   // leave it to the environment variable
    juce::File folder (other.folder);
    ::setenv ("VTR_SETTINGS_DIR", folder.getFullPathName().toRawUTF8(), 1);

    std::make_unique<VtrPlus>().reset();
    ::unsetenv ("VTR_SETTINGS_DIR");

    EXPECT_TRUE (other.getFile().existsAsFile());
    EXPECT_NE (modesInSettingsFile (other.getFile()), nullptr);
}

TEST_F (DeviceTest, AFolderThatCannotBeWrittenIsSkipped)
{
    const juce::TemporaryFile blocker;
    ASSERT_TRUE (blocker.getFile().create());
    VtrPlus::setSettingsFolder (blocker.getFile().getChildFile ("VtrPlus"));   // below a plain file

    std::make_unique<VtrPlus>().reset();

    EXPECT_FALSE (blocker.getFile().getChildFile ("VtrPlus").exists());
}

// The holder creates the device object once per process, so its whole life is one test.
TEST_F (DeviceTest, TheSingletonLivesOnceAndLeavesItsMapsInTheSettingsFile)
{
    auto* device = VtrPlus::singletonHolder.get();
    ASSERT_NE (device, nullptr);
    EXPECT_EQ (VtrPlus::singletonHolder.get(), device);

    for (const int mode : { 0, 2, 4 })
    {
        device->setCtMode (mode);
        EXPECT_EQ (Defa::getMsVal (25), 24) << modeSlugs[mode];
    }

    device->setCtMode (3);
    nd[1][2] = 77;
    EXPECT_EQ (Defa::getMsVal (25), 77);
    device->getCurrentMap().getControlById (66).setProperty (Tags::velo, 127, nullptr);
    device->setCtMode (1);

    VtrPlus::singletonHolder.deleteInstance();
    EXPECT_EQ (VtrPlus::singletonHolder.get(), nullptr);

    // The framework's compressed binary properties format.
    juce::MemoryBlock header;
    ASSERT_TRUE (settings.getFile().loadFileAsData (header));
    ASSERT_GE (header.getSize(), 4u);
    EXPECT_EQ (juce::String::fromUTF8 (static_cast<const char*> (header.getData()), 4), "CPRP");

    const auto modes = modesInSettingsFile (settings.getFile());
    ASSERT_NE (modes, nullptr);
    EXPECT_EQ (modes->getTagName(), "modes");
    EXPECT_EQ (modes->getStringAttribute ("current"), "logic");
    ASSERT_EQ (modes->getNumChildElements(), 5);
    EXPECT_EQ (modes->getChildElement (3)->getStringAttribute ("mode"), "usrdef-mcp");
    EXPECT_EQ (modes->getChildElement (3)->getChildByName ("controls")->getChildElement (65)->getIntAttribute ("velo"), 127);

    // The next start does not read it back.
    const VtrPlus next;
    EXPECT_EQ (next.getCurrentCtMode(), 0);
    EXPECT_EQ ((int) next.getModesTree().getChild (3).getChildWithName (Tags::controls).getChild (65)[Tags::velo], 64);
    EXPECT_NE (nd[1][2], 77);
}
