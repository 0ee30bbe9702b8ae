#include <juce_gui_basics/juce_gui_basics.h>
#include <zuvo_firmware/zuvo_firmware.h>

#include "AboutComponent.h"
#include "ContentComponent.h"
#include "Defa.h"
#include "EditorLookAndFeel.h"
#include "InstanceChannel.h"
#include "QueuedInputWatch.h"
#include "VtrPlus.h"

#include <csignal>
#include <cstdlib>
#include <future>

namespace
{
/** Decodes the embedded pictures into the framework's image cache, where the
    editor's panel finds them, on a thread of its own. */
template <typename Pictures>
std::shared_future<void> startDecoding (Pictures pictures)
{
    return std::async (std::launch::async, [pictures]
    {
        for (auto [data, size] : pictures)
            juce::ImageCache::getFromMemory (data, size);
    });
}
} // namespace

//==============================================================================
/**
    The application: one running instance, the device object, and the main
    window that shows the editor. The device object is made before the
    editor's content and deleted after the window, so that it writes the
    settings file once every editor part is gone.
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

        // A request to terminate quits as a keyboard break does: the framework's
        // handler for that ends the message loop, and with it any transfer.
        std::signal (SIGTERM, [] (int) { std::raise (SIGINT); });

        // The editor draws with the typefaces it embeds and reads no font file
        // at start. Should the framework look for a system font all the same,
        // it scans DejaVu's folder rather than every font installed; a folder
        // the user gives still counts.
        setenv ("JUCE_FONT_PATH", "/usr/share/fonts/truetype/dejavu", 0);

        // The framework draws a new window's first frame a display frame after
        // the message loop has started. So the window is made here, and the
        // editor's content is built from the loop, in that frame's time.
        // Reading the embedded typefaces and the pictures that the layout rests
        // on runs on threads of its own while the framework connects to the
        // window system, which waits on the window server and on the desktop's
        // settings.
        auto typefaces = std::async (std::launch::async, EditorLookAndFeel::loadTypefaces);
        auto layoutPictures = startDecoding (ContentComponent::picturesOfTheLayout());
        juce::Desktop::getInstance(); // connects to the window system

        lookAndFeel = std::make_unique<EditorLookAndFeel> (typefaces.get());
        juce::LookAndFeel::setDefaultLookAndFeel (lookAndFeel.get());
        mainWindow = std::make_unique<MainWindow> (getApplicationName() + " " + getApplicationVersion());

        // The largest picture, which only the first paint needs, is decoded
        // meanwhile; beside the connection to the window system it would slow both.
        backgroundDecoding = std::async (std::launch::async, [] { ContentComponent::controllerBackground(); });

        juce::MessageManager::callAsync ([this, layoutPictures]
        {
            queuedInputWatch = std::make_unique<QueuedInputWatch>();
            Defa::fillPitchNames();
            VtrPlus::singletonHolder.get();
            layoutPictures.wait();
            mainWindow->show (std::make_unique<ContentComponent>());
        });
    }

    void shutdown() override
    {
        mainWindow = nullptr;
        queuedInputWatch = nullptr;
        VtrPlus::singletonHolder.deleteInstance();
        // A refused second start installed none, and must not connect to the
        // window system on its way out.
        if (lookAndFeel != nullptr)
        {
            juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
            lookAndFeel = nullptr;
        }
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
    /** The main window: a fixed-size native window around the editor's content,
        which follows the content's size (narrower in the extender view) and
        holds it against resize requests from outside. */
    class MainWindow  : public juce::DocumentWindow
    {
    public:
        /** Makes the native window, at the size of the content that it shows
            from show() on, and hidden until then. */
        explicit MainWindow (const juce::String& name)
            : DocumentWindow (name, juce::Colour (0xffeeeeee),
                              DocumentWindow::minimiseButton | DocumentWindow::closeButton, false)
        {
            // The native window is made only once the window has its title bar,
            // size and place, so that it is never shown at another size.
            setUsingNativeTitleBar (true);
            setResizable (false, false);
            const auto size = getContentComponentBorder().addedTo ({ ContentComponent::controllerWidth,
                                                                     ContentComponent::panelHeight });
            sizeHold.setHeldSize (size);
            centreWithSize (size.getWidth(), size.getHeight());

            // The framework places the new native window without the size limits.
            addToDesktop();
            sizeHold.windowPlaced();
        }

        void show (std::unique_ptr<juce::Component> content)
        {
            setContentOwned (content.release(), true);
            setVisible (true);
        }

        void childBoundsChanged (juce::Component* child) override
        {
            // The content's own size changes (the view switch) set the window's
            // size; the window laying the content out at its size does not.
            // (Before show() there is no content, and child may be null.)
            if (child != nullptr && child == getContentComponent() && ! layingOutContent)
                sizeHold.setHeldSize (getContentComponentBorder().addedTo (child->getLocalBounds()));

            DocumentWindow::childBoundsChanged (child);
        }

        void resized() override
        {
            {
                const juce::ScopedValueSetter<bool> layingOut (layingOutContent, true);
                DocumentWindow::resized();
            }

            sizeHold.windowPlaced();
        }

        void moved() override
        {
            DocumentWindow::moved();
            sizeHold.windowPlaced();
        }

        void paintOverChildren (juce::Graphics& g) override
        {
            DocumentWindow::paintOverChildren (g);
            sizeHold.windowPainted();
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
        /** Holds the size that the content asked for (1000 by 576, or 786 wide
            in the extender view), whatever size the window was given meanwhile. */
        zuvo::WindowSizeHold sizeHold { *this };
        bool layingOutContent = false;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
    };

private:
    InstanceChannel instanceChannel;
    std::unique_ptr<EditorLookAndFeel> lookAndFeel;
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<QueuedInputWatch> queuedInputWatch;
    std::future<void> backgroundDecoding;
};

START_JUCE_APPLICATION (MainApp)
