#include <gtest/gtest.h>
#include <zuvo_core/zuvo_core.h>

#include "common/SimulatedStudio.h"

using midiports::SimulatedUnit;

namespace
{
    juce::MidiMessage bytes (std::initializer_list<int> b)
    {
        std::vector<juce::uint8> data (b.begin(), b.end());
        return juce::MidiMessage (data.data(), (int) data.size());
    }

    std::unique_ptr<midiports::Output> openOutput (const juce::String& name)
    {
        return midiports::openOutputDevice (midiports::getOutputDevices().indexOf (name));
    }

    juce::MidiMessage upgradeRequest (int pid)
    {
        return bytes ({ 0xf0, 0x1d, 0x03, pid >> 7, pid & 0x7f, 0x00, 0x7f, 0x7f, 0xf7 });
    }

    /** Sends a well-formed mapping stream whose record bytes count up from `first`. */
    void sendStream (midiports::Output& out, int pid, int protocol, int modeCode, int first = 0)
    {
        out.sendMessageNow (zuvo::midiExtraMessage());
        out.sendMessageNow (bytes ({ 0xf0, 0x1d, 0x03, pid >> 7, pid & 0x7f, protocol, modeCode, 0x7f, 0xf7 }));

        for (int i = 0; i < SimulatedUnit::numRecords * SimulatedUnit::recordSize; ++i)
        {
            juce::MidiBuffer block;
            block.addEvent (zuvo::nibbleMessage ((juce::uint8) (first + i)), 0);
            out.sendBlockOfMessagesNow (block);
        }

        out.sendMessageNow (zuvo::midiExtraMessage());
        out.sendMessageNow (bytes ({ 0x9e, 0x7f, 0x7f }));
    }

    /** Collects what an input delivers, and on which thread. */
    struct Collector final : juce::MidiInputCallback
    {
        void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& m) override
        {
            const juce::ScopedLock sl (lock);
            messages.add (m);
            sourceWasNull = source == nullptr;
            onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread();
        }

        juce::CriticalSection lock;
        juce::Array<juce::MidiMessage> messages;
        bool sourceWasNull = false, onMessageThread = true;
    };
}

TEST (VirtualBackend, ListsPlainPortsAndUnitsInOrderAndOpensByIndex)
{
    SimulatedStudio studio;
    auto synth = studio.backend->addOutput ("Microsoft GS Wavetable Synth");
    auto blank = studio.backend->addOutput ("");
    auto twin = studio.backend->addOutput ("Microsoft GS Wavetable Synth");

    EXPECT_EQ (midiports::getOutputDevices(),
               juce::StringArray ({ "Vantor M+ MIDI 1", "Vantor X+ MIDI 1", "Microsoft GS Wavetable Synth", "",
                                    "Microsoft GS Wavetable Synth" }));
    EXPECT_EQ (midiports::getInputDevices(), juce::StringArray ({ "Vantor M+ MIDI 1", "Vantor X+ MIDI 1" }));

    auto out = midiports::openOutputDevice (4);
    ASSERT_NE (out, nullptr);
    out->sendMessageNow (bytes ({ 0x90, 1, 2 }));
    juce::MidiBuffer block;
    block.addEvent (bytes ({ 0x90, 3, 4 }), 0);
    block.addEvent (bytes ({ 0x90, 5, 6 }), 0);
    out->sendBlockOfMessagesNow (block);
    out->sendBlockOfMessagesNow (block);

    const auto arrivals = twin->getArrivals();
    ASSERT_EQ (arrivals.size(), 5u);
    EXPECT_EQ (arrivals[0].block, -1);
    EXPECT_EQ (arrivals[1].block, 0);
    EXPECT_EQ (arrivals[2].block, 0);
    EXPECT_EQ (arrivals[3].block, 1);
    EXPECT_EQ (arrivals[2].message.getNoteNumber(), 5);
    EXPECT_TRUE (synth->getArrivals().empty());

    EXPECT_EQ (midiports::openOutputDevice (5), nullptr);
    EXPECT_EQ (midiports::openOutputDevice (-1), nullptr);
}

