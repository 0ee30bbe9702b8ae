#include <gtest/gtest.h>

#include "common/SimulatedStudio.h"
#include "gui/ModalScript.h"
#include "gui/WizardHarness.h"

// The wizard's window: its texts and layout, the button rule, progress,
// title, keys, About box, device-name help, closing and the reset of units
// left in upgrade mode.

namespace
{
using Wizard = zuvo::FirmwareUpgradeComponent;

juce::KeyPress hiddenKey (char letter)
{
    return juce::KeyPress (letter, juce::ModifierKeys (juce::ModifierKeys::ctrlModifier | juce::ModifierKeys::altModifier
                                                       | juce::ModifierKeys::shiftModifier), 0);
}

class WizardWindow : public ::testing::Test
{
protected:
    gui_test::ScopedUpgraderModes modes;
    SimulatedStudio studio;
    gui_test::AlertRecorder alerts;
    gui_test::ModalScript script;
    gui_test::ModalWatchdog watchdog;
};

//==============================================================================
TEST_F (WizardWindow, NewWizardShowsTheFiveStepsWithOnlyConnectEnabled)
{
    struct Case { bool online; const char* fourthButton; const char* fourthTextStart; };
    const Case cases[] = {
        { true,  "Select Version", "Click \"Select Version\", the process will automatically \nsearch" },
        { false, "Load File",      "Download the latest firmware on \"" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.fourthButton);
        Wizard wizard (156, c.online);

        const char* const buttons[] = { "Connect", "Enter", "Activate", c.fourthButton, "Upgrade" };

        for (int i = 0; i < 5; ++i)
        {
            EXPECT_EQ (wizard.stepCaptions[i].getText(), "Step " + juce::String (i + 1));
            EXPECT_EQ (wizard.stepHeadings[i].getText(), "Step " + juce::String (i + 1) + ":");
            EXPECT_EQ (wizard.stepButtons[i].getButtonText(), buttons[i]);
            EXPECT_EQ (wizard.stepButtons[i].isEnabled(), i == 0);
            EXPECT_EQ (wizard.stepTexts[i].getMinimumHorizontalScale(), 1.0f);
        }

        EXPECT_TRUE (wizard.stepTexts[3].getText().startsWith (c.fourthTextStart));
        EXPECT_TRUE (wizard.stepTexts[0].getText().contains ("\"Connect\""));
        EXPECT_EQ (wizard.firmwares.isValid(), c.online);
        EXPECT_EQ (wizard.firmwares.getType().toString(), c.online ? "firmwares" : "");
        EXPECT_EQ (wizard.step, -1);
        EXPECT_EQ (wizard.progress, 0.0);
        EXPECT_EQ (wizard.progressCaption.getText(), "Upgrade Progress");
        EXPECT_EQ (wizard.updateNameButton.getButtonText(), "Update Device Name");
        EXPECT_EQ (wizard.noteText.getText(), "If your connected Zuvo product model name does not appear on the pull-down "
                                              "menu, select \"USB Audio Device\" as the MIDI In/Out device");
        EXPECT_EQ (wizard.noteText.findColour (juce::Label::textColourId), juce::Colours::black);
        EXPECT_EQ (wizard.getBounds(), juce::Rectangle<int> (0, 0, 514, 491));
        EXPECT_EQ (wizard.pidForCatalogue, 156);
        EXPECT_EQ (wizard.midiHandler, nullptr);
    }

    // Every construction sets these, whatever the last wizard left.
    EXPECT_TRUE (zuvo::bForAnyZuvo);
    EXPECT_FALSE (zuvo::bTest_fwug);
    EXPECT_EQ (zuvo::g_forTargetDeviceQ, 0);
}

TEST_F (WizardWindow, LayoutAtTheDefaultSize)
{
    Wizard wizard (156, true);

    struct Case { juce::Component& child; juce::Rectangle<int> bounds; };
    const Case cases[] = {
        { wizard.progressCaption,  { 0, 10, 514, 20 } },
        { wizard.progressBar,      { 40, 36, 434, 24 } },
        { wizard.stepCaptions[0],  { 17, 66, 90, 20 } },
        { wizard.stepCaptions[4],  { 401, 66, 90, 20 } },
        { wizard.stepButtons[0],   { 17, 92, 90, 20 } },
        { wizard.stepButtons[4],   { 401, 92, 90, 20 } },
        { wizard.stepHeadings[0],  { 17, 130, 70, 20 } },
        { wizard.stepTexts[0],     { 93, 130, 407, 50 } },
        { wizard.noteHeading,      { 17, 186, 70, 20 } },
        { wizard.noteText,         { 93, 186, 407, 50 } },
        { wizard.stepHeadings[1],  { 17, 242, 70, 20 } },
        { wizard.stepTexts[4],     { 93, 410, 407, 50 } },
        { wizard.updateNameButton, { 197, 438, 120, 20 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.child.getName() + " " + c.bounds.toString());
        EXPECT_EQ (c.child.getBounds(), c.bounds);
    }

    EXPECT_EQ (wizard.updateNameButton.getTooltip(), "Click here to update the displaying name of your device.");
}

TEST_F (WizardWindow, ButtonsFollowTheLastCompletedStep)
{
    Wizard wizard (156, false);

    struct Case { int step; int enabled; double progress; };
    const Case cases[] = { { 0, 2, 0.2 }, { 1, 3, 0.4 }, { 2, 4, 0.6 }, { 3, 5, 0.8 }, { 4, 5, 1.0 }, { -1, 1, 0.0 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.step);
        wizard.updateProgress (c.step);

        for (int i = 0; i < 5; ++i)
            EXPECT_EQ (wizard.stepButtons[i].isEnabled(), i < c.enabled) << "button " << i;

        EXPECT_DOUBLE_EQ (wizard.progress, c.progress);
        EXPECT_EQ (wizard.step, c.step);
    }

    wizard.updateProgress (1);
    wizard.protectUI (true);
    EXPECT_TRUE (zuvo::protectUiQ);

    for (auto& b : wizard.stepButtons)
        EXPECT_FALSE (b.isEnabled());

    EXPECT_TRUE (wizard.updateNameButton.isEnabled());

    wizard.protectUI (false);

    for (auto& b : wizard.stepButtons)
        EXPECT_TRUE (b.isEnabled());
}

TEST_F (WizardWindow, OnlyAutoModeCountsSuccesses)
{
    Wizard wizard (156, false);

    wizard.updateProgress (4);
    EXPECT_EQ (zuvo::_num_UpgradeSuccess, 0);

    bAuto = true;
    wizard.updateProgress (4);
    wizard.updateProgress (3);
    EXPECT_EQ (zuvo::_num_UpgradeSuccess, 1);
}

TEST_F (WizardWindow, TitleCarriesTheModes)
{
    struct Case { bool series, test; int successes; const char* text; const char* title; };
    const Case cases[] = {
        { false, false, 0, "",          "Firmware Upgrade" },
        { false, false, 0, "Vantor M+", "Firmware Upgrade: Vantor M+" },
        { false, true,  0, "Vantor X+", "Firmware Upgrade.: Vantor X+" },
        { true,  false, 2, "",          "Firmware Upgrade[2/20]" },
        { true,  true,  2, "(3)",       "Firmware Upgrade[2/20]: (3)" },
    };

    gui_test::WizardHost host (156, false);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.title);
        bSerial = c.series;
        zuvo::bTest_fwug = c.test;
        zuvo::_num_UpgradeSuccess = c.successes;

        host.wizard.SetTitle (c.text);
        EXPECT_EQ (host.getTitle(), c.title);
    }
}

