#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <chrono>
#include <map>
#include <optional>
#include <thread>

#include "common/TemporaryFolder.h"
#include "gui/XSession.h"

// The editor as a separate process on an X server of its own with a window
// manager (openbox), clicked through the input extension as a user would: the
// window manager places, frames and focuses its windows and sees every click.

namespace
{
const char* const windowTitle = "Vantor M+/X+ Rilo V2.19";
const char* const pickerTitle = "Select your device";

/** The colours of an open drop-down list: the framework's dark scheme. */
const auto menuColours = []
{
    const auto scheme = juce::LookAndFeel_V4::getDarkColourScheme();
    using UI = juce::LookAndFeel_V4::ColourScheme::UIColour;
    return std::make_pair (scheme.getUIColour (UI::menuBackground).getARGB() & 0xffffffu,
                           scheme.getUIColour (UI::highlightedFill).getARGB() & 0xffffffu);
}();

/** The boxes of the editor in the user-defined MCP mode with a fader selected, all enabled. */
const struct { const char* name; juce::Rectangle<int> bounds; } editorBoxes[] = {
    { "protocol", {  50, 481, 110, 22 } },
    { "mode",     { 168, 481, 140, 22 } },
    { "Msg Type", {  50, 517, 110, 22 } },
    { "Channel",  { 168, 517, 140, 22 } },
    { "Message",  { 316, 517, 200, 22 } },
};

/** The background of the editor's dialogs: the framework's default for dialog windows. */
constexpr unsigned long dialogBackground = 0xd3d3d3;   // juce::Colours::lightgrey

/** Where a list is looked for: its left margin, left of the tick of the selected item. */
constexpr int listColumn = 3;

const juce::Point<int> fader1 { 52, 64 + 282 };
const juce::Point<int> connectButton { 372, 557 };
const juce::Rectangle<int> pickerList { 8, 76, 284, 24 };
const juce::Point<int> pickerCancel { 240, 175 };

/** Rows of two buttons that look alike, where no text is drawn: one lights up
    while the pointer is over it. The editor's "Send Data" and "Load File", the
    picker's "Connect" and "Cancel". */
const std::pair<juce::Rectangle<int>, juce::Rectangle<int>> editorButtonRows { { 440, 549, 10, 1 }, { 546, 549, 10, 1 } },
                                                             pickerButtonRows { { 100, 163, 10, 1 }, { 200, 163, 10, 1 } };

/** Where the function box shows the name of the selected control's function. */
const juce::Rectangle<int> functionName { 346, 520, 40, 16 };

//==============================================================================
/** Follows, from the moment it is made, the frames that the window manager
    puts windows into, through the root window's events: what a user sees of
    each window on the screen. */
class FrameWatch
{
public:
    explicit FrameWatch (Display* d) : display (d)
    {
        if (display != nullptr)
            XSelectInput (display, DefaultRootWindow (display), SubstructureNotifyMask);
    }

    /** The sizes that the frame around the window had while it was shown, in turn. */
    std::vector<juce::Rectangle<int>> shownSizesOfFrameAround (Window client)
    {
        takeEvents();
        const auto frame = frameOfClient.find (client);
        return frame != frameOfClient.end() ? frames[frame->second].shownSizes : std::vector<juce::Rectangle<int>>();
    }

    /** How many windows the window manager has framed so far. */
    size_t numFramedWindows()
    {
        takeEvents();
        return frameOfClient.size();
    }

private:
    struct Frame
    {
        juce::Rectangle<int> size;
        bool shown = false;
        std::vector<juce::Rectangle<int>> shownSizes;

        void resize (int width, int height)
        {
            size = { width, height };

            if (shown)
                shownSizes.push_back (size);
        }
    };

