#include "ContentComponent.h"

#include <BinaryData.h>
#include <zuvo_firmware/zuvo_firmware.h>

#include "AboutComponent.h"
#include "Arrays.h"
#include "ControllerMap.h"
#include "Defa.h"
#include "DeviceSelectComponent.h"
#include "EmbeddedPng.h"
#include "Shared.h"
#include "VtrPlus.h"

bool m2x_in_paint = false;

namespace
{
    enum ModeNumber { mackie = 0, logic = 1, proTools = 2, usrdefMcp = 3, usrdefHui = 4 };
    enum KindNumber { button = 0, knob = 1, jogWheel = 2, fader = 3, masterFader = 4 };

    constexpr int controllerPid = 156, extenderPid = 161;
    constexpr int controlChange = 11;

    VtrPlus* device()               { return VtrPlus::singletonHolder.get(); }
    int currentMode()               { return (int) device()->getCurrentCtMode(); }
    bool isUserDefined (int mode)   { return mode == usrdefMcp || mode == usrdefHui; }
    bool isHui (int mode)           { return mode == proTools || mode == usrdefHui; }
    bool isKnob (int cid)           { return cid >= 65 && cid <= 72; }
    bool isJogHalf (int cid)        { return cid == 73 || cid == 74; }

    /** A knob, or a jog half in the normal zoom state: the controls whose
        rotation pattern the editor offers when they send a controller.
    */
    bool hasRotationPattern (int cid)
    {
        return isKnob (cid) || (isJogHalf (cid) && isZoomNorLR == 0);
    }

    /** The kind whose lists the attribute boxes show for a control. The jog
        halves of the zoom states (86 to 89) are buttons of the HUI zones in
        "usrdef-hui", but hold the jog's functions of their zoom state in
        "pro-tools", so they show the jog's lists there. */
    int listKindOf (int mode, int cid)
    {
        return mode == proTools && cid >= 86 && cid <= 89 ? (int) jogWheel : (int) Defa::kindForCid (cid);
    }

    bool isInKnobVeloGroup (int controllerNumber)
    {
        return (controllerNumber >= 16 && controllerNumber <= 23) || controllerNumber == 60;
    }


    /** Adds an item with the next id. The framework drops items without text,
        which would shift every later item against its mapped value, so a
        nameless function gets a blank.
    */
    void addNextItem (juce::ComboBox& box, const juce::String& text)
    {
        box.addItem (text.isEmpty() ? juce::String (" ") : text, box.getNumItems() + 1);
    }

    constexpr const char* alignedHexItem = "%2d) 0x%02X";

    /** Items "position) 0xbyte" for the bytes of a table. */
    template <size_t size>
    void addByteItems (juce::ComboBox& box, const juce::uint8 (&bytes)[size], const char* format = alignedHexItem)
    {
        for (int i = 0; i < (int) size; ++i)
            addNextItem (box, juce::String::formatted (format, i, bytes[i]));
    }

    /** Items " 0) 0x00" up to the position and byte numberOfItems - 1. */
    void addCountingItems (juce::ComboBox& box, int numberOfItems)
    {
        for (int i = 0; i < numberOfItems; ++i)
            addNextItem (box, juce::String::formatted (alignedHexItem, i, i));
    }

    int indexOr (int fallback, int index, int numberOfItems)
    {
        return juce::isPositiveAndBelow (index, numberOfItems) ? index : fallback;
    }

    /** Selects an item by index; an index with no item leaves the box without a selection. */
    void selectIndex (juce::ComboBox& box, int index)
    {
        if (juce::isPositiveAndBelow (index, box.getNumItems()))
            box.setSelectedItemIndex (index, juce::dontSendNotification);
    }

    template <size_t size>
    int positionIn (const juce::uint8 (&table)[size], int value)
    {
        for (int i = 0; i < (int) size; ++i)
            if (table[i] == value)
                return i;

        return -1;
    }

    /** Entry of the usrdef-hui pair list of a kind, or nullptr for a position outside it. */
    const juce::uint8* huiPairEntry (int kind, int position)
    {
        auto entryOf = [position] (auto& list) -> const juce::uint8*
        {
            return juce::isPositiveAndBelow (position, (int) std::size (list)) ? list[position] : nullptr;
        };

        switch (kind)
        {
            case button:   return entryOf (HuiBnVaPairs0);
            case knob:     return entryOf (HuiKnVaPairs0);
            case jogWheel: return entryOf (HuiJogVaPairs0);
            default:       return entryOf (HuiFdknVaPairs0);
        }
    }

