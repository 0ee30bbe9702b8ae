#include <gtest/gtest.h>

#include "common/SimulatedStudio.h"
#include "common/TemporaryFolder.h"
#include "gui/EditorTestKit.h"
#include "gui/ModalScript.h"

#include "AboutComponent.h"
#include "DeviceSelectComponent.h"
#include "Shared.h"
#include "VtrPlus.h"

#include <BinaryData.h>

using gui_test::EditorUnderTest;

namespace
{
    enum { mackie, logic, proTools, usrdefMcp, usrdefHui };

    VtrPlus& device()   { return *VtrPlus::singletonHolder.get(); }

    juce::MouseEvent mouseAt (juce::Component& c, juce::Point<float> position)
    {
        const auto now = juce::Time::getCurrentTime();
        return { juce::Desktop::getInstance().getMainMouseSource(), position, {},
                 juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f,
                 &c, &c, now, position, now, 1, false };
    }

    juce::DialogWindow* modalDialogNamed (const juce::String& title)
    {
        auto* dialog = dynamic_cast<juce::DialogWindow*> (gui_test::topModal());
        return dialog != nullptr && dialog->getName() == title ? dialog : nullptr;
    }

    void dismissEveryModal()
    {
        while (auto* modal = gui_test::topModal())
        {
            modal->exitModalState (0);
            gui_test::runUntil ([modal] { return gui_test::topModal() != modal; });
        }
    }

    struct EditorPanel : public ::testing::Test
    {
        ~EditorPanel() override      { dismissEveryModal(); }

        SimulatedStudio studio;
        gui_test::AlertRecorder alerts;
        EditorUnderTest editor;

        void select (int cid)    { ASSERT_TRUE (editor.click (cid)) << "no button for control " << cid; }

        void connectTo (int index)  { gui_test::connectThroughPicker (editor, index); }

        /** Clicks "Send Data" and checks the result box, which must be modal after the click returned. */
        void sendAndExpect (const juce::String& message)
        {
            const auto alert = gui_test::sendThroughEditor (editor, alerts);
            EXPECT_EQ (alert.title, "Send Mapping");
            EXPECT_EQ (alert.message, message);
            EXPECT_EQ (alert.icon, juce::MessageBoxIconType::WarningIcon);
            EXPECT_EQ (alert.buttons, juce::StringArray ("OK"));
            EXPECT_EQ (gui_test::topModal(), nullptr);
        }
    };
}

