// Sends the factory map of every mode to the simulated controller and prints
// how long each transfer took against the 297 ms of pauses that the stream
// must hold. Not a test: run it on an idle machine.

#include "VtrPlus.h"

#include <midi_ports/midi_ports.h>

int main()
{
    const juce::ScopedJuceInitialiser_GUI framework;
    const midiports::ScopedBackend inMemory (midiports::VirtualBackend::withStandardUnits());

    const juce::TemporaryFile settingsFolder;
    VtrPlus::setSettingsFolder (settingsFolder.getFile());

    constexpr double pausesMs = 297.0;
    constexpr int runsPerMode = 5;
    const char* const modeNames[] = { "mackie", "logic", "pro-tools", "usrdef-mcp", "usrdef-hui" };
    double worst = 0.0;

    {
        VtrPlus device;
        device.setCurrentOutputDevice (midiports::SimulatedUnit::controllerPortName);
        std::printf ("%-12s %10s %10s %10s\n", "mode", "best ms", "worst ms", "worst/297");

        for (int mode = 0; mode < 5; ++mode)
        {
            device.setCtMode (mode);
            double best = 1.0e9, worstOfMode = 0.0;

            for (int run = 0; run < runsPerMode; ++run)
            {
                const auto start = juce::Time::getMillisecondCounterHiRes();
                const auto result = device.sendCurrentMapping();
                const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;

                if (result.failed())
                {
                    std::printf ("%s\n", result.getErrorMessage().toRawUTF8());
                    return 1;
                }

                best = std::min (best, elapsed);
                worstOfMode = std::max (worstOfMode, elapsed);
            }

            worst = std::max (worst, worstOfMode);
            std::printf ("%-12s %10.2f %10.2f %10.3f\n", modeNames[mode], best, worstOfMode, worstOfMode / pausesMs);
        }
    }

    std::printf ("worst ratio %.3f (target 1.05 or less)\n", worst / pausesMs);
    VtrPlus::setSettingsFolder ({});
    settingsFolder.getFile().deleteRecursively();
    return 0;
}