    void setLabelText (juce::Label& label, const juce::String& text)
    {
        label.setText (text, juce::dontSendNotification);
    }

    /** Sets up a dialog that Escape closes and the user cannot resize. */
    void setUpFixedDialog (juce::DialogWindow::LaunchOptions& options, const juce::String& title,
                           juce::Component* centreAround, bool nativeTitleBar)
    {
        options.dialogTitle = title;
        options.componentToCentreAround = centreAround;
        options.escapeKeyTriggersCloseButton = true;
        options.useNativeTitleBar = nativeTitleBar;
        options.resizable = false;
        options.useBottomRightCornerResizer = false;
    }

    /** A result box as the editor shows every outcome: warning kind, the
        framework's default button, queued without blocking. */
    void showResultBox (const juce::String& title, const juce::String& message)
    {
        juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon, title, message, {}, nullptr, nullptr);
    }

    /** A name without an extension gets ".rilo", the extension that the Load
        dialog shows; since the dialog asked about replacing the name as typed,
        replacing a file of the longer name is asked here. Gives an invalid File
        when the user declines (or chose none). */
    juce::File withMappingFileExtension (const juce::File& chosen)
    {
        if (chosen == juce::File() || chosen.getFileExtension().isNotEmpty())
            return chosen;

        const auto file = chosen.withFileExtension ("rilo");

        if (file.exists() && ! juce::AlertWindow::showOkCancelBox (juce::MessageBoxIconType::WarningIcon, "Save Mapping",
                                                                  file.getFileName() + " already exists. Do you want to replace it?",
                                                                  "Replace", "Cancel", nullptr, nullptr))
            return {};

        return file;
    }

    juce::File chooseWithNativeDialog (bool forSaving)
    {
        juce::FileChooser chooser (forSaving ? "Save Mapping" : "Load Mapping", {}, "*.rilo", true, false, nullptr);

        const auto chosen = forSaving ? chooser.browseForFileToSave (true)
                                      : chooser.browseForFileToOpen (nullptr);

        return chosen ? chooser.getResult() : juce::File();
    }
}

//==============================================================================
ContentComponent::ContentComponent()
    : chooseMappingFile (chooseWithNativeDialog)
{
    m2x_in_paint = false;
    isZoomNorLR = 0;
    isJogLorR = 0;

    logoImage  = juce::ImageCache::getFromMemory (BinaryData::ZuvoLogo_png, BinaryData::ZuvoLogo_pngSize);
    vtmPicture = juce::ImageCache::getFromMemory (BinaryData::vtm_p_png, BinaryData::vtm_p_pngSize);
    vtxPicture = juce::ImageCache::getFromMemory (BinaryData::vtx_p_png, BinaryData::vtx_p_pngSize);

    tooltipWindow.setMillisecondsBeforeTipAppears (0);

    // paint() covers the whole panel, so the window need not paint beneath it.
    setOpaque (true);

    addAndMakeVisible (mixerSection);
    addAndMakeVisible (controlSection);

    setLabelText (ptclLabel, "Control Protocol");
    setLabelText (modeLabel, "Control Mode");
    setLabelText (rotationLabel, "Rotation Pattern");
    updateLabelTexts (currentMode());

    for (auto [label, box] : labelledBoxes())
    {
        addAndMakeVisible (*label);
        label->setColour (juce::Label::textColourId, juce::Colours::black);
        label->setJustificationType (juce::Justification::centred);
        addAndMakeVisible (*box);
    }

    for (auto* box : { &funcBox, &chanBox, &msgTypeBox, &rotationBox })
        box->setWantsKeyboardFocus (false);

    for (auto [label, box] : labelledBoxes())
        box->addListener (this);

    rotationLabel.setVisible (false);
    rotationBox.setVisible (false);

    const std::pair<CommandButton*, const char*> commandButtons[] = {
        { &saveFileButton, "Save File" }, { &loadFileButton, "Load File" }, { &sendDataButton, "Send Data" },
        { &firmwareUpgradeButton, "Firmware Upgrade" }, { &connectDeviceButton, "Connect" }
    };

    for (auto [commandButton, text] : commandButtons)
    {
        addAndMakeVisible (*commandButton);
        commandButton->setButtonText (text);
    }

    for (auto* child : getChildren())
        if (auto* commandButton = dynamic_cast<CommandButton*> (child))
            commandButton->addListener (this);

    forEachSectionChild ([this] (juce::Component& child)
    {
        if (auto* b = dynamic_cast<juce::Button*> (&child))
            b->addListener (this);
    });

    device()->setPtcl (device()->getCurrPtcl());
    stabilize_controls();

    setSize (controllerWidth, panelHeight);
}