//==============================================================================
TEST_F (EditorPanel, ConstructionBuildsThePanelInItsLayout)
{
    auto& content = editor.content;
    EXPECT_EQ (content.getWidth(), 1000);
    EXPECT_EQ (content.getHeight(), 576);
    EXPECT_FALSE (content.getWantsKeyboardFocus());
    ASSERT_EQ (content.getNumChildComponents(), (int) EditorUnderTest::numChildren);

    struct Case { EditorUnderTest::Child child; juce::Rectangle<int> bounds; const char* text; };

    const Case cases[] = {
        { EditorUnderTest::ptclLabel,             { 50, 463, 110, 22 },  "Control Protocol" },
        { EditorUnderTest::ptclBox,               { 50, 481, 110, 22 },  nullptr },
        { EditorUnderTest::modeLabel,             { 168, 463, 140, 22 }, "Control Mode" },
        { EditorUnderTest::modeBox,               { 168, 481, 140, 22 }, nullptr },
        { EditorUnderTest::msgTypeLabel,          { 50, 499, 110, 22 },  "Msg Type" },
        { EditorUnderTest::msgTypeBox,            { 50, 517, 110, 22 },  nullptr },
        { EditorUnderTest::chanLabel,             { 168, 499, 140, 22 }, "Channel" },
        { EditorUnderTest::chanBox,               { 168, 517, 140, 22 }, nullptr },
        { EditorUnderTest::funcLabel,             { 316, 499, 200, 22 }, "Message" },
        { EditorUnderTest::funcBox,               { 316, 517, 200, 22 }, nullptr },
        { EditorUnderTest::rotationLabel,         { 524, 499, 140, 22 }, "Rotation Pattern" },
        { EditorUnderTest::rotationBox,           { 524, 517, 140, 22 }, nullptr },
        { EditorUnderTest::firmwareUpgradeButton, { 47, 546, 94, 23 },   "Firmware Upgrade" },
        { EditorUnderTest::connectDeviceButton,   { 325, 546, 94, 23 },  "Connect" },
        { EditorUnderTest::sendDataButton,        { 431, 546, 94, 23 },  "Send Data" },
        { EditorUnderTest::loadFileButton,        { 537, 546, 94, 23 },  "Load File" },
        { EditorUnderTest::saveFileButton,        { 643, 546, 94, 23 },  "Save File" },
        { EditorUnderTest::mixerSection,          { 0, 64, 786, 500 },   nullptr },
        { EditorUnderTest::controlSection,        { 786, 22, 450, 576 }, nullptr },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("child " + std::to_string ((int) c.child));
        auto& child = editor.child (c.child);
        EXPECT_EQ (child.getBounds(), c.bounds);
        EXPECT_EQ (child.isVisible(), c.child != EditorUnderTest::rotationLabel && c.child != EditorUnderTest::rotationBox);

        if (auto* label = dynamic_cast<juce::Label*> (&child))
        {
            EXPECT_EQ (label->getText(), c.text);
            EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::black);
            EXPECT_EQ (label->getJustificationType(), juce::Justification::centred);
        }
        else if (auto* commandButton = dynamic_cast<CommandButton*> (&child))
        {
            EXPECT_EQ (commandButton->getButtonText(), c.text);
        }
        else if (auto* box = dynamic_cast<MapComboBox*> (&child))
        {
            EXPECT_FALSE (box->getWantsKeyboardFocus());
            EXPECT_EQ (box->getNumItems(), 0);
        }
    }

    EXPECT_EQ (editor.modes().getSelectedItemIndex(), 0);
    EXPECT_EQ (editor.protocols().getSelectedId(), 1);
    EXPECT_FALSE (editor.protocols().isEnabled());
    EXPECT_EQ (content.prodLogoArea(), juce::Rectangle<int> (201, 24, 430, 40));
    EXPECT_EQ (isZoomNorLR, 0);
    EXPECT_EQ (isJogLorR, 0);
    EXPECT_FALSE (m2x_in_paint);
}

TEST_F (EditorPanel, ViewSwitchesBetweenControllerAndExtender)
{
    select (1);
    auto& content = editor.content;
    auto& controls = editor.child (EditorUnderTest::controlSection);

    auto expectView = [&] (bool extender)
    {
        EXPECT_EQ (displayingExpander, extender);
        EXPECT_EQ (content.getWidth(), extender ? 786 : 1000);
        EXPECT_EQ (content.getHeight(), 576);
        EXPECT_EQ (controls.isVisible(), ! extender);
        EXPECT_EQ (device().getPID(), extender ? 161 : 156);
        EXPECT_EQ (content.prodLogoArea(), juce::Rectangle<int> (201, 24, 430, 40));
        EXPECT_EQ (editor.child (EditorUnderTest::mixerSection).getBounds(), juce::Rectangle<int> (0, 64, 786, 500));
        EXPECT_EQ (controls.getBounds(), juce::Rectangle<int> (786, 22, 450, 576));

        // The selection and the map stay as they were.
        ASSERT_NE (content.findSelectedControl(), nullptr);
        EXPECT_EQ (content.findSelectedControl()->cid, 1);
        EXPECT_EQ ((int) device().getCurrentCtMode(), mackie);
    };

    const juce::MouseEvent onPicture = mouseAt (content, { 300.0f, 40.0f });

    struct Step { const char* what; std::function<void()> act; bool extender; };

    const Step steps[] = {
        { "X",                [&] { EXPECT_FALSE (content.keyPressed (juce::KeyPress ('X'))); }, true },
        { "X again",          [&] { EXPECT_FALSE (content.keyPressed (juce::KeyPress ('X'))); }, true },
        { "M",                [&] { EXPECT_FALSE (content.keyPressed (juce::KeyPress ('M'))); }, false },
        { "lower-case x",     [&] { EXPECT_FALSE (content.keyPressed (juce::KeyPress ('x'))); }, true },
        { "lower-case m",     [&] { EXPECT_FALSE (content.keyPressed (juce::KeyPress ('m'))); }, false },
        { "click on picture", [&] { content.mouseDown (onPicture); },                          true },
        { "click on picture", [&] { content.mouseDown (onPicture); },                          false },
        { "click elsewhere",  [&] { content.mouseDown (mouseAt (content, { 700.0f, 40.0f })); }, false },
    };

    for (const auto& step : steps)
    {
        SCOPED_TRACE (step.what);
        step.act();
        expectView (step.extender);
    }
}

