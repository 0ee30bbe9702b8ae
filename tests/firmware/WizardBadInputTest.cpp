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

/** Runs an action every few milliseconds while the steps run the message loop. */
class WhileWaiting : private juce::Timer
{
public:
    explicit WhileWaiting (std::function<void()> a) : action (std::move (a))   { startTimer (3); }
    ~WhileWaiting() override   { stopTimer(); }

private:
    void timerCallback() override   { action(); }

    std::function<void()> action;
};

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
        WhileWaiting presser ([&] { ++presses; pressAllSteps(); });
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

TEST_F (WizardBadInput, ConnectPressedWhileStep5EndsLeavesTheStartState)
{
    // Right after a success all five buttons are enabled for a moment (real
    // timing here); a "Connect" then runs step 1 before step 5 has put the
    // wizard back.
    host.wizard.waitScale = 1.0;
    bool pressed = false;
    WhileWaiting presser ([&]
    {
        // The click is delivered at once, inside step 5's wait: a click
        // posted with triggerClick() could arrive only after step 5 is over.
        auto& connect = host.wizard.stepButtons[0];

        if (! pressed && host.wizard.step == 4 && connect.isEnabled())
        {
            pressed = true;
            gui_test::answerDeviceDialog (script);
            host.wizard.buttonClicked (&connect);
        }
    });

    gui_test::upgradeByHand (host, script, image, "Firmware Upgrade Success");

    EXPECT_TRUE (pressed);
    EXPECT_TRUE (script.isDone());
    EXPECT_EQ (host.wizard.step, -1);
    EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Connect"));
    EXPECT_FALSE (zuvo::protectUiQ);

    expectRecovery();
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
    WhileWaiting puller ([&]
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
