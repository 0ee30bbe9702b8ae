#include <gtest/gtest.h>

#include "common/SimulatedStudio.h"
#include "gui/ModalScript.h"
#include "gui/WizardHarness.h"

// The five steps of the wizard, one at a time, on simulated units: what each
// outcome leaves (step, buttons, title, messages) and what reaches the unit.

namespace
{
using Wizard = zuvo::FirmwareUpgradeComponent;
using Icon = juce::MessageBoxIconType;

const char* const controllerPort = "Vantor M+ MIDI 1";
const char* const extenderPort = "Vantor X+ MIDI 1";
const char* const upgradeManager = "Zuvo firmware upgrade manager";

struct Expected
{
    int step;
    juce::StringArray enabled;
};

class WizardSteps : public ::testing::Test
{
protected:
    void expectState (gui_test::WizardHost& host, const Expected& e)
    {
        EXPECT_EQ (host.wizard.step, e.step);
        EXPECT_EQ (host.enabledSteps(), e.enabled);
    }

    /** The boxes of the steps, without the device dialog's warning that it found no unit to preselect. */
    std::vector<gui_test::AlertRecord> stepAlerts() const
    {
        std::vector<gui_test::AlertRecord> shown;

        for (const auto& a : alerts.alerts)
            if (a.message != "Warning: Cannot find target unit!")
                shown.push_back (a);

        return shown;
    }

    void expectOnlyAlert (const juce::String& title, const juce::String& message, Icon icon)
    {
        const auto shown = stepAlerts();
        ASSERT_EQ (shown.size(), 1u);
        EXPECT_EQ (shown[0].title, title);
        EXPECT_EQ (shown[0].message, message);
        EXPECT_EQ (shown[0].icon, icon);
    }

    /** Answers the device dialog's warning when it will find nothing to preselect. */
    void answerPreselectionWarning()
    {
        if (Wizard::numberForDevice ("Zuvo firmware upgrade", true) > 0)
            script.pressAlertButton ("OK", "");
    }

    /** The upgrade requests (each after EF 7F 7F) that reached a unit's normal port. */
    static int upgradeRequestsTo (const midiports::SimulatedUnit& unit)
    {
        const auto request = zuvo::makeFirmwareUpgradeRequestX (unit.getProductId(), 9);
        const auto arrivals = unit.getArrivals();
        int count = 0;

        for (size_t i = 1; i < arrivals.size(); ++i)
            if (arrivals[i].message.getRawDataSize() == request.getRawDataSize()
                && std::memcmp (arrivals[i].message.getRawData(), request.getRawData(), 9) == 0
                && arrivals[i - 1].message.getRawData()[0] == 0xef)
                ++count;

        return count;
    }

    gui_test::ScopedUpgraderModes modes;
    gui_test::AlertRecorder alerts;
    gui_test::ModalScript script;
    gui_test::ModalWatchdog watchdog;
    gui_test::FirmwareFiles files;