TEST_F (EditorPanel, EachViewShowsThePictureOfItsUnit)
{
    // The extender's USB lamp, which the controller's picture does not have there.
    const juce::Point<int> lamp (721, 42);
    const auto extenderPicture = juce::ImageFileFormat::loadFrom (BinaryData::bgex_png, (size_t) BinaryData::bgex_pngSize);
    const auto lampColour = extenderPicture.getPixelAt (lamp.x, lamp.y);
    ASSERT_EQ (lampColour.getAlpha(), 255);

    auto& content = editor.content;

    for (auto extender : { true, false, true })
    {
        SCOPED_TRACE (extender ? "extender" : "controller");
        content.willDispXS (extender);
        const auto shown = content.createComponentSnapshot (content.getLocalBounds()).getPixelAt (lamp.x, lamp.y);
        EXPECT_EQ (shown == lampColour, extender);
    }
}

TEST_F (EditorPanel, HoverBubblesFollowThePointer)
{
    auto& content = editor.content;
    const auto plain = content.createComponentSnapshot (content.getLocalBounds());

    struct Case { const char* what; juce::Point<float> pointer; bool overPicture; };

    const Case cases[] = {
        { "product picture", { 300.0f, 40.0f }, true },
        { "logo",            { 40.0f, 35.0f },  false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        content.mouseMove (mouseAt (content, c.pointer));
        EXPECT_EQ (m2x_in_paint, c.overPicture);

        // The bubble's top-left corner lies 10 pixels above the pointer.
        const auto inside = c.pointer.translated (2.0f, 0.0f).roundToInt();
        const auto leftOf = c.pointer.translated (-3.0f, 0.0f).roundToInt();
        const auto hovered = content.createComponentSnapshot (content.getLocalBounds());
        const auto bubble = hovered.getPixelAt (inside.x, inside.y);

        EXPECT_GE (juce::jmin (bubble.getRed(), bubble.getGreen(), bubble.getBlue()), 220);
        EXPECT_EQ (hovered.getPixelAt (leftOf.x, leftOf.y), plain.getPixelAt (leftOf.x, leftOf.y));

        content.mouseExit (mouseAt (content, c.pointer));
        EXPECT_FALSE (m2x_in_paint);
        const auto left = content.createComponentSnapshot (content.getLocalBounds());
        EXPECT_EQ (left.getPixelAt (inside.x, inside.y), plain.getPixelAt (inside.x, inside.y));
    }
}

TEST_F (EditorPanel, LogoAndF1OpenTheAboutBoxWithoutBlocking)
{
    auto& content = editor.content;
    const auto plain = content.createComponentSnapshot (content.getLocalBounds());

    const std::pair<const char*, std::function<void()>> openers[] = {
        { "click on logo", [&] { content.mouseMove (mouseAt (content, { 60.0f, 30.0f }));
                                 content.mouseDown (mouseAt (content, { 60.0f, 30.0f })); } },
        { "F1",            [&] { EXPECT_FALSE (content.keyPressed (juce::KeyPress (juce::KeyPress::F1Key))); } },
    };

    for (const auto& [what, open] : openers)
    {
        SCOPED_TRACE (what);
        open();

        auto* dialog = modalDialogNamed ("About Vantor M+/X+ Rilo");
        ASSERT_NE (dialog, nullptr);
        EXPECT_NE (dynamic_cast<AboutComponent*> (dialog->getContentComponent()), nullptr);
        EXPECT_FALSE (dialog->isUsingNativeTitleBar());
        EXPECT_FALSE (dialog->isResizable());
        EXPECT_EQ (juce::Component::getNumCurrentlyModalComponents(), 1);

        // The logo's hover bubble is gone before the box opens.
        EXPECT_EQ (content.createComponentSnapshot (content.getLocalBounds()).getPixelAt (62, 30), plain.getPixelAt (62, 30));

        EXPECT_TRUE (static_cast<juce::Component*> (dialog)->keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));
        EXPECT_TRUE (gui_test::runUntil ([] { return gui_test::topModal() == nullptr; }));
    }
}