ContentComponent::~ContentComponent() = default;

std::array<std::pair<juce::Label*, juce::ComboBox*>, 6> ContentComponent::labelledBoxes()
{
    return { { { &ptclLabel, &ptclBox }, { &modeLabel, &modeBox }, { &funcLabel, &funcBox },
               { &chanLabel, &chanBox }, { &msgTypeLabel, &msgTypeBox }, { &rotationLabel, &rotationBox } } };
}

//==============================================================================
std::array<ContentComponent::EmbeddedPicture, 3> ContentComponent::picturesOfTheLayout()
{
    return { { { BinaryData::ZuvoLogo_png, BinaryData::ZuvoLogo_pngSize },
               { BinaryData::vtm_p_png, BinaryData::vtm_p_pngSize },
               { BinaryData::vtx_p_png, BinaryData::vtx_p_pngSize } } };
}

const juce::Image& ContentComponent::controllerBackground()
{
    static const auto background = decodeEmbeddedPng (BinaryData::bg_png, (size_t) BinaryData::bg_pngSize);
    return background;
}

const juce::Image& ContentComponent::extenderBackground()
{
    static const auto background = decodeEmbeddedPng (BinaryData::bgex_png, (size_t) BinaryData::bgex_pngSize);
    return background;
}

juce::Rectangle<int> ContentComponent::prodLogoArea() const
{
    const auto& picture = displayingExpander ? vtxPicture : vtmPicture;
    return { 416 - picture.getWidth() / 2, 24, picture.getWidth(), picture.getHeight() };
}

juce::Rectangle<int> ContentComponent::logoArea() const
{
    return { 34, 24, logoImage.getWidth() / 2, logoImage.getHeight() / 2 };
}

void ContentComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xffeeeeee));

    const auto frame = juce::Rectangle<float> (12.0f, 12.0f, (float) getWidth() - 24.0f, 455.0f);
    g.setColour (juce::Colour (0xffc8c8c8));
    g.fillRoundedRectangle (frame, 15.0f);
    g.setColour (juce::Colour (0xffbbbbbb));
    g.drawRoundedRectangle (frame, 15.0f, 2.0f);

    paintLogos (g);

    if (m2x_in_paint)
        paintHint (g, "Vantor M+ <=> Vantor X+", 185.0f);
    else if (aboutHover)
        paintHint (g, "About..", 51.8f);
}

void ContentComponent::paintHint (juce::Graphics& g, const juce::String& text, float bubbleWidth) const
{
    const auto bx = hoverPos.x, by = hoverPos.y - 10.0f;

    g.setColour (juce::Colour (0xdfffffff));
    g.fillRoundedRectangle (bx, by, bubbleWidth, 20.0f, 5.0f);
    g.setColour (juce::Colours::black);
    g.drawText (text, (int) bx, (int) by, (int) bubbleWidth, 20, juce::Justification::centred, true);
}

void ContentComponent::paintLogos (juce::Graphics& g)
{
    // Each background is taken when it is first drawn (see controllerBackground()).
    if (bgImage.isNull())
        bgImage = controllerBackground();

    if (displayingExpander && bgexImage.isNull())
        bgexImage = extenderBackground();

    // Both backgrounds are drawn at the controller background's size; the panel clips them.
    const auto& background = displayingExpander ? bgexImage : bgImage;
    g.drawImage (background, 0, 0, bgImage.getWidth(), bgImage.getHeight(),
                 0, 0, bgImage.getWidth(), bgImage.getHeight());

    const auto logo = logoArea();
    g.drawImage (logoImage, logo.getX(), logo.getY(), logo.getWidth(), logo.getHeight(),
                 0, 0, logoImage.getWidth(), logoImage.getHeight());

    const auto& picture = displayingExpander ? vtxPicture : vtmPicture;
    const auto area = prodLogoArea();
    g.drawImage (picture, area.getX(), area.getY(), area.getWidth(), area.getHeight(),
                 0, 0, picture.getWidth(), picture.getHeight());
}

