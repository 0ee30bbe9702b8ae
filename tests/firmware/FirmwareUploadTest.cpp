#include <gtest/gtest.h>
#include <zuvo_firmware/zuvo_firmware.h>

#include "common/SimulatedStudio.h"

namespace
{
    using Handler = zuvo::FirmwareUpgradeComponent::MidiInputHandler;
    using midiports::SimulatedLoader;

    const char* const upgradePort = "Zuvo firmware upgrade";
    const char* const upgradedButNak = "Your firmware has been upgraded! Power off your unit and wait for 5 seconds, "
                                       "then turn back on for changes to take effect";

    /** One run of the message loop by the upload, and what had happened by then. */
    struct LoopRun
    {
        int ms;
        size_t numArrivals;    // messages that had reached the unit's upgrade-mode output
        double progress;
        juce::String caption;
    };

    juce::MemoryBlock randomImage (size_t size)
    {
        juce::MemoryBlock image (size);
        juce::Random random (size);

        for (size_t i = 0; i < size; ++i)
            image[i] = (char) random.nextInt (256);

        return image;
    }

    /**
        The controller in upgrade mode behind its upgrade-mode ports, a wizard,
        and the wizard's MIDI handler with its ports open on the unit.

        The handler's message loop runs are recorded; its polls are shortened
        to 1 ms (the acknowledgements come from the unit's own thread all the
        same), and with `skipPauses` its 1 ms pauses are left out.
    */
    class FirmwareUpload : public ::testing::Test
    {
    protected:
        void prepare (std::function<void (SimulatedLoader&)> faults = {})
        {
            studio.controller.setLoaderSetup ([this, faults] (SimulatedLoader& l)
                                              {
                                                  loader = &l;

                                                  if (faults != nullptr)
                                                      faults (l);
                                              });
            studio.controller.enterUpgradeMode();

            wizard = std::make_unique<zuvo::FirmwareUpgradeComponent> (156, true);
            handler = std::make_unique<Handler> (*wizard, 156);
            handler->runMessageLoop = [this] (int ms)
            {
                if (recordRuns)
                    runs.push_back ({ ms, studio.controller.getUpgradeArrivals().size(),
                                      wizard->progress, wizard->progressCaption.getText() });

                if (ms == 1 && skipPauses)
                    return;

                juce::MessageManager::getInstance()->runDispatchLoopUntil (ms == Handler::pollMs ? 1 : ms);
            };

            handler->start (upgradePort);
            ASSERT_NE (handler->input, nullptr);
            ASSERT_NE (handler->output, nullptr);
        }

        void TearDown() override
        {
            handler.reset();
            wizard.reset();
        }

        juce::Result upload (const juce::MemoryBlock& image)
        {
            imageFile.getFile().replaceWithData (image.getData(), image.getSize());
            handler->openProgram (imageFile.getFile());
            return handler->sendProgram();
        }

        /** How many polls the upload made while its caption showed this phase. */
        int pollsDuring (const juce::String& caption) const
        {
            return (int) std::count_if (runs.begin(), runs.end(), [&caption] (const LoopRun& r)
                                        { return r.ms == Handler::pollMs && r.caption == caption; });
        }

        int pollsAfterArrivals (size_t numArrivals) const
        {
            return (int) std::count_if (runs.begin(), runs.end(), [numArrivals] (const LoopRun& r)
                                        { return r.ms == Handler::pollMs && r.numArrivals >= numArrivals; });
        }

        SimulatedStudio studio;
        SimulatedLoader* loader = nullptr;
        std::unique_ptr<zuvo::FirmwareUpgradeComponent> wizard;
        std::unique_ptr<Handler> handler;
        std::vector<LoopRun> runs;
        bool recordRuns = true, skipPauses = false;
        juce::TemporaryFile imageFile { ".bin" };
    };

    constexpr size_t commandFrameMessages = 1 + 17;   // EF 7F 7F and 17 nibble messages
    constexpr size_t writeFrameMessages = 530;
}

