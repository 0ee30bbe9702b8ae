#include <gtest/gtest.h>

#include "common/SimulatedStudio.h"
#include "gui/ModalScript.h"
#include "gui/WizardHarness.h"

// Choices in awkward orders: buttons pressed while a step waits, a second
// step 4 while one runs, clicks during the end of step 5, the unit pulled out
// in the middle of an upload. Each leaves the wizard in a state of its step
// machine from which the next "Connect" gets the unit upgraded.

namespace
{
using Wizard = zuvo::FirmwareUpgradeComponent;

class WizardBadInput : public ::testing::Test
{
protected:
    /** After whatever went before, a fresh start from "Connect" upgrades the unit. */
    void expectRecovery()
    {
        alerts.alerts.clear();
        gui_test::upgradeByHand (host, script, image, "Firmware Upgrade Success");

        EXPECT_TRUE (script.isDone());
        ASSERT_FALSE (alerts.alerts.empty());
        EXPECT_EQ (alerts.alerts.back().message, "Your firmware has been upgraded!");
        EXPECT_FALSE (studio.controller.isInUpgradeMode());
        EXPECT_EQ (host.wizard.step, -1);
    }

    void pressAllSteps()
    {
        for (auto& b : host.wizard.stepButtons)
            b.triggerClick();
    }

