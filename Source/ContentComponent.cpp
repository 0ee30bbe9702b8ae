#include "ContentComponent.h"

bool m2x_in_paint = false;

ContentComponent::ContentComponent()
{
    setSize (1000, 576);
}

ContentComponent::~ContentComponent() = default;

void ContentComponent::mouseMove (const juce::MouseEvent&) {}
void ContentComponent::mouseExit (const juce::MouseEvent&) {}
void ContentComponent::mouseDown (const juce::MouseEvent&) {}
void ContentComponent::paint (juce::Graphics&) {}
bool ContentComponent::keyPressed (const juce::KeyPress&) { return false; }
void ContentComponent::resized() {}
void ContentComponent::buttonClicked (juce::Button*) {}
void ContentComponent::comboBoxChanged (juce::ComboBox*) {}
void ContentComponent::willDispXS (bool) {}
void ContentComponent::showAboutDlg() const {}
juce::Rectangle<int> ContentComponent::prodLogoArea() const { return {}; }
void ContentComponent::paintLogos (juce::Graphics&) {}
void ContentComponent::updLayoutOfComboBoxes() {}
void ContentComponent::updLayoutOfCommandBtns() {}
MappableButton* ContentComponent::findSelectedControl() { return nullptr; }
void ContentComponent::clearToggleStates() {}
void ContentComponent::updAttrBoxesWith (MappableButton&) {}
void ContentComponent::updWith (MapComboBox&, MappableButton&) {}
void ContentComponent::stabilize_controls() {}
void ContentComponent::ToggOnZoomNorLR() {}
void ContentComponent::ToggOnJogLorR() {}