//==============================================================================
void ContentComponent::resized()
{
    updLayoutOfComboBoxes();
    updLayoutOfCommandBtns();

    mixerSection.setBounds (0, prodLogoArea().getBottom(), extenderWidth, 500);

    if (! displayingExpander)
        controlSection.setBounds (mixerSection.getRight(), 22, 450, getHeight());
}

void ContentComponent::updLayoutOfComboBoxes()
{
    const auto firstRow = getHeight() - 95;
    const auto secondRow = firstRow + 22 + 14;

    ptclBox.setBounds (50, firstRow, 110, 22);
    modeBox.setBounds (58 + ptclBox.getWidth(), firstRow, 140, 22);

    msgTypeBox.setBounds (ptclBox.getX(), secondRow, 110, 22);
    chanBox.setBounds (msgTypeBox.getRight() + 8, secondRow, 140, 22);
    funcBox.setBounds (chanBox.getRight() + 8, secondRow, 200, 22);
    rotationBox.setBounds (funcBox.getRight() + 8, secondRow, 140, 22);

    for (auto [label, box] : labelledBoxes())
        label->setBounds (box->getX(), box->getY() - 18, box->getWidth(), 22);
}

void ContentComponent::updLayoutOfCommandBtns()
{
    const auto y = getHeight() - 30;

    firmwareUpgradeButton.setBounds (47, y, 94, 23);

    const auto rowStart = firmwareUpgradeButton.getWidth();
    connectDeviceButton.setBounds (rowStart + 231, y, 94, 23);
    sendDataButton.setBounds (rowStart + 337, y, 94, 23);
    loadFileButton.setBounds (rowStart + 443, y, 94, 23);
    saveFileButton.setBounds (rowStart + 549, y, 94, 23);
}

//==============================================================================
void ContentComponent::mouseMove (const juce::MouseEvent& e)
{
    const auto p = e.getMouseDownPosition();

    hoverPos = e.position;
    m2x_in_paint = prodLogoArea().contains (p);
    aboutHover = logoArea().contains (p);
    repaint();
}

void ContentComponent::mouseExit (const juce::MouseEvent&)
{
    aboutHover = false;
    m2x_in_paint = false;
    repaint();
}

void ContentComponent::mouseDown (const juce::MouseEvent& e)
{
    const auto p = e.getMouseDownPosition();

    if (prodLogoArea().contains (p))
    {
        willDispXS (! displayingExpander);
        repaint();
    }
    else if (logoArea().contains (p))
    {
        aboutHover = false;
        repaint();
        showAboutDlg();
    }
}

bool ContentComponent::keyPressed (const juce::KeyPress& key)
{
    // Some platforms report a letter key by its lower-case letter.
    auto code = key.getKeyCode();

    if (code >= 'a' && code <= 'z')
        code += 'A' - 'a';

    if (code == 'M' || code == 'X')
    {
        willDispXS (code == 'X');
        repaint();
    }
    else if (code == 'R')
    {
        device()->getCurrentMap().reset();
        stabilize_controls();
    }
    else if (code == juce::KeyPress::F1Key)
    {
        showAboutDlg();
    }

    return false;
}

void ContentComponent::willDispXS (bool showExpander)
{
    displayingExpander = showExpander;
    controlSection.setVisible (! showExpander);
    device()->setPID (showExpander ? extenderPid : controllerPid);
    setSize (showExpander ? extenderWidth : controllerWidth, getHeight());
}

void ContentComponent::showAboutDlg() const
{
    juce::DialogWindow::LaunchOptions options;
    setUpFixedDialog (options, "About Vantor M+/X+ Rilo", nullptr, false);
    options.content.setOwned (new AboutComponent());
    options.launchAsync();
}

