#include <gtest/gtest.h>
#include <zuvo_firmware/zuvo_firmware.h>

#include "common/SimulatedStudio.h"
#include "gui/ModalScript.h"

namespace
{
    using zuvo::FirmwareUpgradeComponent;
    namespace DeviceHelpers = zuvo::DeviceHelpers;

    const char* const manager = "Zuvo firmware upgrade manager";
    const char* const upgradeTarget = "Zuvo firmware upgrade";
    const char* const warning = "Warning: Cannot find target unit!";

    /** Puts the upgrader's modes back where the program starts, also when a check fails. */
    struct ScopedModes
    {
        ScopedModes (bool test, bool autoMode)
        {
            zuvo::bTest_fwug = test;
            bAuto = autoMode;
        }

        ~ScopedModes()
        {
            zuvo::bTest_fwug = false;
            bAuto = false;
        }
    };

    /** A backend of plain ports only, in force for the lifetime of the object. */
    struct PlainPorts
    {
        explicit PlainPorts (const juce::StringArray& outputs, const juce::StringArray& inputs = {})
        {
            for (const auto& name : outputs)
                backend->addOutput (name);

            for (const auto& name : inputs)
                backend->addInput (name);
        }

        const std::shared_ptr<midiports::VirtualBackend> backend = std::make_shared<midiports::VirtualBackend>();
        const midiports::ScopedBackend inForce { backend };
    };

    /** Runs the port dialog modally as the wizard does, with the user's part
        played by the script; the result of the dialog. */
    int runDialog (zuvo::DeviceSelectComponent& content)
    {
        juce::DialogWindow::LaunchOptions options;
        options.content.setNonOwned (&content);
        options.dialogTitle = "Choose Your Zuvo Device";
        options.escapeKeyTriggersCloseButton = true;
        options.resizable = false;
        return options.runModal();
    }

    /** The dialog of a step, built while the script answers the warning box if it comes. */
    struct DialogUnderTest
    {
        DialogUnderTest (int pid, const juce::String& target)
        {
            script.pressAlertButton ("OK");
            dialog = std::make_unique<zuvo::DeviceSelectComponent> (pid, target);
        }

        bool warned() const
        {
            return std::any_of (alerts.alerts.begin(), alerts.alerts.end(),
                                [] (const auto& a) { return a.message == warning && a.title.isEmpty()
                                                            && a.icon == juce::MessageBoxIconType::NoIcon; });
        }

        juce::String selected() const  { return dialog->deviceBox.getText(); }

        gui_test::AlertRecorder alerts;
        gui_test::ModalScript script;
        std::unique_ptr<zuvo::DeviceSelectComponent> dialog;
    };
}

//==============================================================================
TEST (UpgraderPortLists, CleanedAndDisplayListsKeepTheOrderOfTheSystemsList)
{
    const PlainPorts ports ({ "Port A", "Port A", "", "MICROSOFT GS Synth", "Port B", "Zuvo firmware upgrade 2",
                              "zuvo FIRMWARE upgrade", "port a" },
                            { "In", "In", "Microsoft In", "Zuvo firmware upgrade 2" });

    EXPECT_EQ (DeviceHelpers::getDeviceNames0 (true),
               juce::StringArray ("Port A", "Port B", "Zuvo firmware upgrade 2", "zuvo FIRMWARE upgrade", "port a"));
    EXPECT_EQ (DeviceHelpers::getDeviceNames (false), juce::StringArray ("Port A", "Port B", manager, manager, "port a"));
    EXPECT_EQ (DeviceHelpers::getDeviceNames0 (false), juce::StringArray ("In", "Zuvo firmware upgrade 2"));

    // The display name stands for the first upgrade-mode output.
    EXPECT_EQ (DeviceHelpers::convFwugMan (manager), "Zuvo firmware upgrade 2");
    EXPECT_EQ (DeviceHelpers::convFwugMan ("Port B"), "Port B");
    EXPECT_EQ (DeviceHelpers::convFwugMan ("Zuvo firmware upgrade"), "");

    // Raw lists, case counting.
    EXPECT_EQ (FirmwareUpgradeComponent::numberForDevice ("Port A", true), 2);
    EXPECT_EQ (FirmwareUpgradeComponent::numberForDevice (upgradeTarget, true), 1);
    EXPECT_EQ (FirmwareUpgradeComponent::numberForDevice ("In", false), 3);

    // Positions in the cleaned lists.
    EXPECT_EQ (FirmwareUpgradeComponent::indexForFirstDevice (upgradeTarget, true), 2);
    EXPECT_EQ (FirmwareUpgradeComponent::indexForFirstDevice ("port", true), 4);
    EXPECT_EQ (FirmwareUpgradeComponent::indexForFirstDevice ("Port C", true), -1);
}

TEST (UpgraderPortLists, ADisplayNameThatIsNoLongerListedGivesNoPort)
{
    const PlainPorts ports ({ "Vantor M+ MIDI 1" });
    EXPECT_EQ (DeviceHelpers::convFwugMan (manager), "");
}