    const Expected afterConstruction { -1, { "Connect" } };
    const Expected afterStep1 { 0, { "Connect", "Enter" } };
    const Expected afterStep2 { 1, { "Connect", "Enter", "Activate" } };
    const Expected afterStep3 { 2, { "Enter", "Activate", "Load File" } };
    const Expected inStep4 { 2, { "Activate", "Load File" } };
    const Expected afterStep4 { 3, { "Activate", "Load File", "Upgrade" } };
};

//==============================================================================
TEST_F (WizardSteps, Step1DecidesOnTheChosenPort)
{
    struct Case
    {
        const char* name;
        std::function<void (SimulatedStudio&)> setup;
        const char* port;
        const char* answer;        // to the box that follows, if any
        const char* alertTitle;
        juce::String message;
        Icon icon;
        int step, pid;
        const char* title;
    };

    const juce::String question = "It looks like some of your units are already in firmware upgrade mode. \n"
                                  " Do you want to let them leave firmware upgrade mode?";
    const auto none = [] (SimulatedStudio&) {};
    const auto extenderInUpgradeMode = [] (SimulatedStudio& s) { s.extender.enterUpgradeMode(); };

    const Case cases[] = {
        { "the wizard's own product", none, controllerPort, nullptr, nullptr, {}, Icon::NoIcon, 0, 156, "Firmware Upgrade: Vantor M+" },
        { "another product, any-product mode", none, extenderPort, nullptr, nullptr, {}, Icon::NoIcon, 0, 161, "Firmware Upgrade: Vantor X+" },
        { "another product, any-product mode off", [] (SimulatedStudio&) { zuvo::bForAnyZuvo = false; }, extenderPort,
          "OK", "Firmware Upgrade", "The current Rilo cannot upgrade for this device.", Icon::InfoIcon, -1, 161, "Firmware Upgrade" },
        { "own product, any-product mode off", [] (SimulatedStudio&) { zuvo::bForAnyZuvo = false; }, controllerPort,
          nullptr, nullptr, {}, Icon::NoIcon, 0, 156, "Firmware Upgrade: Vantor M+" },
        { "two ports of that name", [] (SimulatedStudio& s) { s.backend->addOutput (controllerPort); }, controllerPort,
          "OK", "Firmware Upgrade", "Connect ONLY the device you want to update.", Icon::InfoIcon, -1, 156, "Firmware Upgrade" },
        { "unsupported", [] (SimulatedStudio& s) { s.backend->addOutput ("Other Synth"); }, "Other Synth",
          "OK", "Firmware Upgrade", "\"Other Synth\"\nThis device may be not able to be upgraded by this software.",
          Icon::InfoIcon, -1, 2000, "Firmware Upgrade" },
        { "test-mode unit outside test mode", [] (SimulatedStudio& s) { s.backend->addOutput ("ZUVO Midi Port"); }, "ZUVO Midi Port",
          "OK", "Firmware Upgrade", "\"ZUVO Midi Port\"\nThis device may be not able to be upgraded by this software.",
          Icon::InfoIcon, -1, 2000, "Firmware Upgrade" },
        { "test-mode unit in test mode", [] (SimulatedStudio& s) { s.backend->addOutput ("ZUVO Midi Port"); zuvo::bTest_fwug = true; },
          "ZUVO Midi Port", nullptr, nullptr, {}, Icon::NoIcon, 0, 156, "Firmware Upgrade.: Vantor M+" },
        { "unit in upgrade mode, test mode", [] (SimulatedStudio& s) { s.extender.enterUpgradeMode(); zuvo::bTest_fwug = true; },
          upgradeManager, nullptr, nullptr, {}, Icon::NoIcon, 0, 156, "Firmware Upgrade.: Vantor M+" },
        { "chosen unit in upgrade mode, left there", extenderInUpgradeMode, upgradeManager,
          "No", "Firmware Upgrade", question, Icon::InfoIcon, -1, 2000, "Firmware Upgrade" },
        { "another unit in upgrade mode, reset", extenderInUpgradeMode, controllerPort,
          "Yes", "Firmware Upgrade", question, Icon::InfoIcon, -1, 156, "Firmware Upgrade" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        alerts.alerts.clear();
        SimulatedStudio studio;
        gui_test::WizardHost host (156, false);
        c.setup (studio);

        answerPreselectionWarning();

        // Outside test mode the dialog itself refuses an upgrade-mode port, so
        // that choice is put through as if it had been confirmed.
        if (juce::String (c.port) == upgradeManager && ! zuvo::bTest_fwug)
            script.onDialog ("Choose Your Zuvo Device", [] (juce::DialogWindow& dialog, juce::Component& content)
                             {
                                 gui_test::findComboBox (content)->setText (upgradeManager, juce::sendNotificationSync);
                                 dialog.exitModalState (1);
                             });
        else
            gui_test::answerDeviceDialog (script, c.port);

        if (c.answer != nullptr)
            script.pressAlertButton (c.answer, "Firmware Upgrade");

        host.wizard.doStep1();

        EXPECT_TRUE (script.isDone());
        EXPECT_EQ (host.wizard.step, c.step);
        EXPECT_EQ (host.wizard.currentPid, c.pid);
        EXPECT_EQ (host.getTitle(), c.title);
        EXPECT_FALSE (zuvo::protectUiQ);

        if (c.alertTitle != nullptr)
            expectOnlyAlert (c.alertTitle, c.message, c.icon);
        else
            EXPECT_TRUE (stepAlerts().empty());

        // "Yes" resets the extender, "No" leaves it in upgrade mode.
        if (const auto answer = juce::String (c.answer); answer == "Yes" || answer == "No")
        {
            EXPECT_EQ (studio.extender.isInUpgradeMode(), answer == "No");
        }

        EXPECT_TRUE (watchdog.dismissed.isEmpty()) << watchdog.dismissed.joinIntoString (", ");

        EXPECT_TRUE (script.isDone());
    }
}

TEST_F (WizardSteps, Step1WarnsWhenAUnitStaysInUpgradeMode)
{
    SimulatedStudio studio;
    studio.backend->addOutput ("Zuvo firmware upgrade 2");   // a port that takes no reset
    gui_test::WizardHost host (156, false);

    answerPreselectionWarning();
    gui_test::answerDeviceDialog (script, controllerPort);
    script.pressAlertButton ("Yes", "Firmware Upgrade").pressAlertButton ("OK", "Firmware Upgrade");
    host.wizard.doStep1();

    const auto shown = stepAlerts();
    ASSERT_EQ (shown.size(), 2u);
    EXPECT_EQ (shown[1].message, "It looks like your device is still in firmware upgrade mode. \n"
                                 "Please turn off and turn on the device and try again.");
    EXPECT_EQ (shown[1].icon, Icon::WarningIcon);
    expectState (host, afterConstruction);
}

TEST_F (WizardSteps, Step1WaitsForAnInputCountingInTheTitle)
{
    SimulatedStudio studio;
    studio.controller.setPluggedIn (false);
    studio.extender.setPluggedIn (false);
    studio.backend->addInput ("Zuvo firmware upgrade");   // not a usable input outside test mode

    gui_test::WizardHost host (156, false);
    juce::StringArray titles;

    // Records the titles, and presses Escape once the wait has shown that many.
    struct TitleWatch : juce::ComponentListener
    {
        TitleWatch (juce::StringArray& t, Wizard& w) : titles (t), wizard (w) {}

        void componentNameChanged (juce::Component& c) override
        {
            titles.add (c.getName());

            if (titles.size() == escapeAfter)
                wizard.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
        }

        juce::StringArray& titles;
        Wizard& wizard;
        int escapeAfter = 0;
    } watch (titles, host.wizard);

    host.getWindow().addComponentListener (&watch);

    struct Case { bool autoMode; int escapeAfter; int lastCount; };
    const Case cases[] = { { false, 0, 15 }, { true, 0, 20 }, { false, 3, 3 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.lastCount);
        titles.clear();
        bAuto = c.autoMode;

        watch.escapeAfter = c.escapeAfter;

        script.pressAlertButton ("OK").closeDialog ("Choose Your Zuvo Device", 0);
        host.wizard.waitScale = 0.02;
        host.wizard.doStep1();

        ASSERT_GE (titles.size(), 2);
        EXPECT_EQ (titles[0], "Firmware Upgrade: (1)");
        EXPECT_EQ (titles[titles.size() - 2], "Firmware Upgrade: (" + juce::String (c.lastCount) + ")");
        EXPECT_EQ (titles[titles.size() - 1], "Firmware Upgrade");
        expectState (host, afterConstruction);
        EXPECT_TRUE (script.isDone());
    }

    host.getWindow().removeComponentListener (&watch);
}

//==============================================================================
TEST_F (WizardSteps, Step2AsksTheUnitToEnterUpgradeMode)
{
    struct Case { const char* name; bool refuses, escape; int requests; Expected after; };
    const Case cases[] = {
        { "enters",                  false, false, 1, afterStep2 },
        { "never enters",            true,  false, 3, afterStep1 },
        { "never enters, Escape",    true,  true,  1, afterStep1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        SimulatedStudio studio;
        gui_test::WizardHost host (156, false);
        studio.controller.setRefusesUpgradeMode (c.refuses);

        gui_test::answerDeviceDialog (script, controllerPort);
        host.wizard.doStep1();
        zuvo::bEsc = c.escape;
        host.wizard.doStep2();

        expectState (host, c.after);
        EXPECT_EQ (upgradeRequestsTo (studio.controller), c.requests);
        EXPECT_EQ (studio.controller.isInUpgradeMode(), ! c.refuses);
        EXPECT_TRUE (stepAlerts().empty());
        EXPECT_FALSE (zuvo::protectUiQ);
    }
}

TEST_F (WizardSteps, Step2SendsNothingToAUnitAlreadyInUpgradeMode)
{
    SimulatedStudio studio;
    gui_test::WizardHost host (156, false);
    studio.controller.enterUpgradeMode();
    zuvo::bTest_fwug = true;

    answerPreselectionWarning();
    gui_test::answerDeviceDialog (script, upgradeManager);
    host.wizard.doStep1();
    studio.controller.clearHistory();
    host.wizard.doStep2();

    expectState (host, afterStep2);
    EXPECT_TRUE (studio.controller.getUpgradeArrivals().empty());
}

//==============================================================================
TEST_F (WizardSteps, Step3OpensTheUpgradeModePort)
{
    struct Case
    {
        const char* name;
        std::function<void (SimulatedStudio&)> whileDialogOpen;
        bool confirm, openFails;
        const char* alertTitle;
        const char* message;
        Icon icon;
        Expected after;
    };

    const Case cases[] = {
        { "opened", {}, true, false, nullptr, nullptr, Icon::NoIcon, afterStep3 },
        { "cancelled", {}, false, false, nullptr, nullptr, Icon::NoIcon, afterStep2 },
        { "ports do not open", {}, true, true, "Midi Device",
          "Could not open the selected MIDI input device: Zuvo firmware upgrade", Icon::InfoIcon, afterStep2 },
        { "unit gone before OK", [] (SimulatedStudio& s) { s.controller.setPluggedIn (false); }, true, false,
          "Step 3", "Please select the unit \"Zuvo firmware upgrade\"", Icon::WarningIcon, afterStep2 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        alerts.alerts.clear();
        SimulatedStudio studio;
        gui_test::WizardHost host (156, false);

        gui_test::answerDeviceDialog (script, controllerPort);
        host.wizard.doStep1();
        host.wizard.doStep2();
        studio.backend->setOpenFails ("Zuvo firmware upgrade", c.openFails);

        script.onDialog ("Choose Your Zuvo Device", [&] (juce::DialogWindow& dialog, juce::Component& content)
                         {
                             if (! c.confirm)
                                 return dialog.exitModalState (0);

                             if (c.whileDialogOpen != nullptr)
                                 c.whileDialogOpen (studio);

                             gui_test::findButton (content, "OK")->triggerClick();
                         });

        // With the unit gone the dialog's own check fails too, so the dialog is ended as confirmed.
        if (c.whileDialogOpen != nullptr)
            script.closeDialog ("Choose Your Zuvo Device", 1);

        if (c.alertTitle != nullptr)
            script.pressAlertButton ("OK", c.alertTitle);

        host.wizard.doStep3();

        expectState (host, c.after);
        EXPECT_FALSE (zuvo::protectUiQ);
        ASSERT_NE (host.wizard.midiHandler, nullptr);
        EXPECT_EQ (host.wizard.midiHandler->output != nullptr, c.after.step == 2);

        if (c.alertTitle != nullptr)
            expectOnlyAlert (c.alertTitle, c.message, c.icon);
        else
            EXPECT_TRUE (stepAlerts().empty());

        EXPECT_TRUE (script.isDone());
    }
}

//==============================================================================
TEST_F (WizardSteps, Step4TakesOnlyAMatchingLocalFile)
{
    struct Case { const char* file; bool cancel, accepted; };
    const Case cases[] = {
        { "vantor_m+_v1.2.bin", false, true },
        { "VANTOR_M+_V1.2.bin", false, true },
        { "vantor_x+_v1.2.bin", false, false },
        { "", true, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.file);
        alerts.alerts.clear();
        SimulatedStudio studio;
        gui_test::WizardHost host (156, false);
        const auto image = c.cancel ? juce::File() : files.write (c.file, 1024);

        std::vector<Wizard::FileRequest> requests;
        host.wizard.chooseFile = [&] (const Wizard::FileRequest& r) { requests.push_back (r); return image; };

        gui_test::answerDeviceDialog (script, controllerPort);
        host.wizard.doStep1();
        host.wizard.doStep2();
        gui_test::answerDeviceDialog (script, upgradeManager);
        host.wizard.doStep3();

        if (! c.cancel && ! c.accepted)
            script.pressAlertButton ("OK", "Load File");

        host.wizard.doStep4();

        ASSERT_EQ (requests.size(), 1u);
        EXPECT_EQ (requests[0].title, "Choose The Firmware File");
        EXPECT_EQ (requests[0].patterns, "*.bin");
        expectState (host, c.accepted ? afterStep4 : inStep4);
        EXPECT_EQ (host.wizard.midiHandler->programSize, c.accepted ? 1024u : 0u);

        if (! c.cancel && ! c.accepted)
            expectOnlyAlert ("Load File", "Not the matching firmware!", Icon::WarningIcon);
        else
            EXPECT_TRUE (stepAlerts().empty());
    }
}

TEST_F (WizardSteps, FirmwareNamesFitTheirProduct)
{
    struct Case { unsigned pid; const char* name; bool fits; };
    const Case cases[] = {
        { 156, "vantor_m+_v1.2", true },
        { 156, "new_vantor_m+_2", true },
        { 156, "vantor_x+_v1.2", false },
        { 156, "vantor_m+", false },
        { 156, "", false },
        { 161, "vantor_x+_v1.2", true },
        { 161, "vantor_m+_v1.2", false },
        { 101, "ostra_c1_v3", true },
        { 101, "ostra_c1_mk2_v3", false },   // the suffixed sibling is refused before the plain model accepts
        { 102, "ostra_c1_mk2_v3", true },
        { 999, "anything", true },
        { 2000, "vantor_x+_v1.2", true },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Wizard::isValidFmwName (c.name, c.pid), c.fits) << c.pid << " " << c.name;
}

TEST_F (WizardSteps, Step5ShowsEveryLoaderFailure)
{
    using Loader = midiports::SimulatedLoader;
    const auto none = [] (Loader&) {};

    struct Case { const char* name; std::function<void (Loader&)> fault; int imageSize; const char* message; };
    const Case cases[] = {
        { "image too small",   none,                                              511, "Firmware exception!" },
        { "no connect answer", [] (Loader& l) { l.setSilentOn (Loader::connect); }, 512, "Could not connect to hardware" },
        { "no write answer",   [] (Loader& l) { l.setSilentOnBlock (1); },          1024, "Could not write new firmware" },
        { "reset refused",     [] (Loader& l) { l.setNakOnReset(); },               512,
          "Your firmware has been upgraded! Power off your unit and wait for 5 seconds, then turn back on for changes to take effect" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        alerts.alerts.clear();
        SimulatedStudio studio;
        studio.controller.setLoaderSetup (c.fault);
        gui_test::WizardHost host (156, false);

        gui_test::upgradeByHand (host, script, files.write ("vantor_m+_v1.bin", c.imageSize), "Firmware Upgrade Error");

        expectOnlyAlert ("Firmware Upgrade Error", c.message, Icon::WarningIcon);
        expectState (host, afterConstruction);
        EXPECT_EQ (host.wizard.deviceName, "");
        EXPECT_EQ (host.wizard.progressCaption.getText(), "Firmware Upgrade");
        EXPECT_EQ (host.getTitle(), "Firmware Upgrade");
        EXPECT_EQ (host.wizard.midiHandler->input, nullptr);
        EXPECT_TRUE (script.isDone());
    }
}

TEST_F (WizardSteps, Step5WithoutPortsFailsAndKeepsTheWizardUsable)
{
    SimulatedStudio studio;
    gui_test::WizardHost host (156, false);

    script.pressAlertButton ("OK", "Firmware Upgrade Error");
    host.wizard.doStep5();

    expectOnlyAlert ("Firmware Upgrade Error", "No MIDI input device is open", Icon::WarningIcon);
    expectState (host, afterConstruction);

    alerts.alerts.clear();
    gui_test::upgradeByHand (host, script, files.write ("vantor_m+_v2.bin", 512), "Firmware Upgrade Success");
    expectOnlyAlert ("Firmware Upgrade Success", "Your firmware has been upgraded!", Icon::InfoIcon);
}

TEST_F (WizardSteps, ManualUpgradeStreamsTheImageAndReturnsToTheStart)
{
    SimulatedStudio studio;
    midiports::SimulatedLoader* loader = nullptr;
    studio.controller.setLoaderSetup ([&loader] (midiports::SimulatedLoader& l) { loader = &l; });
    gui_test::WizardHost host (156, false);

    gui_test::upgradeByHand (host, script, files.write ("vantor_m+_v1.2.bin", 1536), "Firmware Upgrade Success");

    expectOnlyAlert ("Firmware Upgrade Success", "Your firmware has been upgraded!", Icon::InfoIcon);
    expectState (host, afterConstruction);
    EXPECT_EQ (host.wizard.upgradePortName, "");
    EXPECT_EQ (host.wizard.progressCaption.getText(), "Firmware Upgrade");
    ASSERT_NE (loader, nullptr);
    EXPECT_EQ (loader->getReceivedImage(), gui_test::FirmwareFiles::imageOf (1536));
    EXPECT_FALSE (studio.controller.isInUpgradeMode());
    EXPECT_EQ (zuvo::_num_UpgradeSuccess, 0);   // counted in auto mode only
}

} // namespace