//==============================================================================
TEST_F (FirmwareUpload, ATwoBlockImageReachesTheUnitIntact)
{
    prepare();
    const auto image = randomImage (1000);

    ASSERT_TRUE (upload (image).wasOk());
    ASSERT_NE (loader, nullptr);
    EXPECT_TRUE (loader->getErrors().isEmpty()) << loader->getErrors().joinIntoString ("\n");

    // The image, then fill bytes up to the end of the second block.
    const auto received = loader->getReceivedImage();
    ASSERT_EQ (received.getSize(), 1024u);
    EXPECT_EQ (juce::MemoryBlock (received.getData(), 1000), image);

    for (size_t i = 1000; i < 1024; ++i)
        EXPECT_EQ ((juce::uint8) received[i], 0xff) << i;

    // Frames in order, EF 7F 7F before every frame but the writes, block numbers from 00.
    struct Expected { int command, parameter; bool afterPrefix; };
    const Expected expected[] = { { 0x7f, 0x00, true }, { 0x00, 0x70, true }, { 0x01, 0x00, false },
                                  { 0x01, 0x01, false }, { 0x02, 0x00, true } };
    const auto frames = loader->getFrames();
    ASSERT_EQ (frames.size(), std::size (expected));

    for (size_t i = 0; i < frames.size(); ++i)
    {
        SCOPED_TRACE (i);
        EXPECT_EQ (frames[i].command, expected[i].command);
        EXPECT_EQ (frames[i].parameter, expected[i].parameter);
        EXPECT_EQ (frames[i].afterPrefix, expected[i].afterPrefix);
        EXPECT_TRUE (frames[i].valid);
    }

    // Command frames go out message by message, each write-frame message in a block of its own.
    const auto arrivals = studio.controller.getUpgradeArrivals();
    ASSERT_EQ (arrivals.size(), 3 * commandFrameMessages + 2 * writeFrameMessages);

    std::set<int> blocks;

    for (size_t i = 0; i < arrivals.size(); ++i)
    {
        const auto inWriteFrame = i >= 2 * commandFrameMessages && i < 2 * commandFrameMessages + 2 * writeFrameMessages;
        EXPECT_EQ (arrivals[i].block >= 0, inWriteFrame) << i;

        if (inWriteFrame)
            blocks.insert (arrivals[i].block);
    }

    EXPECT_EQ (blocks.size(), 2 * writeFrameMessages);
    EXPECT_FALSE (studio.controller.isInUpgradeMode());
}

TEST_F (FirmwareUpload, OnePausePerTwoMessagesAcrossFrames)
{
    prepare();
    ASSERT_TRUE (upload (randomImage (1000)).wasOk());

    // Every message after the first EF 7F 7F is counted; a pause follows each odd-numbered one.
    std::vector<size_t> countedAtPauses, expected;

    for (const auto& run : runs)
        if (run.ms == 1)
            countedAtPauses.push_back (run.numArrivals - 1);

    const auto numCounted = 3 * commandFrameMessages + 2 * writeFrameMessages - 1;

    for (size_t n = 1; n <= numCounted; n += 2)
        expected.push_back (n);

    EXPECT_EQ (countedAtPauses, expected);
}

TEST_F (FirmwareUpload, ProgressRunsFromEightyPerCentWithThePhaseCaptions)
{
    prepare();
    ASSERT_TRUE (upload (randomImage (1000)).wasOk());

    const double total = 1003.0;
    const std::vector<std::pair<juce::String, double>> expected
    {
        { "Connecting...", 0.8 },
        { "Erasing...", 0.8 + 0.2 / total },
        { "Installing...", 0.8 + 0.4 / total },
        { "Installing...", 0.8 + 0.2 * 512 / total },
        { "Installing...", 1.0 },     // the last block does not fill its frame: the bar stops at its end
        { "Resetting...", 1.0 }
    };

    std::vector<std::pair<juce::String, double>> phases;

    for (const auto& run : runs)
        if (phases.empty() || phases.back() != std::make_pair (run.caption, run.progress))
            phases.emplace_back (run.caption, run.progress);

    ASSERT_EQ (phases.size(), expected.size());

    for (size_t i = 0; i < phases.size(); ++i)
    {
        EXPECT_EQ (phases[i].first, expected[i].first) << i;
        EXPECT_DOUBLE_EQ (phases[i].second, expected[i].second) << i;
    }

    EXPECT_EQ (wizard->progressCaption.getText(), "Resetting...");
    EXPECT_DOUBLE_EQ (wizard->progress, 1.0);
}

