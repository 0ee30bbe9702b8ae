#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    The editor's look: the framework's own, with three changes.

    - Texts of buttons and labels stay on one line and whole: a text that does
      not fit its rectangle is squeezed horizontally, and where that is not
      enough, drawn with a smaller font. A text that fits keeps its font.
    - Drop-down lists open inside the window of their combo box rather than as
      windows of their own. On X11 the framework hands the keyboard focus to a
      list's window when it is clicked; while the focus finds its way back
      after the list has closed, a list opened by the next click closes again
      at once, as if the program had gone to the background.
    - Every text is drawn with DejaVu Sans (Bold for bold fonts), embedded in
      the program, so the look does not depend on the fonts installed.

    What it draws is the framework's look to the pixel; it only leaves out
    drawing that leaves no mark: wholly transparent backgrounds and frames, such
    as those of the control buttons laid over the picture of the unit, and
    empty texts.

    Installed as the default look by the application.
*/
class EditorLookAndFeel : public juce::LookAndFeel_V4
{
public:
    /** DejaVu Sans and DejaVu Sans Bold, read from the program's own data. */
    struct Typefaces
    {
        juce::Typeface::Ptr regular, bold;
    };

    /** Reads the embedded typefaces. Safe on any thread, so that the application
        can read them while it connects to the window system. */
    static Typefaces loadTypefaces();

    EditorLookAndFeel();
    explicit EditorLookAndFeel (Typefaces);

    /** Draws text on one line into area, in font when it fits, else squeezed
        horizontally down to minimumHorizontalScale, else smaller as well. */
    static void drawTextOnOneLine (juce::Graphics&, const juce::String& text, juce::Rectangle<int> area,
                                   juce::Font font, juce::Justification);

    //==============================================================================
    /** @internal */
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour&, bool, bool) override;
    /** @internal */
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool, bool) override;
    /** @internal */
    void drawLabel (juce::Graphics&, juce::Label&) override;
    /** @internal */
    juce::PopupMenu::Options getOptionsForComboBoxPopupMenu (juce::ComboBox&, juce::Label&) override;
    /** @internal */
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;

    /** The narrowest a text is squeezed before its font gets smaller. */
    static constexpr float minimumHorizontalScale = 0.7f;

private:
    Typefaces typefaces;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EditorLookAndFeel)
};