    void takeEvents()
    {
        XSync (display, False);

        while (XPending (display) > 0)
        {
            XEvent event;
            XNextEvent (display, &event);

            switch (event.type)
            {
                case CreateNotify:
                    frames[event.xcreatewindow.window].resize (event.xcreatewindow.width, event.xcreatewindow.height);
                    break;
                case ConfigureNotify:
                    frames[event.xconfigure.window].resize (event.xconfigure.width, event.xconfigure.height);
                    break;
                case MapNotify:
                {
                    auto& frame = frames[event.xmap.window];
                    frame.shown = true;
                    frame.shownSizes.push_back (frame.size);
                    break;
                }
                case UnmapNotify:
                    frames[event.xunmap.window].shown = false;
                    break;
                case ReparentNotify:
                    frameOfClient[event.xreparent.window] = event.xreparent.parent;
                    break;
                default:
                    break;
            }
        }
    }

    Display* const display;
    std::map<Window, Frame> frames;
    std::map<Window, Window> frameOfClient;
};

//==============================================================================
/** An open drop-down list as one column of its window shows it. */
struct OpenList
{
    int top = 0, bottom = 0;                  // its first and last row
    int highlightTop = 0, highlightBottom = 0; // the rows of the highlighted item, if any

    bool hasHighlight() const                  { return highlightBottom >= highlightTop; }
    int highlightCentre() const                { return (highlightTop + highlightBottom) / 2; }
    bool highlights (int y) const              { return hasHighlight() && y >= highlightTop && y <= highlightBottom; }

    /** The middle of an item next to the highlighted one, inside the list. */
    int neighbourOfHighlight() const
    {
        // The highlight leaves a row free above and below it, within the item.
        const auto step = highlightBottom - highlightTop + 2;
        return highlightCentre() + step < bottom ? highlightCentre() + step : highlightCentre() - step;
    }
};

class Desktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (display, nullptr) << "could not start an X server";
        ASSERT_TRUE (server.startWindowManager()) << "could not start openbox";

