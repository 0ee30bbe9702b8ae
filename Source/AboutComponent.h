#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    The content of the About box: the application's name, its version and
    build, the copyright line and a link to the maker's web site, on a dark
    panel of 500 x 278.

    The dialog that shows it owns it.
*/
class AboutComponent  : public juce::Component
{
public:
    AboutComponent();
    ~AboutComponent() override;

    /** The version number that the application reports, after a "V". */
    static constexpr const char* versionNumber = "2.19";

    /** The address that the "About Us" link opens, also its tooltip. */
    static constexpr const char* webSite = "https://www.example.com/zuvo-audio/";

    //==============================================================================
    /** @internal */
    void paint (juce::Graphics&) override;
    /** @internal */
    void resized() override;

private:
    std::unique_ptr<juce::Label> titleLabel;
    std::unique_ptr<juce::Label> copyrightLabel;
    std::unique_ptr<juce::HyperlinkButton> aboutUsLink;
    std::unique_ptr<juce::Label> versionLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutComponent)
};
