#include <gtest/gtest.h>
#include <zuvo_firmware/zuvo_firmware.h>

#include "common/SimulatedStudio.h"

namespace
{
    juce::String hexOf (const juce::uint8* bytes, int size)
    {
        return juce::String::toHexString (bytes, size).toUpperCase();
    }

    juce::String hexOf (const juce::MidiMessage& message)
    {
        return hexOf (message.getRawData(), message.getRawDataSize());
    }

    /** The payload bytes of what reached a unit's upgrade-mode output, EF 7F 7F shown as "[EF]". */
    juce::String decoded (const std::vector<midiports::Arrival>& arrivals)
    {
        juce::StringArray parts;

        for (const auto& arrival : arrivals)
        {
            const auto byte = midiports::nibbleByte (arrival.message);
            parts.add (byte >= 0 ? juce::String::toHexString (byte).paddedLeft ('0', 2).toUpperCase()
                                 : "[" + hexOf (arrival.message.getRawData(), 1) + "]");
        }

        return parts.joinIntoString (" ");
    }

    const char* const resetFrame = "55 55 55 55 55 55 55 55 55 55 1D 03 00 49 02 00 BD";
}

TEST (LoaderProtocol, UpgradeRequests)
{
    struct Case { int pid, length; const char* bytes; };

    const Case cases[] =
    {
        { 156, 9, "F0 1D 03 01 1C 00 7F 7F F7" },
        { 161, 9, "F0 1D 03 01 21 00 7F 7F F7" },
        { 161, 8, "F0 1D 03 01 21 55 7F F7" },
        { 156, 12, "F0 1D 03 01 1C 00 7F 7F F7" },   // never more than the template
        { 156, 5, "F0 1D 03 01 1C" },
        { 130, 9, "F0 1D 03 01 02 00 7F 7E F7" },    // a product marked in byte 7
        { 130, 8, "F0 1D 03 01 02 55 7F F7" },       // ... but only in the 9-byte form
        { 117, 9, "F0 1D 03 00 73 00 7F 7F F7" },    // a model that answers to its family's code (115)
        { 300, 9, "F0 1D 03 02 2C 00 7F 7F F7" }
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.pid) + " / " + juce::String (c.length));
        EXPECT_EQ (hexOf (zuvo::makeFirmwareUpgradeRequestX (c.pid, c.length)), c.bytes);
    }
}

TEST (LoaderProtocol, CommandFramesAndTheirChecksums)
{
    using namespace zuvo;

    fillInChecksum (midiConnect);
    EXPECT_EQ (hexOf (midiConnect, loaderFrameSize), "55 55 55 55 55 55 55 55 55 55 1D 03 00 49 7F 00 3A");

    midiErase[loaderParameterByte] = eraseCodeFor (156);
    fillInChecksum (midiErase);
    EXPECT_EQ (hexOf (midiErase, loaderFrameSize), "55 55 55 55 55 55 55 55 55 55 1D 03 00 49 00 70 2B");

    fillInChecksum (midiReset);
    EXPECT_EQ (hexOf (midiReset, loaderFrameSize), resetFrame);

    EXPECT_EQ (hexOf (midiWrite, loaderParameterByte), "55 55 55 55 55 55 55 55 55 55 1D 03 00 49 01");
    EXPECT_EQ (midiWrite[loaderChecksumByte], 0);

    // The sum wraps round at 256.
    const juce::uint8 bytes[] = { 0xff, 0x02, 0x80, 0x80 };
    EXPECT_EQ (checksumOf (bytes, 4), 0x01);
}

TEST (LoaderProtocol, EraseCodes)
{
    int numErasedWith71 = 0;

    for (int pid = 0; pid < 200; ++pid)
    {
        EXPECT_TRUE (zuvo::erase15[pid] == 0x70 || zuvo::erase15[pid] == 0x71) << pid;
        numErasedWith71 += zuvo::erase15[pid] == 0x71 ? 1 : 0;
        EXPECT_EQ (zuvo::eraseCodeFor (pid), zuvo::erase15[pid]);
    }

    EXPECT_EQ (numErasedWith71, 4);

    for (const auto pid : { 156, 161, -1, 200, 2000 })
        EXPECT_EQ (zuvo::eraseCodeFor (pid), 0x70) << pid;
}

//==============================================================================
TEST (LoaderProtocol, EveryUnitInUpgradeModeIsResetAndLeavesIt)
{
    const SimulatedStudio studio;
    studio.controller.enterUpgradeMode();
    studio.extender.enterUpgradeMode();

    EXPECT_TRUE (zuvo::FirmwareUpgradeComponent::resetAllFwug0());

    for (auto* unit : { &studio.controller, &studio.extender })
    {
        SCOPED_TRACE (unit->getPortName());
        EXPECT_EQ (decoded (unit->getUpgradeArrivals()), juce::String ("[EF] ") + resetFrame);
        EXPECT_FALSE (unit->isInUpgradeMode());
    }

    // Nobody in upgrade mode: nothing is sent.
    studio.controller.clearHistory();
    EXPECT_TRUE (zuvo::FirmwareUpgradeComponent::resetAllFwug0());
    EXPECT_TRUE (studio.controller.getArrivals().empty());
}

TEST (LoaderProtocol, AUnitThatStaysInUpgradeModeIsReported)
{
    const SimulatedStudio studio;
    studio.controller.setLoaderSetup ([] (midiports::SimulatedLoader& loader) { loader.setStaysAfterReset(); });
    studio.controller.enterUpgradeMode();
    studio.extender.enterUpgradeMode();

    EXPECT_FALSE (zuvo::FirmwareUpgradeComponent::resetAllFwug0());
    EXPECT_TRUE (studio.controller.isInUpgradeMode());
    EXPECT_FALSE (studio.extender.isInUpgradeMode());
}

TEST (LoaderProtocol, AnUpgradePortThatDoesNotOpenIsSkipped)
{
    const SimulatedStudio studio;
    studio.backend->addOutput ("");
    auto other = studio.backend->addOutput ("Zuvo firmware upgrade 2");
    studio.backend->setOpenFails ("Zuvo firmware upgrade");
    studio.controller.enterUpgradeMode();

    EXPECT_FALSE (zuvo::FirmwareUpgradeComponent::resetAllFwug0());
    EXPECT_TRUE (studio.controller.getUpgradeArrivals().empty());

    // The empty name does not shift the ports that are opened.
    EXPECT_EQ (decoded (other->getArrivals()), juce::String ("[EF] ") + resetFrame);
}
