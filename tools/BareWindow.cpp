/*
    The framework's floor for the start-up benchmark: a program built on the
    framework's GUI modules alone (no part of the editor, no download library),
    whose native window of the editor's size holds one painted component and is
    made the way the editor makes its window. Escape ends it.
*/

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
class PaintedPanel : public juce::Component
{
public:
    PaintedPanel()  { setSize (1000, 576); }

    void paint (juce::Graphics& g) override
    {
        g.fillAll (juce::Colour (0xffeeeeee));
        g.setColour (juce::Colour (0xffc8c8c8));
        g.fillRoundedRectangle (12.0f, 12.0f, (float) getWidth() - 24.0f, 455.0f, 15.0f);
    }
};

class BareWindow : public juce::DocumentWindow
{
public:
    BareWindow()
        : DocumentWindow ("Bare window", juce::Colour (0xffeeeeee),
                          DocumentWindow::minimiseButton | DocumentWindow::closeButton, false)
    {
        // As the editor does: one native window, made once the window has its
        // title bar, content, fixed size and place.
        setUsingNativeTitleBar (true);
        setContentOwned (new PaintedPanel(), true);
        setResizable (false, false);
        centreWithSize (getWidth(), getHeight());
        addToDesktop();
        setVisible (true);
    }

    bool keyPressed (const juce::KeyPress& key) override
    {
        if (key.getKeyCode() == juce::KeyPress::escapeKey)
            juce::JUCEApplicationBase::quit();

        return true;
    }

    void closeButtonPressed() override    { juce::JUCEApplicationBase::quit(); }
};

class BareWindowApp : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override       { return "Bare window"; }
    const juce::String getApplicationVersion() override    { return "1"; }

    void initialise (const juce::String&) override         { window = std::make_unique<BareWindow>(); }
    void shutdown() override                                { window = nullptr; }

private:
    std::unique_ptr<BareWindow> window;
};
} // namespace

START_JUCE_APPLICATION (BareWindowApp)