        editor = x_session::startEditor (VTR_APP_PATH, server, settings.folder.getFullPathName().toStdString(),
                                         instances.folder.getFullPathName().toStdString(), { "VTR_SIMULATED_MIDI=1" });
        // The editor may replace its first window while it starts: the window
        // looked at is the shown one, whichever that is by now.
        ASSERT_TRUE (x_session::waitUntil ([this]
        {
            window = findPaintedWindow (windowTitle);
            return window != None && isPlaced (window) && answersThePointer (window, editorButtonRows);
        })) << "the editor shows no window that the window manager has placed and made active, and that follows the pointer"
            << (editor->isRunning() ? "" : "; it ended with " + std::to_string (editor->getExitCode()));
    }

    /** Whether the window follows the pointer: the first of the two buttons
        lights up under it, unlike the other. A window that the window manager
        has only just placed may miss a first click; one that follows the
        pointer takes the clicks that come after. Where a dialog is still
        modal, the editor's buttons do not light up. */
    bool answersThePointer (Window w, const std::pair<juce::Rectangle<int>, juce::Rectangle<int>>& buttonRows) const
    {
        movePointerTo (w, buttonRows.first.getCentre());
        const auto pixelsIn = [this, w] (juce::Rectangle<int> r)
        {
            return server.pixelsOf (w, r.getX(), r.getY(), r.getWidth(), r.getHeight());
        };

        return pixelsIn (buttonRows.first) != pixelsIn (buttonRows.second);
    }

    /** Whether the window manager has placed the window and made it active:
        the window has the input focus, and stays where it is while the window
        manager handles everything that was asked of it. No hand reaches a
        window before. */
    bool isPlaced (Window w) const
    {
        const auto placeOf = [this, w] { return std::pair { server.screenPositionOf (w), sizeOf (w) }; };
        const auto before = placeOf();
        return server.waitForWindowManager() && placeOf() == before && hasInputFocus (w);
    }

    /** Whether the window (or one inside it) has the input focus: the window
        manager has made it the active window, as the user sees it. */
    bool hasInputFocus (Window w) const
    {
        Window focus = None, rootReturn = None, parent = None, *children = nullptr;
        int revert = 0;
        unsigned int count = 0;
        XGetInputFocus (display, &focus, &revert);

        while (focus != None && focus != PointerRoot && focus != w
               && XQueryTree (display, focus, &rootReturn, &parent, &children, &count) != 0)
        {
            if (children != nullptr)
                XFree (children);

            focus = focus == rootReturn ? None : parent;
        }

        return focus == w;
    }

    /** The shown dialog of that title once the editor has painted it, else
        None. A new window shows what was on the screen beneath it until then;
        a dialog's own picture has the dialogs' background in its corners. */
    Window findPaintedDialog (const char* title) const
    {
        const auto dialog = findPaintedWindow (title);

        if (dialog == None)
            return None;

        const auto size = sizeOf (dialog);
        const auto inset = size.reduced (3);

        for (const auto corner : { inset.getTopLeft(), inset.getTopRight(), inset.getBottomLeft(), inset.getBottomRight() })
            if (server.pixelsOf (dialog, corner.x, corner.y, 1, 1) != std::vector<unsigned long> { dialogBackground })
                return None;

        return dialog;
    }

    /** The shown window of that title if it shows painted content, else None. */
    Window findPaintedWindow (const char* title) const
    {
        const auto found = server.findShownWindow (title);
        return found != None && server.showsPaintedContent (found) ? found : None;
    }

    juce::Rectangle<int> sizeOf (Window w) const
    {
        XWindowAttributes attributes {};
        XGetWindowAttributes (display, w, &attributes);
        return { attributes.width, attributes.height };
    }

    void clickAt (Window w, juce::Point<int> p) const         { server.clickAt (w, p.x, p.y); }
    void movePointerTo (Window w, juce::Point<int> p) const   { server.movePointerTo (w, p.x, p.y); }

    /** The drop-down list open over the box, read in the list's left margin; nothing if none is open. */
    std::optional<OpenList> openListOf (Window w, juce::Rectangle<int> box) const
    {
        const auto column = server.pixelsOf (w, box.getX() + listColumn, 0, 1, sizeOf (w).getHeight());
        OpenList list { (int) column.size(), -1, (int) column.size(), -1 };
        int rows = 0;

        for (int y = 0; y < (int) column.size(); ++y)
        {
            const auto pixel = column[(size_t) y];

            if (pixel != menuColours.first && pixel != menuColours.second)
                continue;

            ++rows;
            list.top = std::min (list.top, y);
            list.bottom = y;

            if (pixel == menuColours.second)
            {
                list.highlightTop = std::min (list.highlightTop, y);
                list.highlightBottom = y;
            }
        }

        return rows > 30 ? std::optional<OpenList> (list) : std::nullopt;
    }

    bool showsListOf (Window w, juce::Rectangle<int> box) const    { return openListOf (w, box).has_value(); }

    /** Moves the pointer onto the row y of the box's open list and waits until
        the list highlights the item there: the list is open and follows the pointer. */
    bool pointsAtItem (Window w, juce::Rectangle<int> box, int y) const
    {
        movePointerTo (w, { box.getX() + listColumn, y });

        return x_session::waitUntil ([&]
        {
            const auto list = openListOf (w, box);
            return ! list.has_value() || list->highlights (y);
        }) && showsListOf (w, box);
    }

    /** Clicks the box once and reports whether its list opened and stays open:
        it follows the pointer onto another of its items and back to the
        selected one. A list that the framework closes again at once has gone
        by then. The click is a press and a release, as a hand's: a long list
        opens over its box, under the pointer, and the framework takes a
        button that is held there for more than a quarter of a second and
        then released as the choice of the item under the pointer. */
    ::testing::AssertionResult opensWithOneClick (Window w, juce::Rectangle<int> box) const
    {
        clickAt (w, box.getCentre());

        if (! x_session::waitUntil ([&] { return showsListOf (w, box); }))
            return ::testing::AssertionFailure() << "the list does not open";

        listOpenedBy = std::chrono::steady_clock::now();
        const auto list = openListOf (w, box);

        if (! list.has_value() || ! list->hasHighlight())
            return ::testing::AssertionFailure() << "the list closes at once, or shows no selected item";

        if (! pointsAtItem (w, box, list->neighbourOfHighlight()) || ! pointsAtItem (w, box, list->highlightCentre()))
            return ::testing::AssertionFailure() << "the list closes, or does not follow the pointer";

        return ::testing::AssertionSuccess();
    }

    /** Chooses the item at the row y of the box's open list with one click,
        and waits until the list has gone. The framework's list looks at the
        button as it is when it handles the press, so the button stays down
        until the list has shown that it handled it: it follows the pointer,
        moved with the button down, to another item and back. */
    void chooseItemAt (Window w, juce::Rectangle<int> box, int y) const
    {
        ASSERT_TRUE (pointsAtItem (w, box, y)) << "the list closes before its item is clicked";
        const auto other = openListOf (w, box)->neighbourOfHighlight();

        // The framework's list takes a click on an item only from a quarter of
        // a second after it opened, so that the release of the click that
        // opened it chooses nothing; the list opened before it was seen.
        std::this_thread::sleep_until (listOpenedBy + std::chrono::milliseconds (260));

        server.setButtonDown (true);
        const auto pressed = pointsAtItem (w, box, other) && pointsAtItem (w, box, y);
        server.setButtonDown (false);

        ASSERT_TRUE (pressed) << "the list closes while the button is down on it";
        ASSERT_TRUE (x_session::waitUntil ([&] { return ! showsListOf (w, box); })) << "the list stays open";
    }

    /** Closes the open list of the box by choosing its selected item (the
        highlighted one when the list has opened), which leaves the choice as
        it was. */
    void chooseSelectedItem (Window w, juce::Rectangle<int> box) const
    {
        const auto list = openListOf (w, box);
        ASSERT_TRUE (list.has_value() && list->hasHighlight()) << "the list shows no selected item";
        chooseItemAt (w, box, list->highlightCentre());
    }

    /** Whether the window had that size on the screen, and no other, from the
        moment it was made: the sizes of its frame, less the frame's border. */
    ::testing::AssertionResult wasOnlyShownAt (Window w, juce::Rectangle<int> expected)
    {
        const auto frameSizes = frameWatch.shownSizesOfFrameAround (w);

        if (frameSizes.empty())
            return ::testing::AssertionFailure() << "it is shown without a frame";

        const auto border = frameSizes.back().getBottomRight() - sizeOf (w).getBottomRight();
        std::string shownSizes;
        bool onlyExpected = true;

        for (const auto& frameSize : frameSizes)
        {
            const auto shown = frameSize.withSize (frameSize.getWidth() - border.x, frameSize.getHeight() - border.y);
            shownSizes += " " + std::to_string (shown.getWidth()) + "x" + std::to_string (shown.getHeight());
            onlyExpected = onlyExpected && shown == expected;
        }

        return (onlyExpected ? ::testing::AssertionSuccess() : ::testing::AssertionFailure()) << "shown at" << shownSizes;
    }

    /** Whether the window keeps that size when asked from outside to take
        another, and the window manager offers neither to maximise nor to
        resize it: it answers the request by the size limits the window sets. */
    ::testing::AssertionResult holdsItsSize (Window w, juce::Rectangle<int> size) const
    {
        XResizeWindow (display, w, 1200, 700);

        if (! server.waitForWindowManager())
            return ::testing::AssertionFailure() << "the window manager does not answer";

        if (sizeOf (w) != size)
            return ::testing::AssertionFailure() << "it took the size " << sizeOf (w).toString();

        const auto actions = allowedActions (w);

        if (actions.empty())
            return ::testing::AssertionFailure() << "the window manager lists nothing that the window allows";

        for (const auto* refused : { "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE" })
            if (std::count (actions.begin(), actions.end(), refused) != 0)
                return ::testing::AssertionFailure() << "the window manager offers " << refused;

        return ::testing::AssertionSuccess();
    }

    /** Whether the dialog lies centred on its owner's window, within a few
        pixels of rounding, and is marked as that window's dialog (its
        WM_TRANSIENT_FOR), so that the window manager keeps it above and with it. */
    ::testing::AssertionResult isCentredOnAndBelongsTo (Window dialog, Window owner) const
    {
        const auto centreOf = [this] (Window w)
        {
            const auto [x, y] = server.screenPositionOf (w);
            return sizeOf (w).withPosition (x, y).getCentre();
        };
        const auto offset = centreOf (dialog) - centreOf (owner);
        Window transientFor = None;
        XGetTransientForHint (display, dialog, &transientFor);

        if (std::abs (offset.x) > 2 || std::abs (offset.y) > 2)
            return ::testing::AssertionFailure() << "its centre lies " << offset.toString() << " from its owner's";

        if (transientFor != owner)
            return ::testing::AssertionFailure() << "it is marked as a dialog of " << transientFor << ", not of " << owner;

        return ::testing::AssertionSuccess();
    }

    /** What the window manager lets the user do with the window. */
    std::vector<std::string> allowedActions (Window w) const
    {
        std::vector<std::string> names;
        Atom type;
        int format;
        unsigned long count, remaining;
        unsigned char* data = nullptr;

        if (XGetWindowProperty (display, w, XInternAtom (display, "_NET_WM_ALLOWED_ACTIONS", False), 0, 64, False,
                                XA_ATOM, &type, &format, &count, &remaining, &data) == Success && data != nullptr)
        {
            for (unsigned long i = 0; i < count; ++i)
                if (auto* name = XGetAtomName (display, reinterpret_cast<Atom*> (data)[i]))
                {
                    names.emplace_back (name);
                    XFree (name);
                }

            XFree (data);
        }

        return names;
    }

    /** Whether a control is selected: the function box shows its name. */
    bool showsAFunctionName() const
    {
        const auto pixels = server.pixelsOf (window, functionName.getX(), functionName.getY(),
                                             functionName.getWidth(), functionName.getHeight());
        return std::any_of (pixels.begin(), pixels.end(), [] (auto pixel)
        {
            return juce::Colour ((juce::uint32) pixel | 0xff000000).getPerceivedBrightness() > 0.45f;
        });
    }

    /** Clicks fader 1 until it is selected; a second click changes nothing. */
    bool selectFader1() const
    {
        return x_session::repeatUntil ([this] { clickAt (window, fader1); }, [this] { return showsAFunctionName(); });
    }

    /** Chooses "4) User Define" (the mode list opens upwards, its last item next to the box) and selects fader 1. */
    void enableEveryBox() const
    {
        const auto modeBox = editorBoxes[1].bounds;
        ASSERT_TRUE (opensWithOneClick (window, modeBox));
        ASSERT_NO_FATAL_FAILURE (chooseItemAt (window, modeBox, modeBox.getY() - 10));
        ASSERT_TRUE (selectFader1());
    }

    x_session::PrivateServer server;
    Display* const display = server.getDisplay();
    FrameWatch frameWatch { display };
    const ScopedTemporaryFolder settings { "vtr-desktop-settings" };
    const ScopedTemporaryFolder instances { "vtr-desktop-instances" };
    std::unique_ptr<x_session::Process> editor;
    Window window = None;

    /** When the last list that was opened had been seen open. */
    mutable std::chrono::steady_clock::time_point listOpenedBy;
};
} // namespace