TEST_F (EditorPanel, KeysAlwaysGoOnToTheParents)
{
    for (const auto key : { juce::KeyPress ('M'), juce::KeyPress ('A'), juce::KeyPress ('R'),
                            juce::KeyPress (juce::KeyPress::escapeKey), juce::KeyPress ('X') })
    {
        SCOPED_TRACE (key.getTextDescription().toStdString());
        EXPECT_FALSE (editor.content.keyPressed (key));
    }
}

TEST_F (EditorPanel, ResetKeyRestoresTheCurrentMapOnly)
{
    editor.switchToMode (usrdefMcp);
    select (1);
    editor.choose (editor.box (EditorUnderTest::chanBox), 5);
    const auto editedSlot = gui_test::slotRecordOf (usrdefMcp, 25);

    editor.switchToMode (usrdefHui);
    select (1);
    editor.choose (editor.box (EditorUnderTest::msgTypeBox), 4);
    ASSERT_EQ ((int) editor.controlTree (1)["value1"], 3);

    editor.content.keyPressed (juce::KeyPress ('R'));
    EXPECT_EQ ((int) editor.controlTree (1)["value1"], 0);
    EXPECT_EQ (editor.box (EditorUnderTest::msgTypeBox).getSelectedItemIndex(), 0);
    EXPECT_EQ (editor.buttonFor (1)->attachedLabel->getText(), "REC1");

    editor.switchToMode (usrdefMcp);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 25), editedSlot);
    EXPECT_EQ ((int) editor.controlTree (1)["chan"], 5);
    EXPECT_EQ (editor.box (EditorUnderTest::chanBox).getSelectedItemIndex(), 4);
}

//==============================================================================
TEST_F (EditorPanel, ClickOnAControlSelectsItAlone)
{
    select (1);
    select (9);

    EXPECT_FALSE (editor.buttonFor (1)->getToggleState());
    EXPECT_TRUE (editor.buttonFor (9)->getToggleState());
    EXPECT_EQ (editor.content.findSelectedControl(), editor.buttonFor (9));

    select (85);
    EXPECT_EQ (editor.content.findSelectedControl(), editor.controls().masterFader);
    EXPECT_FALSE (editor.buttonFor (9)->getToggleState());

    // Control 49 takes no mouse clicks.
    bool takesClicks = true, childrenTakeClicks = true;
    editor.buttonFor (49)->getInterceptsMouseClicks (takesClicks, childrenTakeClicks);
    EXPECT_FALSE (takesClicks);
}

TEST_F (EditorPanel, ZoomAndJogClicksFollowTheZoomRules)
{
    enum Target { zoom1, zoom2, jogLeft, jogRight };

    struct Step { Target target; int zoom; int jog; bool zoom1On, zoom2On; int funcIndex; int cid; };

    const Step steps[] = {
        { zoom1,    1, 0, true,  false, 98, 86 },
        { zoom1,    0, 0, false, false, 60, 73 },
        { zoom2,    2, 0, false, true,  96, 88 },
        { zoom1,    1, 0, true,  false, 98, 86 },
        { zoom2,    2, 0, false, true,  96, 88 },
        { jogRight, 2, 1, false, true,  97, 89 },
        { jogLeft,  2, 0, false, true,  96, 88 },
        { zoom2,    0, 0, false, false, 60, 73 },
        { jogRight, 0, 1, false, false, 60, 74 },
    };

    for (const auto mode : { mackie, usrdefMcp })
    {
        gui_test::resetEditorWorld();
        editor.switchToMode (mode);
        editor.content.stabilize_controls();

        for (const auto& step : steps)
        {
            SCOPED_TRACE ("mode " + std::to_string (mode) + ", step " + std::to_string (&step - steps));
            auto& controls = editor.controls();
            MappableButton* const targets[] = { controls.zoomButton1, controls.zoomButton2, controls.jogButtonL, controls.jogButtonR };
            editor.click (*targets[step.target]);

            EXPECT_EQ (isZoomNorLR, step.zoom);
            EXPECT_EQ (isJogLorR, step.jog);
            EXPECT_EQ (controls.zoomButton1->getToggleState(), step.zoom1On);
            EXPECT_EQ (controls.zoomButton2->getToggleState(), step.zoom2On);

            auto* half = step.jog == 1 ? controls.jogButtonR : controls.jogButtonL;
            EXPECT_EQ (editor.content.findSelectedControl(), half);
            // In every mode the halves stand for the controls of the zoom state.
            EXPECT_EQ (half->cid, step.cid);
            EXPECT_EQ (editor.box (EditorUnderTest::funcBox).getSelectedItemIndex(), step.funcIndex);
        }
    }
}