TEST (VirtualBackend, OpeningANamedPortCanBeMadeToFail)
{
    SimulatedStudio studio;
    studio.backend->setOpenFails ("Vantor M+ MIDI 1");
    EXPECT_EQ (openOutput ("Vantor M+ MIDI 1"), nullptr);
    EXPECT_NE (openOutput ("Vantor X+ MIDI 1"), nullptr);

    studio.backend->setOpenFails ("Vantor M+ MIDI 1", false);
    EXPECT_NE (openOutput ("Vantor M+ MIDI 1"), nullptr);
}

TEST (VirtualBackend, TheStudioPutsThePreviousBackendBack)
{
    auto outer = std::make_shared<midiports::VirtualBackend>();
    outer->addOutput ("USB Audio Device");
    const midiports::ScopedBackend scope (outer);

    {
        SimulatedStudio studio;
        EXPECT_EQ (midiports::getOutputDevices().size(), 2);
    }

    EXPECT_EQ (midiports::getOutputDevices(), juce::StringArray ("USB Audio Device"));
}

TEST (VirtualBackend, InputsDeliverOnTheirOwnThreadUntilStopped)
{
    SimulatedStudio studio;
    auto port = studio.backend->addInput ("USB Audio Device");
    Collector collector;
    auto in = midiports::openInputDevice (midiports::getInputDevices().indexOf ("USB Audio Device"), &collector);
    ASSERT_NE (in, nullptr);

    port->send (bytes ({ 0x90, 1, 1 }));   // not started yet
    port->waitUntilDelivered();
    in->start();
    port->send (bytes ({ 0x90, 2, 2 }));
    port->waitUntilDelivered();
    in->stop();
    port->send (bytes ({ 0x90, 3, 3 }));
    port->waitUntilDelivered();

    const juce::ScopedLock sl (collector.lock);
    ASSERT_EQ (collector.messages.size(), 1);
    EXPECT_EQ (collector.messages[0].getNoteNumber(), 2);
    EXPECT_TRUE (collector.sourceWasNull);
    EXPECT_FALSE (collector.onMessageThread);
}

TEST (SimulatedUnit, PullingTheCableHidesItsPortsAndKillsOpenOnes)
{
    SimulatedStudio studio;
    auto out = openOutput ("Vantor M+ MIDI 1");
    ASSERT_NE (out, nullptr);

    studio.controller.setPluggedIn (false);
    EXPECT_EQ (midiports::getOutputDevices(), juce::StringArray ("Vantor X+ MIDI 1"));
    EXPECT_EQ (midiports::getInputDevices(), juce::StringArray ("Vantor X+ MIDI 1"));

    studio.controller.setPluggedIn (true);
    EXPECT_TRUE (midiports::getOutputDevices().contains ("Vantor M+ MIDI 1"));

    out->sendMessageNow (zuvo::midiExtraMessage());   // opened before the cable was pulled
    EXPECT_TRUE (studio.controller.getArrivals().empty());

    openOutput ("Vantor M+ MIDI 1")->sendMessageNow (zuvo::midiExtraMessage());
    EXPECT_EQ (studio.controller.getArrivals().size(), 1u);
}

TEST (SimulatedUnit, DecodesAWellFormedStream)
{
    SimulatedStudio studio;
    auto out = openOutput ("Vantor X+ MIDI 1");
    sendStream (*out, SimulatedUnit::extenderId, 1, 4, 7);

    EXPECT_TRUE (studio.extender.getErrors().isEmpty()) << studio.extender.getErrors().joinIntoString ("\n");
    const auto transfers = studio.extender.getTransfers();
    ASSERT_EQ (transfers.size(), 1u);
    EXPECT_EQ (transfers[0].productId, 161);
    EXPECT_EQ (transfers[0].protocol, 1);
    EXPECT_EQ (transfers[0].modeCode, 4);
    EXPECT_EQ (transfers[0].records[0][0], 7);
    EXPECT_EQ (transfers[0].records[97][5], (juce::uint8) (7 + 587));
    EXPECT_EQ (studio.extender.getArrivals().size(), 592u);
    EXPECT_TRUE (studio.controller.getArrivals().empty());
}