//==============================================================================
TEST_F (Desktop, TheWindowKeepsItsSizeInEachViewAndOffersNoMaximise)
{
    EXPECT_TRUE (wasOnlyShownAt (window, { 1000, 576 }));
    EXPECT_EQ (frameWatch.numFramedWindows(), 1u) << "the editor showed more than one window while it started";

    ASSERT_TRUE (selectFader1());

    for (const auto& view : { std::pair { XK_x, 786 }, std::pair { XK_m, 1000 } })
    {
        const auto width = view.second;
        SCOPED_TRACE (width);

        // The key counts once the click has given the fader the focus; pressing it again changes nothing.
        ASSERT_TRUE (x_session::repeatUntil ([&] { server.sendKey (window, view.first); },
                                             [&] { return sizeOf (window).getWidth() == width; }));

        EXPECT_TRUE (holdsItsSize (window, { width, 576 }));
    }
}

TEST_F (Desktop, EveryComboBoxOpensOnTheFirstClickRightAfterAnotherListClosed)
{
    ASSERT_NO_FATAL_FAILURE (enableEveryBox());

    for (int round = 0; round < 4; ++round)
    {
        for (size_t i = 0; i < std::size (editorBoxes); ++i)
        {
            const auto& from = editorBoxes[i];
            const auto& to = editorBoxes[(i + 1) % std::size (editorBoxes)];
            SCOPED_TRACE (std::string ("from ") + from.name + " to " + to.name);

            if (! showsListOf (window, from.bounds))
            {
                ASSERT_TRUE (opensWithOneClick (window, from.bounds));
            }

            ASSERT_NO_FATAL_FAILURE (chooseSelectedItem (window, from.bounds));
            ASSERT_TRUE (hasInputFocus (window));
            EXPECT_TRUE (opensWithOneClick (window, to.bounds));
        }
    }
}

