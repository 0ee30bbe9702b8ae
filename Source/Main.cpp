#include <juce_gui_basics/juce_gui_basics.h>

#include "AboutComponent.h"
#include "ContentComponent.h"
#include "Defa.h"
#include "InstanceChannel.h"
#include "VtrPlus.h"

//==============================================================================
/**
    The application: one running instance, the device object, and the main
    window that shows the editor. The device object is made before the window
    and deleted after it, so that it writes the settings file once every
    editor part is gone.
*/
class MainApp  : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override       { return "Vantor M+/X+ Rilo"; }
    const juce::String getApplicationVersion() override    { return "V" + juce::String (AboutComponent::versionNumber); }

    // One instance runs at a time all the same: instanceChannel keeps to that
    // in initialise(). The framework's own check would refuse a second start
    // on Linux without telling the running instance.
    bool moreThanOneInstanceAllowed() override             { return true; }

    void initialise (const juce::String& commandLine) override
    {
        if (instanceChannel.sendCommandLineToPreexistingInstance (commandLine,
                                                                  [this] (const juce::String& otherCommandLine)
                                                                  {
                                                                      anotherInstanceStarted (otherCommandLine);
                                                                  }))
        {
            quit();
            return;
        }

        Defa::fillPitchNames();
        VtrPlus::singletonHolder.get();
        mainWindow = std::make_unique<MainWindow> (getApplicationName() + " " + getApplicationVersion());
    }

    void shutdown() override
    {
        mainWindow = nullptr;
        VtrPlus::singletonHolder.deleteInstance();
    }

    void anotherInstanceStarted (const juce::String&) override
    {
        if (mainWindow != nullptr)
            mainWindow->toFront (true);
    }

    void systemRequestedQuit() override
    {
        quit();
    }

    //==============================================================================
    /** The main window: a fixed-size native window around the editor's content. */
    class MainWindow  : public juce::DocumentWindow
    {
    public:
        explicit MainWindow (const juce::String& name)
            : DocumentWindow (name, juce::Colour (0xffeeeeee),
                              DocumentWindow::minimiseButton | DocumentWindow::closeButton, true)
        {
            setUsingNativeTitleBar (true);
            setContentOwned (new ContentComponent(), true);
            centreWithSize (getWidth(), getHeight());
            setVisible (true);
            setResizable (false, false);
        }

        ~MainWindow() override
        {
           #if JUCE_MAC
            juce::MenuBarModel::setMacMainMenu (nullptr);
           #endif
        }

        bool keyPressed (const juce::KeyPress& key) override
        {
            if (key.getKeyCode() == juce::KeyPress::escapeKey)
            {
                juce::JUCEApplicationBase::quit();
                return true;
            }

            return DocumentWindow::keyPressed (key);
        }

        void closeButtonPressed() override
        {
            juce::JUCEApplication::getInstance()->systemRequestedQuit();
        }

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
    };

private:
    InstanceChannel instanceChannel;
    std::unique_ptr<MainWindow> mainWindow;
};

START_JUCE_APPLICATION (MainApp)