TEST_F (WizardWindow, KeysSwitchTheModesAndArePassedOn)
{
    gui_test::WizardHost host (156, true);
    auto& wizard = host.wizard;

    bSerial = true;
    EXPECT_FALSE (wizard.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));
    EXPECT_TRUE (zuvo::bEsc);
    EXPECT_FALSE (bSerial);

    struct Case { char letter; bool* mode; };
    const Case toggles[] = { { 'A', &bAuto }, { 'Y', &zuvo::bForAnyZuvo }, { 'S', &bSerial }, { 'M', &wizard.online } };

    for (const auto& c : toggles)
    {
        SCOPED_TRACE (juce::String::charToString (c.letter));
        const auto before = *c.mode;

        wizard.keyPressed (juce::KeyPress (c.letter, {}, c.letter));   // the plain letter does nothing
        EXPECT_EQ (*c.mode, before);

        wizard.keyPressed (hiddenKey (c.letter));
        EXPECT_EQ (*c.mode, ! before);
        wizard.keyPressed (hiddenKey (c.letter));
        EXPECT_EQ (*c.mode, before);
    }

    // The series key also withdraws an abort request.
    zuvo::bEsc = true;
    wizard.keyPressed (hiddenKey ('S'));
    EXPECT_FALSE (zuvo::bEsc);
    wizard.keyPressed (hiddenKey ('S'));

    // The test key takes the current product for the catalogue and marks the title.
    wizard.currentPid = 161;
    wizard.keyPressed (hiddenKey ('T'));
    EXPECT_TRUE (zuvo::bTest_fwug);
    EXPECT_EQ (wizard.pidForCatalogue, 161);
    EXPECT_EQ (host.getTitle(), "Firmware Upgrade.");

    // The manual key changes the mode of step 4 only, not its texts.
    wizard.keyPressed (hiddenKey ('M'));
    EXPECT_FALSE (wizard.online);
    EXPECT_TRUE (wizard.onlineDefault);
    EXPECT_EQ (host.getTitle(), "Firmware Upgrade.. [M]");
    EXPECT_EQ (wizard.stepButtons[3].getButtonText(), "Select Version");

    wizard.keyPressed (hiddenKey ('T'));
    EXPECT_EQ (host.getTitle(), "Firmware Upgrade");
}

