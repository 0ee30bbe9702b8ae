#include <gtest/gtest.h>

#include "common/SimulatedStudio.h"
#include "gui/ModalScript.h"
#include "gui/WizardHarness.h"

// Auto mode and series mode: the steps run on by themselves, unit after unit,
// until 20 upgrades have succeeded or Escape ends the series, and however long
// a series runs, the stack does not grow.

namespace
{
using Wizard = zuvo::FirmwareUpgradeComponent;

/** Presses Escape in the wizard once the condition holds (checked while the
    steps run the message loop). */
class EscapeWhen : private juce::Timer
{
public:
    EscapeWhen (Wizard& w, std::function<bool()> c) : wizard (w), condition (std::move (c))   { startTimer (2); }
    ~EscapeWhen() override   { stopTimer(); }

private:
    void timerCallback() override
    {
        if (condition())
        {
            stopTimer();
            wizard.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
        }
    }

    Wizard& wizard;
    std::function<bool()> condition;
};

class WizardAutoSeries : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bAuto = true;
        bSerial = true;

        host.wizard.chooseFile = [this] (const Wizard::FileRequest&)
        {
            // Where the step loop's frame lies: with a flat loop every unit gets the same one.
            int marker = 0;
            chooserFrames.push_back (&marker);

            if (onChooser != nullptr)
                onChooser ((int) chooserFrames.size());

            return image;
        };
    }

    bool allFramesAtOneDepth() const
    {
        return std::adjacent_find (chooserFrames.begin(), chooserFrames.end(), std::not_equal_to<>()) == chooserFrames.end();
    }

    gui_test::ScopedUpgraderModes modes;
    SimulatedStudio studio;
    gui_test::AlertRecorder alerts;
    gui_test::ModalScript script;
    gui_test::ModalWatchdog watchdog;
    gui_test::FirmwareFiles files;
    gui_test::WizardHost host { 156, false };

    juce::File image = files.write ("vantor_m+_v1.0.bin", 512);
    std::vector<const void*> chooserFrames;
    std::function<void (int call)> onChooser;
};

//==============================================================================
TEST_F (WizardAutoSeries, EscapeDuringAnUploadEndsTheSeriesAfterIt)
{
    EscapeWhen escape (host.wizard, [this]
    {
        return zuvo::_num_UpgradeSuccess == 2 && host.wizard.progressCaption.getText() == "Installing...";
    });

    host.wizard.doStep1();

    EXPECT_EQ (chooserFrames.size(), 3u);
    EXPECT_EQ (zuvo::_num_UpgradeSuccess, 3);   // the upload in progress still counts
    EXPECT_FALSE (bSerial);
    EXPECT_EQ (host.wizard.step, -1);
    EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Connect"));
    EXPECT_FALSE (studio.controller.isInUpgradeMode());
    EXPECT_TRUE (alerts.alerts.empty());   // no dialog waited for the user, no success box in auto mode
    EXPECT_TRUE (watchdog.dismissed.isEmpty());
}

TEST_F (WizardAutoSeries, EscapeBeforeTheUploadStopsTheChainAtTheLoadedImage)
{
    onChooser = [this] (int call)
    {
        if (call == 2)
            host.wizard.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
    };

    host.wizard.doStep1();

    EXPECT_EQ (zuvo::_num_UpgradeSuccess, 1);
    EXPECT_EQ (host.wizard.step, 3);
    EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Activate", "Load File", "Upgrade"));
    EXPECT_TRUE (studio.controller.isInUpgradeMode());

    // The user takes over: the upload by hand finishes this unit.
    script.pressAlertButton ("OK", "Firmware Upgrade Success");
    bAuto = false;
    host.wizard.doStep5();

    EXPECT_TRUE (script.isDone());
    EXPECT_FALSE (studio.controller.isInUpgradeMode());
    EXPECT_EQ (host.wizard.step, -1);
}

TEST_F (WizardAutoSeries, TwentySuccessesEndTheSeries)
{
    midiports::SimulatedLoader* loader = nullptr;
    studio.controller.setLoaderSetup ([&loader] (midiports::SimulatedLoader& l) { loader = &l; });

    juce::StringArray titles;
    onChooser = [&] (int) { titles.add (host.getTitle()); };

    host.wizard.doStep1();

    EXPECT_EQ (chooserFrames.size(), 20u);
    EXPECT_TRUE (allFramesAtOneDepth());
    EXPECT_EQ (zuvo::_num_UpgradeSuccess, 0);
    EXPECT_TRUE (bSerial);
    EXPECT_EQ (host.wizard.step, -1);
    EXPECT_EQ (host.getTitle(), "Firmware Upgrade[20/20]");
    ASSERT_EQ (titles.size(), 20);
    EXPECT_EQ (titles[0], "Firmware Upgrade[0/20]: Vantor M+");
    EXPECT_EQ (titles[19], "Firmware Upgrade[19/20]: Vantor M+");
    ASSERT_NE (loader, nullptr);
    EXPECT_EQ (loader->getReceivedImage(), gui_test::FirmwareFiles::imageOf (512));
    EXPECT_TRUE (alerts.alerts.empty());
}

TEST_F (WizardAutoSeries, FailingUpgradesRepeatFlatUntilEscape)
{
    // Every unit takes the image but refuses the reset, so every upgrade fails
    // (and the unit leaves upgrade mode for the next round).
    studio.controller.setLoaderSetup ([] (midiports::SimulatedLoader& l) { l.setNakOnReset(); });
    constexpr int numUnits = 12;

    for (int i = 1; i < numUnits; ++i)
        script.pressAlertButton ("OK", "Firmware Upgrade Error");

    onChooser = [this] (int call)
    {
        if (call == numUnits)
            host.wizard.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
    };

    host.wizard.doStep1();

    EXPECT_TRUE (script.isDone());
    EXPECT_EQ (chooserFrames.size(), (size_t) numUnits);
    EXPECT_TRUE (allFramesAtOneDepth());
    EXPECT_EQ (zuvo::_num_UpgradeSuccess, 0);
    EXPECT_EQ (alerts.alerts.size(), (size_t) numUnits - 1);
    EXPECT_TRUE (alerts.alerts.back().message.startsWith ("Your firmware has been upgraded! Power off your unit"));
}

} // namespace