//==============================================================================
void ContentComponent::buttonClicked (juce::Button* b)
{
    if (b == &connectDeviceButton)         showOutputPicker();
    else if (b == &sendDataButton)         sendMapping();
    else if (b == &saveFileButton)         saveMappingFile();
    else if (b == &loadFileButton)         loadMappingFile();
    else if (b == &firmwareUpgradeButton)  zuvo::FirmwareUpgrade::runWizardDialogModal (displayingExpander ? extenderPid : controllerPid,
                                                                                          this, true, true);
    else if (auto* control = dynamic_cast<MappableButton*> (b))
        selectControl (*control);
}

void ContentComponent::showOutputPicker()
{
    DeviceSelectComponent picker;

    juce::DialogWindow::LaunchOptions options;
    setUpFixedDialog (options, "Select your device", this, true);
    options.content.setNonOwned (&picker);

    if (zuvo::ContentSizedDialog::runModal (options) > 0)
        device()->setCurrentOutputDevice (picker.chosenDevice);
}

void ContentComponent::sendMapping()
{
    const auto result = device()->sendCurrentMapping();
    showResultBox ("Send Mapping", result.failed() ? result.getErrorMessage() : juce::String ("Done!"));
}

void ContentComponent::saveMappingFile()
{
    const auto file = withMappingFileExtension (chooseMappingFile (true));

    if (file == juce::File())
        return;

    if (const auto result = device()->saveCurrentMapping (file); result.failed())
        showResultBox ("Save Mapping", result.getErrorMessage());
}

void ContentComponent::loadMappingFile()
{
    const auto file = chooseMappingFile (false);

    if (file == juce::File())
        return;

    // A refused file leaves the editor as it was, selection included.
    if (const auto result = device()->openFile (file); result.failed())
    {
        showResultBox ("Load Mapping", result.getErrorMessage());
        return;
    }

    // "User Define" stands for both user-defined modes.
    const auto mode = (int) device()->getCurrentMap().getCtMode();
    modeBox.setSelectedItemIndex (juce::jlimit (0, 3, mode), juce::dontSendNotification);

    stabilize_controls();
}

void ContentComponent::selectControl (MappableButton& clicked)
{
    clearToggleStates();

    const auto cid = clicked.cid;
    auto* selected = &clicked;

    if (cid == 75 || cid == 76)
    {
        // A second click on the same zoom button returns to the normal state.
        const auto zoom = cid - 74;
        isZoomNorLR = zoom == isZoomNorLR ? 0 : zoom;
        ToggOnZoomNorLR();
        ToggOnJogLorR();
        selected = &currentJogHalf();
    }
    else if (isJogHalf (cid) || (cid >= 86 && cid <= 89))
    {
        isJogLorR = (cid == 73 || cid == 86 || cid == 88) ? 0 : 1;
        ToggOnJogLorR();
        ToggOnZoomNorLR();
        selected = &currentJogHalf();
    }
    else
    {
        clicked.setToggleState (true, juce::dontSendNotification);
        clicked.grabKeyboardFocus();
    }

    updAttrBoxesWith (*selected);
}

//==============================================================================
void ContentComponent::forEachSectionChild (const std::function<void (juce::Component&)>& visit)
{
    const auto numChildren = juce::jmax (mixerSection.getNumChildComponents(),
                                         controlSection.getNumChildComponents());

    for (int i = 0; i < numChildren; ++i)
        for (auto* section : { static_cast<juce::Component*> (&mixerSection), static_cast<juce::Component*> (&controlSection) })
            if (auto* child = section->getChildComponent (i))
                visit (*child);
}

void ContentComponent::forEachMappableButton (const std::function<void (MappableButton&)>& visit)
{
    forEachSectionChild ([&visit] (juce::Component& child)
    {
        if (auto* b = dynamic_cast<MappableButton*> (&child))
            visit (*b);
    });
}

MappableButton* ContentComponent::findSelectedControl()
{
    MappableButton* selected = nullptr;

    forEachMappableButton ([&selected] (MappableButton& b)
    {
        if (selected == nullptr && b.getToggleState())
            selected = &b;
    });

    return selected;
}

void ContentComponent::clearToggleStates()
{
    forEachMappableButton ([] (MappableButton& b) { b.setToggleState (false, juce::dontSendNotification); });
}

MappableButton& ContentComponent::currentJogHalf()
{
    return *(isJogLorR == 1 ? controlSection.jogButtonR : controlSection.jogButtonL);
}