TEST_F (FirmwareUpload, BlockNumbersWrapRoundAfterFF)
{
    recordRuns = false;
    skipPauses = true;
    prepare();

    const auto image = randomImage (257 * 512 + 1);
    ASSERT_TRUE (upload (image).wasOk());
    EXPECT_TRUE (loader->getErrors().isEmpty()) << loader->getErrors()[0];

    const auto frames = loader->getFrames();
    ASSERT_EQ (frames.size(), 2u + 258u + 1u);
    EXPECT_EQ (frames[2 + 255].parameter, 0xff);
    EXPECT_EQ (frames[2 + 256].parameter, 0x00);
    EXPECT_EQ (frames[2 + 257].parameter, 0x01);
    EXPECT_EQ (juce::MemoryBlock (loader->getReceivedImage().getData(), image.getSize()), image);
}

//==============================================================================
TEST_F (FirmwareUpload, ImagesOutsideTheSizeLimitsAreRefusedBeforeAnythingIsSent)
{
    struct Case { const char* what; size_t size; bool accepted; };

    const Case cases[] =
    {
        { "an empty file", 0, false },
        { "511 bytes", 511, false },
        { "512 bytes", 512, true },
        { "2 MiB", 2097152, false },
        { "2 MiB and more", 3000000, false }
    };

    prepare();

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        studio.controller.clearHistory();

        const auto result = upload (juce::MemoryBlock (c.size, true));
        EXPECT_EQ (result.wasOk(), c.accepted) << result.getErrorMessage();

        if (c.accepted)
        {
            EXPECT_EQ (loader->getReceivedImage().getSize(), 512u);
            studio.controller.enterUpgradeMode();
            handler->start (upgradePort);
        }
        else
        {
            EXPECT_EQ (result.getErrorMessage(), "Firmware exception!");
            EXPECT_TRUE (studio.controller.getUpgradeArrivals().empty());
        }
    }

    // A file that cannot be read leaves no image either.
    handler->openProgram (imageFile.getFile().getSiblingFile ("missing.bin"));
    EXPECT_EQ (handler->programSize, 0u);
    EXPECT_EQ (handler->sendProgram().getErrorMessage(), "Firmware exception!");
    EXPECT_TRUE (studio.controller.getUpgradeArrivals().empty());
}

TEST_F (FirmwareUpload, TheLargestImageIsAcceptedBySize)
{
    prepare ([] (SimulatedLoader& l) { l.setSilentOn (SimulatedLoader::connect); });

    // A unit that never answers the connect: the size passed, the upload began.
    EXPECT_EQ (upload (randomImage (2097151)).getErrorMessage(), "Could not connect to hardware");
    EXPECT_EQ (handler->programSize, 2097151u);
    EXPECT_EQ (studio.controller.getUpgradeArrivals().size(), commandFrameMessages);
}