TEST (UpgraderPortLists, CountsOfUpgradePortsAndProductPorts)
{
    const PlainPorts ports ({ "Vantor M+ MIDI 1", "Zuvo firmware upgrade", "Vantor X+ MIDI 1", " vantor m+ port 2 " });

    EXPECT_EQ (FirmwareUpgradeComponent::getNumsOf_Fwug_and_Prod (156, 16), 18);
    EXPECT_EQ (FirmwareUpgradeComponent::getNumsOf_Fwug_and_Prod (161, 16), 17);
    EXPECT_EQ (FirmwareUpgradeComponent::getNumsOf_Fwug_and_Prod (158, 1), 1);

    const juce::StringArray names ("Zuvo firmware upgrade manager", "Vantor X+ MIDI 1", "Vantor M+ MIDI 1");
    EXPECT_EQ (juce::String (FirmwareUpgradeComponent::firstTargetNameByPid (156, names)), "Vantor M+ MIDI 1");
    EXPECT_TRUE (FirmwareUpgradeComponent::firstTargetNameByPid (158, names).isEmpty());
}

TEST (UpgraderPortLists, PortFilters)
{
    struct Case
    {
        const char* name;
        bool testMode, autoMode;
        bool upgradePort;              // validDeviceName (name, false, either)
        bool ordinaryOrUpgradePort;    // validDeviceName (name, true, true)
        bool ordinaryPort;             // validDeviceName (name, true, false)
    };

    const Case cases[] =
    {
        { "Vantor M+ MIDI 1",            false, false, false, true,  true },
        { "Zuvo firmware upgrade 1",     false, false, true,  true,  false },
        { "ZUVO FIRMWARE UPGRADE",       false, false, true,  true,  false },
        { "Microsoft GS Wavetable",      false, false, false, false, false },
        { "microsoft zuvo firmware upgrade", false, false, true, false, false },
        { "ZUVO USB Midi 1",             false, false, false, true,  true },
        { "ZUVO USB Midi 1",             true,  false, true,  true,  true },
        { "  zuvo midi  ",               true,  false, true,  true,  true },
        { "ZUVO USB Midi 1",             true,  true,  false, true,  true },
        { "My ZUVO Midi",                true,  false, false, true,  true },
        { "ZUVO Port",                   true,  false, false, true,  true }
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.name) + (c.testMode ? " in test mode" : "") + (c.autoMode ? " in auto mode" : ""));
        const ScopedModes modes (c.testMode, c.autoMode);

        EXPECT_EQ (zuvo::isUpgradePort (c.name), c.upgradePort);
        EXPECT_EQ (DeviceHelpers::validDeviceName (c.name, false, false), c.upgradePort);
        EXPECT_EQ (DeviceHelpers::validDeviceName (c.name, false, true), c.upgradePort);
        EXPECT_EQ (DeviceHelpers::validDeviceName (c.name, true, true), c.ordinaryOrUpgradePort);
        EXPECT_EQ (DeviceHelpers::validDeviceName (c.name, true, false), c.ordinaryPort);
    }
}

//==============================================================================
TEST (UpgraderPortDialog, StepOnePreselectsTheOrdinaryPortOfTheProduct)
{
    const SimulatedStudio studio;

    for (const auto& [pid, port] : { std::pair<int, const char*> { 156, "Vantor M+ MIDI 1" }, { 161, "Vantor X+ MIDI 1" } })
    {
        SCOPED_TRACE (pid);
        const DialogUnderTest under (pid, {});

        EXPECT_FALSE (under.warned());
        EXPECT_EQ (under.selected(), port);
        EXPECT_EQ (under.dialog->chosenDevice, port);
        EXPECT_EQ (under.dialog->getName(), "DeviceSelectComponent");
        EXPECT_EQ (under.dialog->getBounds(), juce::Rectangle<int> (0, 0, 300, 200));
        EXPECT_EQ (under.dialog->deviceBox.getBounds(), juce::Rectangle<int> (8, 76, 284, 24));
        EXPECT_EQ (under.dialog->okButton.getBounds(), juce::Rectangle<int> (90, 160, 100, 30));
        EXPECT_EQ (under.dialog->cancelButton.getBounds(), juce::Rectangle<int> (190, 160, 100, 30));
    }
}

TEST (UpgraderPortDialog, PreselectionsThatFindNothingWarnAndSelectTheFirstItem)
{
    struct Case
    {
        const char* what;
        int pid;
        const char* target;
        int unitsInUpgradeMode;    // the controller, then the extender too; -1: both unplugged
        const char* selected;
    };

    const Case cases[] =
    {
        { "step 1 while a unit is in upgrade mode", 161, "", 1, manager },
        { "step 1 for a product without a port", 158, "", 0, "Vantor M+ MIDI 1" },
        { "step 3 without a unit in upgrade mode", 156, upgradeTarget, 0, "Vantor M+ MIDI 1" },
        { "step 3 with two units in upgrade mode", 156, upgradeTarget, 2, manager },
        { "no port at all", 156, "", -1, "" }
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const SimulatedStudio studio;

        if (c.unitsInUpgradeMode > 0)  studio.controller.enterUpgradeMode();
        if (c.unitsInUpgradeMode > 1)  studio.extender.enterUpgradeMode();

        if (c.unitsInUpgradeMode < 0)
            for (auto* unit : { &studio.controller, &studio.extender })
                unit->setPluggedIn (false);

        const DialogUnderTest under (c.pid, c.target);

        EXPECT_TRUE (under.warned());
        EXPECT_EQ (under.dialog->deviceBox.getSelectedItemIndex(), juce::String (c.selected).isEmpty() ? -1 : 0);
        EXPECT_EQ (under.selected(), c.selected);
        EXPECT_EQ (under.dialog->chosenDevice, c.selected);
    }
}