MappableButton& ContentComponent::otherJogHalf (const MappableButton& half)
{
    return *(&half == controlSection.jogButtonL ? controlSection.jogButtonR : controlSection.jogButtonL);
}

bool ContentComponent::jogRuleAppliesTo (const MappableButton& control) const
{
    return isJogHalf (control.cid) && isZoomNorLR == 0;
}

//==============================================================================
void ContentComponent::updateLabelTexts (int mode)
{
    setLabelText (msgTypeLabel, isHui (mode) ? "Value1" : "Msg Type");
    setLabelText (chanLabel, isHui (mode) ? "Value2" : "Channel");
    setLabelText (funcLabel, mode == mackie || mode == usrdefMcp ? "Message" : "Function");
}

void ContentComponent::stabilize_controls()
{
    const auto mode = currentMode();

    ptclBox.setEnabled (isUserDefined (mode));
    updateLabelTexts (mode);
    ptclBox.setSelectedId (device()->getCurrPtcl() + 1, juce::dontSendNotification);

    mixerSection.setButtonTypes();
    controlSection.setButtonTypes();

    if (auto* selected = findSelectedControl())
        updAttrBoxesWith (*selected);
}

void ContentComponent::ToggOnZoomNorLR()
{
    if (isZoomNorLR == 1)
        controlSection.zoomButton1->setToggleState (true, juce::dontSendNotification);
    else if (isZoomNorLR == 2)
        controlSection.zoomButton2->setToggleState (true, juce::dontSendNotification);
}

void ContentComponent::ToggOnJogLorR()
{
    const CtMode mode (currentMode());
    controlSection.bindJogHalves();

    for (auto* half : { controlSection.jogButtonL, controlSection.jogButtonR })
        half->setValue (jogValueFor (mode, half->cid));

    auto& current = currentJogHalf();
    current.setToggleState (true, juce::dontSendNotification);
    current.grabKeyboardFocus();
    otherJogHalf (current).updateText();
}

//==============================================================================
void ContentComponent::updAttrBoxesWith (MappableButton& control)
{
    updWith (chanBox, control);
    updWith (msgTypeBox, control);
    updWith (funcBox, control);
    updWith (rotationBox, control);
}

void ContentComponent::updWith (MapComboBox& box, MappableButton& control)
{
    box.clear (juce::dontSendNotification);
    box.values.clear();

    const auto mode = currentMode();

    if (&box == &msgTypeBox)        fillMsgTypeBox (mode, control);
    else if (&box == &chanBox)      fillChanBox (mode, control);
    else if (&box == &funcBox)      fillFuncBox (mode, control);
    else if (&box == &rotationBox)  fillRotationBox (mode, control);

    control.updateText();
}

void ContentComponent::fillMsgTypeBox (int mode, MappableButton& control)
{
    const auto cid = control.cid;
    const auto kind = listKindOf (mode, cid);

    msgTypeBox.setEnabled (isUserDefined (mode));

    if (! isHui (mode))
    {
        // Only the touch sensors can be set to send nothing; any control that
        // sends nothing (from a loaded file) shows it too.
        const auto type = Defa::getMsgType (mode, cid);
        const auto sendsNothing = type == Defa::typOfSele[3];
        const auto isTouchSensor = (cid >= 41 && cid <= 48) || cid == 53;
        const auto numItems = isTouchSensor || sendsNothing ? 4 : 3;

        for (int i = 0; i < numItems; ++i)
            addNextItem (msgTypeBox, juce::String (i + 1) + ") " + msgTypes[i]);

        selectIndex (msgTypeBox, sendsNothing ? 3 : Defa::selForMsgType (type));
        return;
    }

    const auto value1 = control.getValue1AsInt();
    auto selection = 0;

    if (kind == button)
    {
        addCountingItems (msgTypeBox, numHuiButtonZones);
        selection = indexOr (numHuiButtonZones - 1, value1, numHuiButtonZones);
    }
    else if (kind == knob)
    {
        addByteItems (msgTypeBox, HuiKnV1);
    }
    else if (kind == jogWheel)
    {
        const juce::uint8 jogZone[] = { huiJogZone };
        addByteItems (msgTypeBox, jogZone);
    }
    else
    {
        addByteItems (msgTypeBox, HuiFdknV1);
        selection = value1 / 64;
    }

    if (mode == usrdefHui)
        selectIndex (msgTypeBox, selection);
}