//==============================================================================
TEST_F (EditorPanel, ConnectRunsTheOutputPickerModally)
{
    bool sawDialog = false;
    gui_test::ModalScript script;
    script.onDialog ("Select your device", [&sawDialog] (juce::DialogWindow& dialog, juce::Component& content)
    {
        sawDialog = true;
        EXPECT_NE (dynamic_cast<DeviceSelectComponent*> (&content), nullptr);
        EXPECT_TRUE (dialog.isUsingNativeTitleBar());
        EXPECT_FALSE (dialog.isResizable());
        gui_test::findButtonWithText (content, "Connect")->triggerClick();
    });

    editor.click (editor.command (EditorUnderTest::connectDeviceButton));
    ASSERT_TRUE (sawDialog);
    EXPECT_EQ (gui_test::topModal(), nullptr);

    sendAndExpect ("Done!");
    ASSERT_EQ (studio.controller.getTransfers().size(), 1u);
    EXPECT_EQ (studio.controller.getTransfers()[0].productId, 156);
}

TEST_F (EditorPanel, ClosingThePickerInAnyWayKeepsThePreviousOutput)
{
    connectTo (0);

    const std::pair<const char*, std::function<void (juce::DialogWindow&, juce::Component&)>> closers[] = {
        { "Cancel",       [] (juce::DialogWindow&, juce::Component& c) { gui_test::findButtonWithText (c, "Cancel")->triggerClick(); } },
        { "close button", [] (juce::DialogWindow& d, juce::Component&) { d.closeButtonPressed(); } },
        { "Escape",       [] (juce::DialogWindow& d, juce::Component&) { static_cast<juce::Component&> (d).keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)); } },
    };

    for (const auto& closer : closers)
    {
        SCOPED_TRACE (closer.first);
        const auto& close = closer.second;
        gui_test::ModalScript script;
        script.onDialog ("Select your device", [&close] (juce::DialogWindow& d, juce::Component& c)
        {
            // Another output is shown, but the dialog does not end with "Connect".
            gui_test::showOutputInPicker (c, 1);
            close (d, c);
        });

        editor.click (editor.command (EditorUnderTest::connectDeviceButton));
        EXPECT_TRUE (script.isDone());
        EXPECT_TRUE (gui_test::runUntil ([] { return gui_test::topModal() == nullptr; }));
    }

    sendAndExpect ("Done!");
    EXPECT_EQ (studio.controller.getTransfers().size(), 1u);
    EXPECT_TRUE (studio.extender.getArrivals().empty());
}

TEST_F (EditorPanel, SendDataReportsTheTransferResult)
{
    sendAndExpect ("No device selected");

    connectTo (0);
    studio.controller.setPluggedIn (false);
    sendAndExpect (studio.controller.getPortName() + ": device does not exist");

    studio.controller.setPluggedIn (true);
    sendAndExpect ("Done!");
    ASSERT_EQ (studio.controller.getTransfers().size(), 1u);
    EXPECT_EQ (studio.controller.getTransfers()[0].productId, 156);
    EXPECT_EQ (studio.controller.getTransfers()[0].modeCode, 1);

    // In the extender view the transfer carries the extender's product ID.
    editor.content.keyPressed (juce::KeyPress ('X'));
    connectTo (1);
    sendAndExpect ("Done!");
    ASSERT_EQ (studio.extender.getTransfers().size(), 1u);
    EXPECT_EQ (studio.extender.getTransfers()[0].productId, 161);
    EXPECT_TRUE (studio.controller.getErrors().isEmpty());
    EXPECT_TRUE (studio.extender.getErrors().isEmpty());
}

