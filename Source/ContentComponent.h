#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>

#include "Buttons.h"
#include "ControlSection.h"
#include "MixerSection.h"

/** The pointer is over the product picture (the paint routine draws the view-switch hint then). */
extern bool m2x_in_paint;

//==============================================================================
/**
    The whole content of the main window: the picture of the controller or the
    extender with its mappable controls, the six boxes that show and edit the
    selected control, and the row of command buttons.

    It owns the editor's view state (which unit is shown, the jog wheel's zoom
    state and current half), receives the clicks of every control button of both
    sections and of its own command buttons, and keeps the attribute boxes, the
    selection and the jog halves in step with the current map of the device
    object.

    The selection is the toggle state of the mappable buttons: the selected
    control is the first toggled-on button, walking the children of the mixer
    section and the control section alternately by index.

    Message thread only.
*/
class ContentComponent  : public juce::Component,
                          public juce::Button::Listener,
                          public juce::ComboBox::Listener
{
public:
    ContentComponent();
    ~ContentComponent() override;

    /** The panel's size: 1000 by 576 in the controller view, which it starts
        in, and 786 wide in the extender view. */
    static constexpr int controllerWidth = 1000, extenderWidth = 786, panelHeight = 576;

    //==============================================================================
    void mouseMove (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    /** Acts on M, X, R and F1; always returns false so that every key goes on to the parents. */
    bool keyPressed (const juce::KeyPress&) override;
    void resized() override;

    void buttonClicked (juce::Button*) override;
    void comboBoxChanged (juce::ComboBox*) override;

    //==============================================================================
    /** Shows the extender (true, 786 wide, product ID 161) or the controller (false, 1000 wide, 156). */
    void willDispXS (bool showExpander);

    /** Opens the About box without blocking; the box is modal and owns its content. */
    void showAboutDlg() const;

    /** An embedded picture: its data and its size in bytes. */
    using EmbeddedPicture = std::pair<const void*, int>;

    /** The pictures that the layout rests on (the logo and both product
        pictures). The constructor takes them from the framework's image cache,
        where the application may have decoded them ahead. */
    static std::array<EmbeddedPicture, 3> picturesOfTheLayout();

    /** The backgrounds of the two views, each decoded once, by whichever
        thread first asks for it; a thread that asks meanwhile waits for that
        decode. The panel takes each when it first draws it, and the
        application decodes the controller's ahead, while the window waits
        for its first frame. */
    static const juce::Image& controllerBackground();
    static const juce::Image& extenderBackground();

    /** Where the product picture lies: centred on x 416, at the top edge. */
    juce::Rectangle<int> prodLogoArea() const;

    void paintLogos (juce::Graphics&);
    void updLayoutOfComboBoxes();
    void updLayoutOfCommandBtns();

    //==============================================================================
    /** The selected control, or nullptr. */
    MappableButton* findSelectedControl();

    /** Switches every control button of both sections off, without notification. */
    void clearToggleStates();

    /** Refills the four attribute boxes for this control. */
    void updAttrBoxesWith (MappableButton&);

    /** Refills one attribute box for this control in the current mode. */
    void updWith (MapComboBox&, MappableButton&);

    /** Re-syncs the labels, the protocol box, both sections' bindings and the
        attribute boxes with the current mode and map.
    */
    void stabilize_controls();

    /** Switches the zoom button of the current zoom state on (none in zoom state 0). */
    void ToggOnZoomNorLR();

    /** Binds the jog halves to the ids of the current zoom state, refreshes
        their values and selects the current half.
    */
    void ToggOnJogLorR();

    //==============================================================================
    /** Asks the user for a mapping file: to save into (true) or to load (false).
        Gives an invalid File when the user cancels. Defaults to the native file
        chooser; tests put their own answer in here.
    */
    std::function<juce::File (bool forSaving)> chooseMappingFile;

private:
    //==============================================================================
    void showOutputPicker();
    void sendMapping();
    void saveMappingFile();
    void loadMappingFile();
    void selectControl (MappableButton&);

    /** Visits the children of both sections by index, the mixer section's first at each index. */
    void forEachSectionChild (const std::function<void (juce::Component&)>&);
    void forEachMappableButton (const std::function<void (MappableButton&)>&);
    MappableButton& currentJogHalf();
    MappableButton& otherJogHalf (const MappableButton& half);
    bool jogRuleAppliesTo (const MappableButton&) const;

    void updateLabelTexts (int mode);
    void fillMsgTypeBox (int mode, MappableButton&);
    void fillChanBox (int mode, MappableButton&);
    void fillFuncBox (int mode, MappableButton&);
    void fillRotationBox (int mode, MappableButton&);

    void msgTypeChanged (MappableButton&, int selectedId);
    void chanChanged (MappableButton&, int selectedId);
    void funcChanged (MappableButton&);
    void rotationChanged (MappableButton&, int selectedId);

    /** Each label with its box, in the order in which they are added. */
    std::array<std::pair<juce::Label*, juce::ComboBox*>, 6> labelledBoxes();
    juce::Rectangle<int> logoArea() const;
    void paintHint (juce::Graphics&, const juce::String& text, float bubbleWidth) const;

    //==============================================================================
    juce::TooltipWindow tooltipWindow;

    juce::Label ptclLabel, modeLabel, funcLabel, msgTypeLabel, chanLabel, rotationLabel;

    CtModeComboBox modeBox;
    CtPtclComboBox ptclBox;
    MapComboBox funcBox, chanBox, msgTypeBox, rotationBox;

    CommandButton saveFileButton, loadFileButton, sendDataButton, firmwareUpgradeButton, connectDeviceButton;

    juce::Image logoImage, vtmPicture, vtxPicture, bgImage, bgexImage;

    juce::Point<float> hoverPos;
    bool aboutHover = false;

    MixerSection mixerSection;
    ControlSection controlSection;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentComponent)
};