void ContentComponent::fillChanBox (int mode, MappableButton& control)
{
    const auto cid = control.cid;
    const auto kind = listKindOf (mode, cid);

    chanBox.setEnabled (isUserDefined (mode));

    if (! isHui (mode))
    {
        for (int channel = 1; channel <= 16; ++channel)
            addNextItem (chanBox, juce::String (channel));

        selectIndex (chanBox, Defa::getChan (mode, cid) - 1);
        return;
    }

    const auto value2 = control.getValue2AsInt();
    auto selection = 0;

    if (kind == button)
    {
        addByteItems (chanBox, HuiBnV2, "%d) 0x%02X");
        selection = positionIn (HuiBnV2, value2);
    }
    else if (kind == knob)
    {
        addCountingItems (chanBox, numHuiKnobValue2);
        selection = indexOr (0, value2, numHuiKnobValue2);
    }
    else if (kind == jogWheel)
    {
        addByteItems (chanBox, HuiJogV2);
        selection = juce::jmax (0, positionIn (HuiJogV2, value2));
    }
    else
    {
        addCountingItems (chanBox, numHuiFaderValue2);
        selection = indexOr (0, value2, numHuiFaderValue2);
    }

    if (mode == usrdefHui)
        selectIndex (chanBox, selection);
}

void ContentComponent::fillFuncBox (int mode, MappableButton& control)
{
    const auto cid = control.cid;
    const auto kind = listKindOf (mode, cid);
    const auto type = Defa::getMsgType (mode, cid);
    const auto numItems = Defa::nSelsInFunc2 (mode, kind);

    funcBox.setEnabled (isUserDefined (mode));

    for (int i = 0; i < numItems; ++i)
    {
        funcBox.values.add (Defa::getValue2 (mode, kind, i));

        const auto name = Defa::getName3 (mode, kind, i, type);

        if (mode == proTools)
            addNextItem (funcBox, name);
        else if (mode == usrdefHui)
            addNextItem (funcBox, juce::String (i) + ") " + name);
        else
            addNextItem (funcBox, juce::String::formatted ("%-2d", i) + ") " + name);
    }

    if (mode == usrdefHui)
    {
        selectIndex (funcBox, Defa::pairIndexFor (kind, control.getValue1AsInt(), control.getValue2AsInt()));
    }
    else if (mode == proTools)
    {
        selectIndex (funcBox, Defa::selForval2 (proTools, kind, control.getValueAsInt()));
    }
    else
    {
        // These controls show the slot table's data 1, which is also the list position.
        const auto readsSlot = (cid >= 41 && cid <= 53) || isJogHalf (cid) || (cid >= 77 && cid <= 89);
        selectIndex (funcBox, readsSlot ? Defa::getMsVal (cid)
                                        : Defa::selForval2 (mode, kind, control.getValueAsInt()));
    }
}

void ContentComponent::fillRotationBox (int mode, MappableButton& control)
{
    const auto cid = control.cid;

    for (int i = 0; i < 2; ++i)
        addNextItem (rotationBox, juce::String (i + 1) + ") " + velos[i]);

    const auto offered = mode == usrdefMcp && Defa::getMsgType (mode, cid) == controlChange
                          && hasRotationPattern (cid);

    rotationBox.setEnabled (offered);
    rotationBox.setVisible (offered);
    rotationLabel.setVisible (offered);

    selectIndex (rotationBox, Defa::getVelo (mode, cid) == 64 ? 0 : 1);
}

//==============================================================================
void ContentComponent::comboBoxChanged (juce::ComboBox* box)
{
    if (box == &ptclBox)
    {
        const auto protocol = ptclBox.getSelectedPtcl();

        if (protocol == 0 || protocol == 1)
        {
            device()->setCtMode (CtMode (usrdefMcp + protocol));
            device()->setPtcl (protocol);
            stabilize_controls();
        }

        return;
    }

    if (box == &modeBox)
    {
        device()->setCtMode (modeBox.getSelectedMode());
        stabilize_controls();
        return;
    }

    auto* control = findSelectedControl();
    const auto selectedId = box->getSelectedId();

    if (control == nullptr || selectedId < 1)
        return;

    if (box == &msgTypeBox)        msgTypeChanged (*control, selectedId);
    else if (box == &chanBox)      chanChanged (*control, selectedId);
    else if (box == &funcBox)      funcChanged (*control);
    else if (box == &rotationBox)  rotationChanged (*control, selectedId);
}