//==============================================================================
TEST_F (EditorPanel, SaveAndLoadGoThroughTheFileChooser)
{
    const juce::TemporaryFile saved (".rilo");

    editor.nextChosenFile = saved.getFile();
    editor.click (editor.command (EditorUnderTest::saveFileButton));
    EXPECT_TRUE (editor.lastDialogWasForSaving);
    ASSERT_TRUE (saved.getFile().existsAsFile());
    EXPECT_EQ (juce::XmlDocument::parse (saved.getFile())->getStringAttribute ("mode"), "mackie");

    // Cancelled dialogs change nothing.
    saved.getFile().deleteFile();
    editor.nextChosenFile = juce::File();
    editor.click (editor.command (EditorUnderTest::saveFileButton));
    editor.click (editor.command (EditorUnderTest::loadFileButton));
    EXPECT_FALSE (editor.lastDialogWasForSaving);
    EXPECT_EQ (editor.numFileDialogs, 3);
    EXPECT_FALSE (saved.getFile().exists());
    EXPECT_EQ ((int) device().getCurrentCtMode(), mackie);
}

TEST_F (EditorPanel, LoadedFileMakesItsModeCurrentInTheModeBox)
{
    struct Case { int mode; int modeIndex; const char* msgTypeLabel; const char* label; };

    const Case cases[] = {
        { proTools,  2, "Value1",   "SEL.1" },
        { usrdefHui, 3, "Value1",   "SEL1" },
        { logic,     1, "Msg Type", "SEL.1" },
        { usrdefMcp, 3, "Msg Type", " C(1)" },
    };

    const juce::TemporaryFile folderFile;
    const auto folder = folderFile.getFile();
    folder.createDirectory();
    select (25);

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode));
        // The file names the other protocol: the boxes show the one the mode sends.
        const auto isHui = c.mode == proTools || c.mode == usrdefHui;
        auto map = CtMap { CtMode (c.mode) }.tree.createXml();
        map->setAttribute ("protocol", isHui ? 0 : 1);
        editor.nextChosenFile = gui_test::writeMappingFile (folder, "map" + juce::String (c.mode), *map);
        editor.click (editor.command (EditorUnderTest::loadFileButton));

        EXPECT_EQ ((int) device().getCurrentCtMode(), c.mode);
        EXPECT_EQ (editor.modes().getSelectedItemIndex(), c.modeIndex);
        EXPECT_EQ (editor.protocols().getSelectedItemIndex(), isHui ? 1 : 0);
        EXPECT_EQ (editor.label (EditorUnderTest::msgTypeLabel).getText(), c.msgTypeLabel);
        EXPECT_EQ (editor.content.findSelectedControl(), editor.buttonFor (25));
        EXPECT_EQ (editor.buttonFor (25)->attachedLabel->getText(), c.label);
    }

    // A file that is no mapping leaves the editor showing the current map.
    editor.nextChosenFile = folder.getChildFile ("broken.rilo");
    editor.nextChosenFile.replaceWithText ("not a map");
    editor.click (editor.command (EditorUnderTest::loadFileButton));
    EXPECT_EQ ((int) device().getCurrentCtMode(), usrdefMcp);
    EXPECT_EQ (editor.modes().getSelectedItemIndex(), 3);

    folder.deleteRecursively();
}

TEST_F (EditorPanel, FailedSavesAndLoadsAreToldAndChangeNothing)
{
    struct Case
    {
        const char* what;
        EditorUnderTest::Child command;
        std::function<juce::File (const juce::File& folder)> prepare;
        const char* title;
        const char* message;
    };

    const Case cases[] = {
        { "save onto a read-only file", EditorUnderTest::saveFileButton,
          [] (const juce::File& folder)
          {
              const auto file = folder.getChildFile ("old.rilo");
              file.replaceWithText ("the user's old map");
              file.setReadOnly (true);
              return file;
          },
          "Save Mapping", "Failed to write mapping file" },
        { "save onto a folder", EditorUnderTest::saveFileButton,
          [] (const juce::File& folder) { folder.getChildFile ("folder.rilo").createDirectory(); return folder.getChildFile ("folder.rilo"); },
          "Save Mapping", "Failed to write mapping file" },
        { "load a file that is no map", EditorUnderTest::loadFileButton,
          [] (const juce::File& folder) { folder.getChildFile ("broken.rilo").replaceWithText ("not a map"); return folder.getChildFile ("broken.rilo"); },
          "Load Mapping", "Could not load mapping data" },
        { "load a file that is gone", EditorUnderTest::loadFileButton,
          [] (const juce::File& folder) { return folder.getChildFile ("gone.rilo"); },
          "Load Mapping", "Could not load mapping data" },
    };

    const ScopedTemporaryFolder temp ("editor-files");
    editor.switchToMode (usrdefMcp);
    select (25);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        editor.nextChosenFile = c.prepare (temp.folder);
        const auto textBefore = editor.nextChosenFile.loadFileAsString();

        const auto alert = gui_test::clickAndCloseResultBox (editor, alerts, c.command);
        EXPECT_EQ (alert.title, c.title);
        EXPECT_EQ (alert.message, c.message);
        EXPECT_EQ (alert.icon, juce::MessageBoxIconType::WarningIcon);

        EXPECT_EQ (editor.nextChosenFile.loadFileAsString(), textBefore);
        EXPECT_EQ ((int) device().getCurrentCtMode(), usrdefMcp);
        EXPECT_EQ (editor.modes().getSelectedItemIndex(), 3);
        EXPECT_EQ (editor.content.findSelectedControl(), editor.buttonFor (25));
    }

    temp.folder.getChildFile ("old.rilo").setReadOnly (false);
}

