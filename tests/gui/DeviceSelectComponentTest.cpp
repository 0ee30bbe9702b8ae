#include <gtest/gtest.h>
#include <midi_ports/midi_ports.h>

#include "DeviceSelectComponent.h"
#include "gui/ModalScript.h"

namespace
{
/** The outputs of a fresh in-memory backend, in force for the fixture's lifetime. */
struct Outputs
{
    explicit Outputs (std::initializer_list<const char*> names)
    {
        for (const auto* name : names)
            backend->addOutput (name);
    }

    const std::shared_ptr<midiports::VirtualBackend> backend = std::make_shared<midiports::VirtualBackend>();
    const midiports::ScopedBackend inForce { backend };
};

juce::ComboBox& listOf (DeviceSelectComponent& picker)
{
    for (auto* child : picker.getChildren())
        if (auto* box = dynamic_cast<juce::ComboBox*> (child))
            return *box;

    throw std::runtime_error ("the picker has no list");
}

juce::Button& buttonOf (juce::Component& picker, const juce::String& text)
{
    for (auto* child : picker.getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child); button != nullptr && button->getButtonText() == text)
            return *button;

    throw std::runtime_error (("no button " + text).toStdString());
}

juce::StringArray itemsOf (juce::ComboBox& box)
{
    juce::StringArray items;
    for (int i = 0; i < box.getNumItems(); ++i)
        items.add (box.getItemText (i) + "#" + juce::String (box.getItemId (i)));
    return items;
}

/** Runs the picker in a modal dialog as the editor does, with the script's answers. */
int runPickerDialog (DeviceSelectComponent& picker, gui_test::ModalScript& script)
{
    juce::DialogWindow::LaunchOptions options;
    options.dialogTitle = "Select your device";
    options.content.setNonOwned (&picker);
    options.escapeKeyTriggersCloseButton = true;
    options.useNativeTitleBar = true;
    options.resizable = false;
    const auto result = options.runModal();
    EXPECT_TRUE (script.isDone());
    return result;
}
} // namespace

TEST (DeviceSelectComponent, AcceptsTheNamesOfTheMakersUnitsOnly)
{
    const struct { const char* name; bool valid; } cases[] = {
        { "Vantor M+ MIDI 1",        true },
        { "vAnToR",                  true },
        { "USB VANTOR X+",           true },
        { "Zuvo MIDI",               true },
        { "midi port of zuvo",       true },
        { "ZUVOmidi",                true },
        { "Zuvo firmware upgrade",   false },
        { "Midi Through Port-0",     false },
        { "Vanto r",                 false },
        { "",                        false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EXPECT_EQ (DeviceHelpers::validDeviceName (c.name), c.valid);
    }
}

TEST (DeviceSelectComponent, ListsEachValidOutputOnceAndHoldsTheFirst)
{
    const Outputs outputs { "Midi Through Port-0", "Vantor M+ MIDI 1", "   ", "Vantor M+ MIDI 1",
                            "vantor m+ midi 1", "Zuvo firmware upgrade", "zuvo USB MIDI" };
    DeviceSelectComponent picker;
    auto& list = listOf (picker);

    EXPECT_EQ (itemsOf (list), juce::StringArray ({ "Vantor M+ MIDI 1#1", "vantor m+ midi 1#2", "zuvo USB MIDI#3" }));
    EXPECT_EQ (picker.chosenDevice, "Vantor M+ MIDI 1");
    EXPECT_EQ (picker.getName(), "DeviceSelectComponent");

    list.setSelectedItemIndex (2, juce::sendNotificationSync);
    EXPECT_EQ (picker.chosenDevice, "zuvo USB MIDI");

    EXPECT_EQ (picker.getBounds(), juce::Rectangle<int> (0, 0, 300, 200));
    EXPECT_EQ (list.getBounds(), juce::Rectangle<int> (8, 76, 284, 24));
    EXPECT_EQ (buttonOf (picker, "Connect").getBounds(), juce::Rectangle<int> (90, 160, 100, 30));
    EXPECT_EQ (buttonOf (picker, "Cancel").getBounds(), juce::Rectangle<int> (190, 160, 100, 30));
}

TEST (DeviceSelectComponent, ConnectEndsTheDialogWithOneAndCancelWithZero)
{
    const Outputs outputs { "Midi Through Port-0", "Vantor X+ MIDI 1", "Vantor M+ MIDI 1" };

    const struct { const char* button; int result; } cases[] = { { "Connect", 1 }, { "Cancel", 0 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.button);
        DeviceSelectComponent picker;
        gui_test::ModalScript script;
        script.onDialog ("Select your device", [&] (juce::DialogWindow&, juce::Component& content)
        {
            listOf (picker).setSelectedItemIndex (1, juce::sendNotificationSync);
            buttonOf (content, c.button).triggerClick();
        });

        EXPECT_EQ (runPickerDialog (picker, script), c.result);
        EXPECT_EQ (picker.chosenDevice, "Vantor M+ MIDI 1");
    }
}

TEST (DeviceSelectComponent, ConnectDoesNothingWithoutAValidOutput)
{
    const Outputs outputs { "Midi Through Port-0", "Zuvo firmware upgrade" };
    DeviceSelectComponent picker;
    EXPECT_EQ (listOf (picker).getNumItems(), 0);
    EXPECT_TRUE (picker.chosenDevice.isEmpty());

    auto stillOpen = false;
    gui_test::ModalScript script;
    script.onDialog ("Select your device", [] (juce::DialogWindow&, juce::Component& content)
          {
              buttonOf (content, "Connect").triggerClick();
          })
          .onDialog ("Select your device", [&stillOpen] (juce::DialogWindow& dialog, juce::Component&)
          {
              // Clicks are delivered asynchronously: the one above lands first.
              ASSERT_TRUE (gui_test::runPostedMessages());
              stillOpen = dialog.isCurrentlyModal();
              dialog.closeButtonPressed();
          });

    EXPECT_EQ (runPickerDialog (picker, script), 0);
    EXPECT_TRUE (stillOpen);
}

TEST (DeviceSelectComponent, ButtonsOutsideADialogDoNothing)
{
    const Outputs outputs { "Vantor M+ MIDI 1" };
    DeviceSelectComponent picker;

    buttonOf (picker, "Connect").triggerClick();
    buttonOf (picker, "Cancel").triggerClick();
    ASSERT_TRUE (gui_test::runPostedMessages());

    EXPECT_EQ (picker.chosenDevice, "Vantor M+ MIDI 1");
}