TEST_F (WizardWindow, F1ShowsTheAboutBox)
{
    Wizard wizard (156, true);
    script.pressAlertButton ("OK");

    wizard.keyPressed (juce::KeyPress (juce::KeyPress::F1Key));

    ASSERT_EQ (alerts.alerts.size(), 1u);
    EXPECT_EQ (alerts.alerts[0].title, "\n\nZuvo Firmware Upgrader\n\nV1.57  Build A8");
    EXPECT_TRUE (alerts.alerts[0].message.contains (wizard.copyrightYears));
    EXPECT_EQ (alerts.alerts[0].icon, juce::MessageBoxIconType::NoIcon);
}

TEST_F (WizardWindow, DeviceNameHelpOpensTheMidiUtilityWhereThereIsOne)
{
    struct Case { juce::SystemStats::OperatingSystemType os; const char* command; };
    const Case cases[] = {
        { juce::SystemStats::MacOSX_10_14, "open /Applications/Utilities/Audio\\ MIDI\\ Setup.app" },
        { juce::SystemStats::MacOSX_10_15, "open /System/Applications/Utilities/Audio\\ MIDI\\ Setup.app" },
        { juce::SystemStats::MacOS_12,     "open /System/Applications/Utilities/Audio\\ MIDI\\ Setup.app" },
        { juce::SystemStats::Linux,        "" },
        { juce::SystemStats::Windows10,    "" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Wizard::deviceNameHelpCommand (c.os), c.command) << (int) c.os;

    Wizard wizard (156, true);
    juce::StringArray commands;
    wizard.runShellCommand = [&commands] (const juce::String& command) { commands.add (command); };
    script.pressAlertButton ("OK");

    wizard.buttonClicked (&wizard.updateNameButton);

    EXPECT_TRUE (commands.isEmpty());   // this system has no such utility
    ASSERT_EQ (alerts.alerts.size(), 1u);
    EXPECT_EQ (alerts.alerts[0].title, "");
    EXPECT_TRUE (alerts.alerts[0].message.startsWith ("After \"Audio MIDI Setup\" opened.\n\n1. Check"));
    EXPECT_EQ (alerts.alerts[0].icon, juce::MessageBoxIconType::NoIcon);
}

//==============================================================================
TEST_F (WizardWindow, CancellingTheHubWarningOpensNothing)
{
    script.pressAlertButton ("Cancel", "Firmware Upgrader about to start");

    EXPECT_EQ (zuvo::FirmwareUpgrade::runWizardDialogModal (156, nullptr, true, true), 0);

    ASSERT_EQ (alerts.alerts.size(), 1u);
    EXPECT_TRUE (alerts.alerts[0].message.startsWith ("\n* IMPORTANT WARNING! *\n\nFAILURE TO FOLLOW"));
    EXPECT_EQ (alerts.alerts[0].icon, juce::MessageBoxIconType::InfoIcon);
    EXPECT_EQ (alerts.alerts[0].buttons, juce::StringArray ("OK", "Cancel"));
    EXPECT_TRUE (script.isDone());
}

TEST_F (WizardWindow, CloseIsRefusedWhileAStepRunsAndInAutoMode)
{
    // No unit: step 1 waits for an input, and meanwhile the close button is refused.
    studio.controller.setPluggedIn (false);
    studio.extender.setPluggedIn (false);

    Wizard* wizard = nullptr;
    juce::DialogWindow* window = nullptr;
    juce::StringArray seen;

    const auto isWizard = [] (juce::Component& c)
    {
        auto* d = dynamic_cast<juce::DialogWindow*> (&c);
        return d != nullptr && dynamic_cast<Wizard*> (d->getContentComponent()) != nullptr;
    };

    script.then (isWizard, [&] (juce::Component& c)
                 {
                     window = static_cast<juce::DialogWindow*> (&c);
                     wizard = static_cast<Wizard*> (window->getContentComponent());
                     seen.add (window->getName());
                     wizard->stepButtons[0].triggerClick();
                 })
          .then ([&] (juce::Component&) { return zuvo::protectUiQ; },
                 [&] (juce::Component&)
                 {
                     window->userTriedToCloseWindow();
                     seen.add (window->isShowing() ? "open while waiting" : "closed while waiting");
                     wizard->keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
                 })
          .pressAlertButton ("OK")   // the device dialog finds no unit to preselect
          .closeDialog ("Choose Your Zuvo Device", 0)
          .then (isWizard, [&] (juce::Component&)
                 {
                     bAuto = true;
                     window->userTriedToCloseWindow();
                     seen.add (window->isShowing() ? "open in auto mode" : "closed in auto mode");
                     bAuto = false;
                     window->userTriedToCloseWindow();
                 });

    EXPECT_EQ (zuvo::FirmwareUpgrade::runWizardDialogModal (156, nullptr, false, true), 0);

    EXPECT_TRUE (script.isDone());
    EXPECT_EQ (seen, juce::StringArray ("Firmware Upgrade", "open while waiting", "open in auto mode"));
    EXPECT_TRUE (watchdog.dismissed.isEmpty());
}

TEST_F (WizardWindow, ClosingResetsEveryUnitInUpgradeMode)
{
    studio.controller.enterUpgradeMode();
    studio.extender.enterUpgradeMode();
    auto plain = studio.backend->addOutput ("Other Synth");

    {
        Wizard wizard (156, true);
        studio.controller.clearHistory();
        studio.extender.clearHistory();
    }

    juce::MemoryBlock expected;
    expected.append (zuvo::midiExtra, 3);

    const juce::uint8 reset[] = { 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55,
                                  0x1d, 0x03, 0x00, 0x49, 0x02, 0x00, 0xbd };

    for (auto byte : reset)
    {
        const auto m = zuvo::nibbleMessage (byte);
        expected.append (m.getRawData(), (size_t) m.getRawDataSize());
    }

    for (auto* unit : { &studio.controller, &studio.extender })
    {
        juce::MemoryBlock received;

        for (const auto& a : unit->getUpgradeArrivals())
            received.append (a.message.getRawData(), (size_t) a.message.getRawDataSize());

        EXPECT_EQ (received, expected) << unit->getPortName();
        EXPECT_FALSE (unit->isInUpgradeMode()) << unit->getPortName();
    }

    EXPECT_TRUE (plain->getArrivals().empty());
}

} // namespace