TEST_F (FirmwareUpload, FailuresOfTheUpload)
{
    struct Case
    {
        const char* what;
        std::function<void (SimulatedLoader&)> faults;
        const char* message;          // empty: success
        const char* waitingPhase;     // the phase whose wait ran out
        int polls;                    // how many polls it made
    };

    const Case cases[] =
    {
        { "no answer to connect", [] (SimulatedLoader& l) { l.setSilentOn (SimulatedLoader::connect); },
          "Could not connect to hardware", "Connecting...", Handler::maxCommandPolls },
        { "no answer to erase", [] (SimulatedLoader& l) { l.setSilentOn (SimulatedLoader::erase); },
          "", "Erasing...", Handler::maxCommandPolls },
        { "no answer to the second block", [] (SimulatedLoader& l) { l.setSilentOnBlock (1); },
          "Could not write new firmware", "Installing...", Handler::maxBlockPolls },
        { "no answer to reset", [] (SimulatedLoader& l) { l.setSilentOn (SimulatedLoader::reset); },
          "", "Resetting...", Handler::maxCommandPolls },
        { "a nak on reset", [] (SimulatedLoader& l) { l.setNakOnReset(); },
          upgradedButNak, "Resetting...", -1 }
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        runs.clear();
        prepare (c.faults);

        const auto result = upload (randomImage (1000));
        EXPECT_EQ (result.getErrorMessage(), c.message);
        EXPECT_TRUE (loader->getErrors().isEmpty()) << loader->getErrors()[0];

        if (c.polls >= 0)
        {
            // The block's wait is the one after its frame went out.
            const auto polls = juce::String (c.waitingPhase) == "Installing..."
                                   ? pollsAfterArrivals (2 * commandFrameMessages + 2 * writeFrameMessages)
                                   : pollsDuring (c.waitingPhase);
            EXPECT_EQ (polls, c.polls);
        }
        else
        {
            // The nak ends the wait early.
            EXPECT_LT (pollsDuring (c.waitingPhase), Handler::maxCommandPolls);
        }

        // A unit that did not answer the erase or the reset still got the image.
        if (result.wasOk())
        {
            EXPECT_EQ (juce::MemoryBlock (loader->getReceivedImage().getData(), 1000), randomImage (1000));
        }

        for (const auto* flag : { &handler->ackConnect, &handler->ackErase, &handler->ackWrite, &handler->ackReset, &handler->nak })
            EXPECT_FALSE (flag->load());

        TearDown();
        studio.controller.leaveUpgradeMode();
        studio.controller.clearHistory();
    }
}

TEST_F (FirmwareUpload, PortsMustBeOpen)
{
    prepare();
    handler->stop();
    EXPECT_EQ (handler->input, nullptr);
    EXPECT_EQ (handler->output, nullptr);
    handler->openProgram (imageFile.getFile());
    EXPECT_EQ (handler->sendProgram().getErrorMessage(), "No MIDI input device is open");

    // The input opens whatever the letter case of the name, the output only under its exact name.
    handler->start ("ZUVO FIRMWARE UPGRADE");
    EXPECT_NE (handler->input, nullptr);
    EXPECT_EQ (handler->output, nullptr);
    EXPECT_EQ (handler->sendProgram().getErrorMessage(), "No MIDI output device is open");
    EXPECT_TRUE (studio.controller.getUpgradeArrivals().empty());
}

//==============================================================================
TEST (UploadAcknowledgements, OnlyNoteOnsOnChannelSixteenCount)
{
    struct Case
    {
        std::vector<juce::uint8> bytes;
        const char* flag;   // the flag it sets, or nullptr
    };

    const Case cases[] =
    {
        { { 0x9f, 0x7f, 0x00 }, "connect" },
        { { 0x9f, 0x00, 0x01 }, "erase" },
        { { 0x9f, 0x01, 0x00 }, "write" },
        { { 0x9f, 0x02, 0x40 }, "reset" },
        { { 0x9f, 0x01, 0x7f }, "nak" },
        { { 0x9f, 0x33, 0x7f }, "nak" },
        { { 0x9f, 0x03, 0x00 }, nullptr },
        { { 0x9e, 0x01, 0x00 }, nullptr },
        { { 0x8f, 0x01, 0x00 }, nullptr },
        { { 0xbf, 0x7f, 0x7f }, nullptr },
        { { 0xf0, 0x9f, 0x01, 0xf7 }, nullptr }
    };

    const SimulatedStudio studio;
    zuvo::FirmwareUpgradeComponent wizard (156, true);
    Handler handler (wizard, 156);

    for (const auto& c : cases)
    {
        const juce::MidiMessage message (c.bytes.data(), (int) c.bytes.size());
        SCOPED_TRACE (juce::String::toHexString (c.bytes.data(), (int) c.bytes.size()));

        for (auto* flag : { &handler.ackConnect, &handler.ackErase, &handler.ackWrite, &handler.ackReset, &handler.nak })
            *flag = false;

        handler.handleIncomingMidiMessage (nullptr, message);

        const std::pair<const char*, std::atomic<bool>*> flags[] = { { "connect", &handler.ackConnect }, { "erase", &handler.ackErase },
                                                                      { "write", &handler.ackWrite }, { "reset", &handler.ackReset },
                                                                      { "nak", &handler.nak } };
        for (const auto& [name, flag] : flags)
            EXPECT_EQ (flag->load(), c.flag != nullptr && juce::String (c.flag) == name) << name;
    }
}
