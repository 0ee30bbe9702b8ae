/*
    The framework's floor for the start-up benchmark: a native window of the
    editor's size with one painted component, made the way the editor makes
    its window, and nothing else. Escape ends it.
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
                          DocumentWindow::minimiseButton | DocumentWindow::closeButton, true)
    {
        setUsingNativeTitleBar (true);
        setContentOwned (new PaintedPanel(), true);
        centreWithSize (getWidth(), getHeight());
        setVisible (true);
        setResizable (false, false);
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