    gui_test::ScopedUpgraderModes modes;
    SimulatedStudio studio;
    gui_test::AlertRecorder alerts;
    gui_test::ModalScript script;
    gui_test::ModalWatchdog watchdog;
    gui_test::FirmwareFiles files;
    gui_test::WizardHost host { 156, false };
    const juce::File image = files.write ("vantor_m+_v1.4.bin", 2048);
};

//==============================================================================
TEST_F (WizardBadInput, StepButtonsPressedDuringStep2DoNothing)
{
    studio.controller.setRefusesUpgradeMode (true);
    gui_test::answerDeviceDialog (script, "Vantor M+ MIDI 1");
    host.wizard.doStep1();

    int presses = 0;
    {
        gui_test::WhileWaiting presser ([&] { ++presses; pressAllSteps(); });
        host.wizard.doStep2();
    }

    EXPECT_GT (presses, 0);
    EXPECT_EQ (host.wizard.step, 0);
    EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Connect", "Enter"));
    EXPECT_TRUE (script.isDone());   // no second dialog was opened

    studio.controller.setRefusesUpgradeMode (false);
    expectRecovery();
}

TEST_F (WizardBadInput, ASecondStep4WhileOneRunsIsIgnored)
{
    int chooserCalls = 0;

    gui_test::answerDeviceDialog (script, "Vantor M+ MIDI 1");
    host.wizard.doStep1();
    host.wizard.doStep2();
    gui_test::answerDeviceDialog (script, "Zuvo firmware upgrade manager");
    host.wizard.doStep3();

    host.wizard.chooseFile = [&] (const Wizard::FileRequest&)
    {
        if (++chooserCalls == 1)
            host.wizard.doStep4();

        return image;
    };

    host.wizard.doStep4();

    EXPECT_EQ (chooserCalls, 1);
    EXPECT_EQ (host.wizard.step, 3);

    script.pressAlertButton ("OK", "Firmware Upgrade Success");
    host.wizard.doStep5();
    EXPECT_TRUE (script.isDone());
    EXPECT_FALSE (studio.controller.isInUpgradeMode());
}

TEST_F (WizardBadInput, ConnectPressedWhileStep5EndsStartsNothing)
{
    // Right after a success all five buttons are enabled for a moment (real
    // timing here); a "Connect" then must not start a step 1 inside step 5.
    host.wizard.waitScale = 1.0;
    bool pressed = false;
    gui_test::WhileWaiting presser ([&]
    {
        // The click is delivered at once, inside step 5's wait: a click
        // posted with triggerClick() could arrive only after step 5 is over.
        auto& connect = host.wizard.stepButtons[0];

        if (! pressed && host.wizard.step == 4 && connect.isEnabled())
        {
            pressed = true;
            host.wizard.buttonClicked (&connect);
        }
    });

    gui_test::upgradeByHand (host, script, image, "Firmware Upgrade Success");

    EXPECT_TRUE (pressed);
    EXPECT_TRUE (script.isDone());
    EXPECT_TRUE (watchdog.dismissed.isEmpty()) << watchdog.dismissed.joinIntoString (", ");
    EXPECT_EQ (host.wizard.step, -1);
    EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Connect"));
    EXPECT_FALSE (zuvo::protectUiQ);

    expectRecovery();
}

TEST_F (WizardBadInput, ADoubleClickOnAnyStepButtonRunsItsStepOnce)
{
    // A native file chooser runs a modal loop, in which the second click arrives.
    int chooserCalls = 0;
    host.wizard.chooseFile = [&] (const Wizard::FileRequest&)
    {
        ++chooserCalls;
        EXPECT_TRUE (gui_test::runPostedMessages());
        return image;
    };

    const auto numUpgradeRequests = [this]
    {
        const auto arrivals = studio.controller.getArrivals();
        return std::count_if (arrivals.begin(), arrivals.end(), [] (const midiports::Arrival& a) { return a.message.isSysEx(); });
    };

    const auto doubleClick = [this] (int button, std::function<bool()> done)
    {
        SCOPED_TRACE (host.wizard.stepButtons[button].getButtonText());
        host.wizard.stepButtons[button].triggerClick();
        host.wizard.stepButtons[button].triggerClick();
        EXPECT_TRUE (gui_test::runUntil (done, 60000));
    };

    gui_test::answerDeviceDialog (script, "Vantor M+ MIDI 1");
    doubleClick (0, [this] { return host.wizard.step == 0; });
    doubleClick (1, [this] { return host.wizard.step == 1; });
    gui_test::answerDeviceDialog (script, "Zuvo firmware upgrade manager");
    doubleClick (2, [this] { return host.wizard.step == 2; });
    doubleClick (3, [this] { return host.wizard.step == 3; });
    script.pressAlertButton ("OK", "Firmware Upgrade Success");
    doubleClick (4, [this] { return script.isDone() && host.wizard.step == -1 && ! zuvo::protectUiQ; });
    ASSERT_TRUE (gui_test::runPostedMessages());   // a late second step would have started by now

    EXPECT_TRUE (script.isDone());
    EXPECT_TRUE (watchdog.dismissed.isEmpty()) << watchdog.dismissed.joinIntoString (", ");
    EXPECT_EQ (numUpgradeRequests(), 1);
    EXPECT_EQ (chooserCalls, 1);
    EXPECT_EQ (alerts.alerts.size(), 1u);
    EXPECT_FALSE (studio.controller.isInUpgradeMode());
    EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Connect"));
}

TEST_F (WizardBadInput, HelpAndF1DuringAnUploadNeitherOpenABoxNorPauseIt)
{
    bool pressed = false;
    gui_test::WhileWaiting presser ([&]
    {
        if (! pressed && host.wizard.progressCaption.getText() == "Installing...")
        {
            pressed = true;
            host.wizard.keyPressed (juce::KeyPress (juce::KeyPress::F1Key));
            host.wizard.buttonClicked (&host.wizard.updateNameButton);
        }
    });
    host.wizard.runShellCommand = [] (const juce::String&) {};

    gui_test::upgradeByHand (host, script, image, "Firmware Upgrade Success");

    EXPECT_TRUE (pressed);
    ASSERT_EQ (alerts.alerts.size(), 1u);
    EXPECT_EQ (alerts.alerts[0].title, "Firmware Upgrade Success");
    EXPECT_TRUE (watchdog.dismissed.isEmpty()) << watchdog.dismissed.joinIntoString (", ");

    // The loader's stream never stood still for longer than its own waits.
    const auto arrivals = studio.controller.getUpgradeArrivals();
    ASSERT_GT (arrivals.size(), 1000u);
    double longestGapMs = 0;

    for (size_t i = 1; i < arrivals.size(); ++i)
        longestGapMs = juce::jmax (longestGapMs, arrivals[i].timeMs - arrivals[i - 1].timeMs);

    EXPECT_LT (longestGapMs, 2000.0);
}

TEST_F (WizardBadInput, DialogsClosedLeaveTheirStep)
{
    gui_test::answerDeviceDialog (script, "Vantor M+ MIDI 1");
    host.wizard.doStep1();
    host.wizard.doStep2();

    script.closeDialog ("Choose Your Zuvo Device", 0);
    host.wizard.doStep3();
    EXPECT_EQ (host.wizard.step, 1);
    EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Connect", "Enter", "Activate"));

    // Connect again while the unit sits in upgrade mode: asked to reset it, the user agrees.
    script.pressAlertButton ("OK", "")   // the device dialog finds no ordinary port of the unit
          .closeDialog ("Choose Your Zuvo Device", 0);
    host.wizard.doStep1();
    EXPECT_EQ (host.wizard.step, -1);
    EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Connect"));
    EXPECT_TRUE (studio.controller.isInUpgradeMode());

    script.pressAlertButton ("OK", "")
          .onDialog ("Choose Your Zuvo Device", [] (juce::DialogWindow& dialog, juce::Component& content)
                     {
                         gui_test::findComboBox (content)->setText ("Zuvo firmware upgrade manager", juce::sendNotificationSync);
                         dialog.exitModalState (1);
                     })
          .pressAlertButton ("Yes", "Firmware Upgrade");
    host.wizard.doStep1();
    EXPECT_FALSE (studio.controller.isInUpgradeMode());

    expectRecovery();
}

TEST_F (WizardBadInput, UnitPulledOutDuringTheUpload)
{
    bool pulled = false;
    gui_test::WhileWaiting puller ([&]
    {
        if (! pulled && host.wizard.progressCaption.getText() == "Installing...")
        {
            pulled = true;
            studio.controller.setPluggedIn (false);
        }
    });

    gui_test::upgradeByHand (host, script, image, "Firmware Upgrade Error");

    EXPECT_TRUE (pulled);
    ASSERT_FALSE (alerts.alerts.empty());
    EXPECT_EQ (alerts.alerts.back().message, "Could not write new firmware");
    EXPECT_EQ (host.wizard.step, -1);
    EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Connect"));
    EXPECT_EQ (host.wizard.midiHandler->input, nullptr);

    studio.controller.setPluggedIn (true);
    expectRecovery();
}

} // namespace