TEST_F (Desktop, TheOutputPickerOpensCentredOnTheEditorAtItsOwnSizeAndAnswersRightAfterItsListClosed)
{
    for (int round = 0; round < 4; ++round)
    {
        SCOPED_TRACE (round);
        ASSERT_TRUE (x_session::waitUntil ([this] { return isPlaced (window) && answersThePointer (window, editorButtonRows); }));
        clickAt (window, connectButton);

        Window picker = None;
        ASSERT_TRUE (x_session::waitUntil ([&]
        {
            picker = findPaintedDialog (pickerTitle);
            return picker != None && isPlaced (picker) && answersThePointer (picker, pickerButtonRows);
        })) << "the window manager never places the picker and makes it active, or it does not follow the pointer";

        EXPECT_TRUE (isCentredOnAndBelongsTo (picker, window));
        EXPECT_TRUE (wasOnlyShownAt (picker, { 300, 200 }));
        ASSERT_TRUE (holdsItsSize (picker, { 300, 200 }));
        ASSERT_TRUE (opensWithOneClick (picker, pickerList));
        ASSERT_NO_FATAL_FAILURE (chooseSelectedItem (picker, pickerList));
        // The editor takes clicks again once it is done with the dialog and has destroyed it.
        clickAt (picker, pickerCancel);
        ASSERT_TRUE (x_session::waitUntil ([&] { return ! server.exists (picker); })) << "Cancel leaves the picker open";
    }
}