TEST_F (EditorPanel, ANameWithoutExtensionIsSavedAsAMappingFile)
{
    const ScopedTemporaryFolder temp ("editor-files");
    const auto typed = temp.folder.getChildFile ("mine");
    const auto saved = temp.folder.getChildFile ("mine.rilo");
    const auto savedMode = [&saved] { const auto xml = juce::parseXML (saved); return xml != nullptr ? xml->getStringAttribute ("mode") : juce::String(); };

    editor.nextChosenFile = typed;
    editor.click (editor.command (EditorUnderTest::saveFileButton));
    EXPECT_FALSE (typed.exists());
    EXPECT_EQ (savedMode(), "mackie");

    // The dialog asked about the name as typed, so replacing the longer name is asked here.
    editor.switchToMode (logic);

    for (const auto* answer : { "Cancel", "Replace" })
    {
        SCOPED_TRACE (answer);
        gui_test::ModalScript script;
        script.pressAlertButton (answer, "Save Mapping");
        editor.click (editor.command (EditorUnderTest::saveFileButton));
        EXPECT_TRUE (script.isDone());
        EXPECT_EQ (savedMode(), juce::String (answer) == "Replace" ? "logic" : "mackie");
    }

    EXPECT_EQ (alerts.alerts.back().message, "mine.rilo already exists. Do you want to replace it?");
    EXPECT_EQ (gui_test::topModal(), nullptr);
}

TEST_F (EditorPanel, FirmwareUpgradeRunsTheWizardModally)
{
    select (1);
    bool sawModal = false;

    gui_test::ModalScript script;
    script.then ([] (juce::Component&) { return true; },
                 [&sawModal] (juce::Component& modal) { sawModal = true; modal.exitModalState (0); });

    editor.click (editor.command (EditorUnderTest::firmwareUpgradeButton));
    dismissEveryModal();

    EXPECT_TRUE (sawModal);
    EXPECT_EQ (editor.content.findSelectedControl(), editor.buttonFor (1));
    EXPECT_EQ ((int) device().getCurrentCtMode(), mackie);
}

TEST_F (EditorPanel, KeysReachThePanelThroughTheSelectedControl)
{
    auto& content = editor.content;
    content.addToDesktop (0);
    content.setVisible (true);
    content.toFront (true);
    gui_test::runUntil ([&content] { return content.isShowing(); });

    auto* peer = content.getPeer();
    ASSERT_NE (peer, nullptr);

    // The test programs share one X server, and another one's window can take
    // the input focus at any moment; a click gives the keyboard focus only
    // within the focused window. So the selection counts once it was made
    // while this window had the focus. With many test programs on a busy
    // machine that can take a while.
    ASSERT_TRUE (gui_test::runUntil ([&]
    {
        content.toFront (true);
        editor.click (1);
        return peer->isFocused();
    }, 60000)) << "this window never kept the input focus";
    EXPECT_TRUE (editor.buttonFor (1)->hasKeyboardFocus (false));

    peer->handleKeyPress (juce::KeyPress ('x'));   // as this platform reports the letter key
    EXPECT_TRUE (displayingExpander);
    EXPECT_EQ (content.getWidth(), 786);

    content.removeFromDesktop();
}