TEST (UpgraderPortDialog, StepThreePreselectsTheSingleUpgradePort)
{
    const SimulatedStudio studio;
    studio.extender.enterUpgradeMode();

    const DialogUnderTest under (156, upgradeTarget);

    EXPECT_FALSE (under.warned());
    EXPECT_EQ (under.selected(), manager);
    EXPECT_EQ (under.dialog->deviceBox.getItemText (0), "Vantor M+ MIDI 1");
}

TEST (UpgraderPortDialog, APortThatAppearsDuringTheTriesIsFoundAndListed)
{
    const SimulatedStudio studio;
    juce::Timer::callAfterDelay (200, [&studio] { studio.controller.enterUpgradeMode(); });

    const DialogUnderTest under (156, upgradeTarget);

    EXPECT_FALSE (under.warned());
    EXPECT_EQ (under.selected(), manager);
    EXPECT_EQ (under.dialog->deviceBox.getNumItems(), 2);
}

TEST (UpgraderPortDialog, ThePreselectionLooksFor450msBeforeItWarns)
{
    const SimulatedStudio studio;   // no unit in upgrade mode: step 3 finds nothing
    gui_test::AlertRecorder alerts;
    gui_test::ModalScript script;
    double warnedAfterMs = 0;
    const auto started = juce::Time::getMillisecondCounterHiRes();

    script.then ([] (juce::Component& c) { return dynamic_cast<juce::AlertWindow*> (&c) != nullptr; },
                 [&] (juce::Component& box)
                 {
                     warnedAfterMs = juce::Time::getMillisecondCounterHiRes() - started;
                     static_cast<juce::AlertWindow&> (box).triggerButtonClick ("OK");
                 });

    const zuvo::DeviceSelectComponent dialog (156, upgradeTarget);

    EXPECT_TRUE (script.isDone());
    EXPECT_GE (warnedAfterMs, 450.0);
}

TEST (UpgraderPortDialog, OkClosesTheDialogOnlyForAPortOfItsForm)
{
    struct Case
    {
        const char* what;
        const char* target;
        bool testMode;
        int chosenItem;      // with the controller in upgrade mode: 0 the manager, 1 "Vantor X+ MIDI 1"
        int result;
    };

    const Case cases[] =
    {
        { "step 1, ordinary port", "", false, 1, 1 },
        { "step 1, upgrade-mode port", "", false, 0, 0 },
        { "step 1, upgrade-mode port in test mode", "", true, 0, 1 },
        { "step 3, upgrade-mode port", upgradeTarget, false, 0, 1 },
        { "step 3, ordinary port", upgradeTarget, false, 1, 0 }
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const SimulatedStudio studio;
        studio.controller.enterUpgradeMode();
        const ScopedModes modes (c.testMode, false);

        const DialogUnderTest under (161, c.target);
        auto& dialog = *under.dialog;
        dialog.deviceBox.setSelectedItemIndex (c.chosenItem, juce::sendNotificationSync);
        EXPECT_EQ (dialog.chosenDevice, dialog.deviceBox.getText());

        // OK, then Cancel: a refused choice leaves the dialog open for the Cancel that ends it with 0.
        gui_test::ModalScript user;
        user.onDialog ("Choose Your Zuvo Device", [&dialog] (juce::DialogWindow&, juce::Component&)
                                                          { dialog.okButton.triggerClick(); })
                    .onDialog ("Choose Your Zuvo Device", [&dialog] (juce::DialogWindow&, juce::Component&)
                                                          { dialog.cancelButton.triggerClick(); });

        EXPECT_EQ (runDialog (dialog), c.result);
    }
}

TEST (UpgraderPortDialog, AutoModeConfirmsAPortItFoundByItself)
{
    const SimulatedStudio studio;

    {
        const ScopedModes modes (false, true);
        zuvo::DeviceSelectComponent dialog (156, {});
        EXPECT_EQ (runDialog (dialog), 1);
        EXPECT_EQ (dialog.chosenDevice, "Vantor M+ MIDI 1");
    }

    // Nothing found: the user has to choose.
    studio.controller.enterUpgradeMode();
    studio.extender.enterUpgradeMode();
    const ScopedModes modes (false, true);
    const DialogUnderTest under (156, upgradeTarget);
    gui_test::ModalScript user;
    user.closeDialog ("Choose Your Zuvo Device", 7);
    EXPECT_EQ (runDialog (*under.dialog), 7);
}