TEST (SimulatedUnit, FlagsMalformedOrDisorderedStreams)
{
    struct Case
    {
        const char* what;
        std::function<void (midiports::Output&)> send;
    };

    const auto extra = zuvo::midiExtraMessage();
    const auto start = bytes ({ 0xf0, 0x1d, 0x03, 0x01, 0x1c, 0x00, 0x01, 0x7f, 0xf7 });

    const Case cases[] = {
        { "a nibble outside a stream", [&] (auto& o) { o.sendMessageNow (zuvo::nibbleMessage (5)); } },
        { "a start without EF 7F 7F", [&] (auto& o) { o.sendMessageNow (start); } },
        { "a start for the extender", [&] (auto& o) { sendStream (o, 161, 0, 1); } },
        { "protocol 0 with mode code 3", [&] (auto& o) { sendStream (o, 156, 0, 3); } },
        { "mode code 5", [&] (auto& o) { sendStream (o, 156, 1, 5); } },
        { "a record cut short by the end", [&] (auto& o)
          {
              o.sendMessageNow (extra);
              o.sendMessageNow (start);
              o.sendMessageNow (zuvo::nibbleMessage (1));
              o.sendMessageNow (extra);
          } },
        { "a nibble above 0F", [&] (auto& o)
          {
              o.sendMessageNow (extra);
              o.sendMessageNow (start);
              o.sendMessageNow (bytes ({ 0x9f, 0x10, 0x00 }));
          } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        SimulatedStudio studio;
        c.send (*openOutput ("Vantor M+ MIDI 1"));
        EXPECT_FALSE (studio.controller.getErrors().isEmpty());
        EXPECT_TRUE (studio.controller.getTransfers().empty());
    }
}

TEST (SimulatedUnit, EntersUpgradeModeOnlyOnItsOwnRequest)
{
    SimulatedStudio studio;
    auto out = openOutput ("Vantor M+ MIDI 1");

    out->sendMessageNow (zuvo::midiExtraMessage());
    out->sendMessageNow (upgradeRequest (161));
    EXPECT_FALSE (studio.controller.isInUpgradeMode());

    studio.controller.setRefusesUpgradeMode (true);
    out->sendMessageNow (upgradeRequest (156));
    EXPECT_FALSE (studio.controller.isInUpgradeMode());

    studio.controller.setRefusesUpgradeMode (false);
    out->sendMessageNow (zuvo::midiExtraMessage());
    out->sendMessageNow (upgradeRequest (156));
    EXPECT_TRUE (studio.controller.isInUpgradeMode());
    EXPECT_TRUE (studio.controller.getErrors().isEmpty());
    EXPECT_EQ (midiports::getOutputDevices(), juce::StringArray ({ "Zuvo firmware upgrade", "Vantor X+ MIDI 1" }));
    EXPECT_EQ (midiports::getInputDevices(), juce::StringArray ({ "Zuvo firmware upgrade", "Vantor X+ MIDI 1" }));

    openOutput ("Zuvo firmware upgrade")->sendMessageNow (zuvo::nibbleMessage (0x55));
    EXPECT_EQ (studio.controller.getUpgradeArrivals().size(), 1u);

    studio.controller.leaveUpgradeMode();
    EXPECT_EQ (midiports::getOutputDevices(), juce::StringArray ({ "Vantor M+ MIDI 1", "Vantor X+ MIDI 1" }));
}

TEST (SimulatedUnit, UpgradeModePortsCanBeNamed)
{
    SimulatedStudio studio;
    auto& twin = studio.backend->addUnit ("Vantor M+ MIDI 1", 156, "Zuvo firmware upgrade 2");
    studio.controller.enterUpgradeMode();
    twin.enterUpgradeMode();

    EXPECT_EQ (midiports::getOutputDevices(),
               juce::StringArray ({ "Zuvo firmware upgrade", "Vantor X+ MIDI 1", "Zuvo firmware upgrade 2" }));
}

TEST (SimulatedUnit, GivesEveryNewLoaderToTheSetup)
{
    SimulatedStudio studio;
    int numLoaders = 0;
    studio.extender.setLoaderSetup ([&] (midiports::SimulatedLoader&) { ++numLoaders; });

    for (int i = 0; i < 2; ++i)
    {
        openOutput ("Vantor X+ MIDI 1")->sendMessageNow (upgradeRequest (161));
        studio.extender.leaveUpgradeMode();
    }

    EXPECT_EQ (numLoaders, 2);
}