TEST_F (Desktop, TheFirmwareWizardAndItsStepDialogsOpenCentredOnTheirWindowAtTheirOwnSize)
{
    const juce::Point<int> firmwareUpgradeButton { 94, 557 }, wizardConnectButton { 62, 102 };

    Window warning = None;
    ASSERT_TRUE (x_session::repeatUntil ([&] { clickAt (window, firmwareUpgradeButton); },
                                         [&] { return (warning = findPaintedWindow ("Firmware Upgrader about to start")) != None; }));

    Window wizard = None;
    ASSERT_TRUE (x_session::repeatUntil ([&] { server.sendKey (warning, XK_Return); },
                                         [&] { return (wizard = findPaintedDialog ("Firmware Upgrade")) != None && isPlaced (wizard); }))
        << "the hub warning's OK never opens the wizard";
    EXPECT_TRUE (isCentredOnAndBelongsTo (wizard, window));
    EXPECT_TRUE (wasOnlyShownAt (wizard, { 514, 491 }));
    ASSERT_TRUE (holdsItsSize (wizard, { 514, 491 }));

    // Its first step asks which unit to upgrade; a second click changes nothing
    // while that dialog is open.
    Window unitDialog = None;
    ASSERT_TRUE (x_session::repeatUntil ([&] { clickAt (wizard, wizardConnectButton); },
                                         [&] { return (unitDialog = findPaintedDialog ("Choose Your Zuvo Device")) != None && isPlaced (unitDialog); }));
    EXPECT_TRUE (isCentredOnAndBelongsTo (unitDialog, wizard));
    EXPECT_TRUE (wasOnlyShownAt (unitDialog, { 300, 200 }));
    EXPECT_TRUE (holdsItsSize (unitDialog, { 300, 200 }));
}
