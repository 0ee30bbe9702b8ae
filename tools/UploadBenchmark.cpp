// Uploads a 64 KiB image into the simulated controller and prints the wall
// time against the time that the loader protocol itself requires: one 1 ms
// pause per two messages and the 33 ms polls for the acknowledgements. Not a
// test: run it on an idle machine, under X (xvfb-run -a).

#include <zuvo_firmware/zuvo_firmware.h>

int main()
{
    const juce::ScopedJuceInitialiser_GUI framework;
    const auto backend = midiports::VirtualBackend::withStandardUnits();
    const midiports::ScopedBackend inMemory (backend);
    auto& unit = backend->getUnit (0);

    const midiports::SimulatedLoader* loader = nullptr;
    unit.setLoaderSetup ([&loader] (midiports::SimulatedLoader& l) { loader = &l; });
    unit.enterUpgradeMode();

    juce::MemoryBlock image (64 * 1024);
    juce::Random random (64);

    for (size_t i = 0; i < image.getSize(); ++i)
        image[i] = (char) random.nextInt (256);

    const juce::TemporaryFile file (".bin");
    file.getFile().replaceWithData (image.getData(), image.getSize());

    int numPauses = 0, numPolls = 0;
    double requiredMs = 0.0, elapsedMs = 0.0;
    juce::Result result = juce::Result::ok();

    {
        zuvo::FirmwareUpgradeComponent wizard (156, true);
        zuvo::FirmwareUpgradeComponent::MidiInputHandler handler (wizard, 156);

        handler.runMessageLoop = [&] (int ms)
        {
            numPauses += ms == 1 ? 1 : 0;
            numPolls += ms == zuvo::FirmwareUpgradeComponent::MidiInputHandler::pollMs ? 1 : 0;
            requiredMs += ms;
            juce::MessageManager::getInstance()->runDispatchLoopUntil (ms);
        };

        handler.start (midiports::SimulatedUnit::upgradePortName);
        handler.openProgram (file.getFile());

        const auto start = juce::Time::getMillisecondCounterHiRes();
        result = handler.sendProgram();
        elapsedMs = juce::Time::getMillisecondCounterHiRes() - start;
        handler.stop();
    }

    if (result.failed())
    {
        std::printf ("upload failed: %s\n", result.getErrorMessage().toRawUTF8());
        return 1;
    }

    const auto received = loader->getReceivedImage();

    if (received.getSize() < image.getSize() || std::memcmp (received.getData(), image.getData(), image.getSize()) != 0
        || ! loader->getErrors().isEmpty())
    {
        std::printf ("the unit did not receive the image intact\n");
        return 1;
    }

    std::printf ("64 KiB upload: %d pauses of 1 ms, %d polls of 33 ms, %.0f ms required\n", numPauses, numPolls, requiredMs);
    std::printf ("wall time %.0f ms, ratio %.3f (target 1.10 or less)\n", elapsedMs, elapsedMs / requiredMs);
    return 0;
}