void ContentComponent::msgTypeChanged (MappableButton& control, int selectedId)
{
    const auto kind = (int) Defa::kindForCid (control.cid);

    if (currentMode() == usrdefHui)
    {
        int value1 = selectedId - 1;

        if (kind == jogWheel)   value1 = huiJogZone;
        else if (kind == knob)  value1 = HuiKnV1[0];
        else if (kind != button)
            value1 = HuiFdknV1[juce::jlimit (0, (int) std::size (HuiFdknV1) - 1, selectedId - 1)];

        control.setV1orV2 (CtMode (usrdefHui), CtKind (kind), value1, 1);
        control.setValue (Defa::pairIndexFor (kind, value1, control.getValue2AsInt()));
    }
    else if (selectedId <= (int) std::size (Defa::typOfSele))
    {
        const auto type = Defa::typOfSele[selectedId - 1];
        control.setMsgType (type);

        if (jogRuleAppliesTo (control))
            otherJogHalf (control).setMsgType (type);
    }

    updWith (funcBox, control);
    updWith (rotationBox, control);
}

void ContentComponent::chanChanged (MappableButton& control, int selectedId)
{
    const auto kind = (int) Defa::kindForCid (control.cid);
    const auto position = selectedId - 1;

    if (currentMode() == usrdefHui)
    {
        int value2 = position % numHuiFaderValue2;

        if (kind == jogWheel)     value2 = HuiJogV2[juce::jlimit (0, (int) std::size (HuiJogV2) - 1, position)];
        else if (kind == knob)    value2 = position;
        else if (kind == button)  value2 = HuiBnV2[juce::jlimit (0, (int) std::size (HuiBnV2) - 1, position)];

        control.setV1orV2 (CtMode (usrdefHui), CtKind (kind), value2, 2);
        control.setValue (Defa::pairIndexFor (kind, control.getValue1AsInt(), value2));
        updWith (funcBox, control);
        return;
    }

    control.setChan (selectedId);

    if (jogRuleAppliesTo (control))
    {
        auto& other = otherJogHalf (control);
        other.setChan (selectedId);
        updWith (funcBox, other);
    }
    else
    {
        updWith (funcBox, control);
    }
}

void ContentComponent::funcChanged (MappableButton& control)
{
    const auto mode = currentMode();
    const auto cid = control.cid;
    const auto kind = (int) Defa::kindForCid (cid);
    const auto value = funcBox.getMappedValue();

    control.setValue (value);

    if (mode == usrdefHui)
    {
        if (const auto* pair = huiPairEntry (kind, value))
        {
            control.setV1orV2 (CtMode (usrdefHui), CtKind (kind), pair[0], 1);
            control.setV1orV2 (CtMode (usrdefHui), CtKind (kind), pair[1], 2);
            control.setValue (Defa::pairIndexFor (kind, pair[0], pair[1]));
        }

        updWith (msgTypeBox, control);
        updWith (chanBox, control);
        return;
    }

    const auto jogRule = jogRuleAppliesTo (control);

    if (jogRule)
        otherJogHalf (control).setValue (value);

    // A knob (or the jog) that sends a controller takes back the rotation
    // pattern last used with a controller of the same group.
    auto velocity = 127;

    if (mode == usrdefMcp && Defa::getMsgType (mode, cid) == controlChange && hasRotationPattern (cid))
        velocity = knobVelos[isKnob (cid) ? cid - 65 : 8][isInKnobVeloGroup (value) ? 0 : 1];

    control.setVelo (velocity);

    if (jogRule)
        otherJogHalf (control).setVelo (velocity);

    updWith (rotationBox, jogRule ? otherJogHalf (control) : control);
}

void ContentComponent::rotationChanged (MappableButton& control, int selectedId)
{
    if (currentMode() != usrdefMcp)
        return;

    const auto velocity = selectedId == 1 ? 64 : 127;
    control.setVelo (velocity);

    if (jogRuleAppliesTo (control))
        otherJogHalf (control).setVelo (velocity);
}
