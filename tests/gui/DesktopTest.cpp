#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <X11/Xatom.h>
#include <X11/keysym.h>

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

/** Where a list is looked for: its left margin, left of the tick of the selected item. */
constexpr int listColumn = 3;

const juce::Point<int> fader1 { 52, 64 + 282 };
const juce::Point<int> connectButton { 372, 557 };
const juce::Rectangle<int> pickerList { 8, 76, 284, 24 };
const juce::Point<int> pickerCancel { 240, 175 };

//==============================================================================
class Desktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (display, nullptr) << "could not start an X server";
        ASSERT_TRUE (server.startWindowManager()) << "could not start openbox";

        editor = x_session::startEditor (VTR_APP_PATH, server, settings.folder.getFullPathName().toStdString(),
                                         instances.folder.getFullPathName().toStdString(), { "VTR_SIMULATED_MIDI=1" });
        window = waitForWindow (windowTitle);
        ASSERT_NE (window, None) << "the editor shows no window";
        ASSERT_TRUE (x_session::waitUntil ([this] { return hasInputFocus (window); })) << "the editor never becomes active";
        ASSERT_TRUE (settles (window)) << "the window manager keeps moving the editor";
    }

    /** Whether the window stays where it is, at its size, for half a second
        within twenty seconds: no hand reaches a window while the window
        manager is still placing it. */
    bool settles (Window w) const
    {
        const auto placeOf = [this, w] { return std::pair { server.screenPositionOf (w), sizeOf (w) }; };
        auto last = placeOf();
        int stableChecks = 0;

        for (int i = 0; i < 400 && stableChecks < 10; ++i)
        {
            x_session::sleepMs (50);
            const auto now = placeOf();
            stableChecks = now == last ? stableChecks + 1 : 0;
            last = now;
        }

        return stableChecks >= 10;
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

    /** The shown window of that title once it shows painted content; None after twenty seconds without. */
    Window waitForWindow (const char* title)
    {
        for (int i = 0; i < 400; ++i)
        {
            if (const auto found = server.findShownWindow (title); found != None)
            {
                const auto pixels = server.pixelsOf (found, 0, 0, sizeOf (found).getWidth(), sizeOf (found).getHeight());

                if (std::any_of (pixels.begin(), pixels.end(), [&pixels] (auto pixel) { return pixel != pixels.front(); }))
                    return found;
            }

            x_session::sleepMs (50);
        }

        return None;
    }

    juce::Rectangle<int> sizeOf (Window w) const
    {
        XWindowAttributes attributes {};
        XGetWindowAttributes (display, w, &attributes);
        return { attributes.width, attributes.height };
    }

    void clickAt (Window w, juce::Point<int> p) const    { server.clickAt (w, p.x, p.y); }

    /** The rows of the window's column x that show an open drop-down list, and
        the middle of its highlighted item (the selected one), or -1. */
    std::pair<int, int> listRowsAndSelectedItem (Window w, int x) const
    {
        const auto column = server.pixelsOf (w, x, 0, 1, sizeOf (w).getHeight());
        int rows = 0, highlightedRows = 0, highlightedSum = 0;

        for (int y = 0; y < (int) column.size(); ++y)
        {
            rows += column[(size_t) y] == menuColours.first || column[(size_t) y] == menuColours.second ? 1 : 0;

            if (column[(size_t) y] == menuColours.second)
            {
                ++highlightedRows;
                highlightedSum += y;
            }
        }

        return { rows, highlightedRows > 0 ? highlightedSum / highlightedRows : -1 };
    }

    bool showsListOf (Window w, juce::Rectangle<int> box) const
    {
        return listRowsAndSelectedItem (w, box.getX() + listColumn).first > 30;
    }

    /** Clicks the box and reports whether its list opened and stayed open. */
    bool opensWithOneClick (Window w, juce::Rectangle<int> box)
    {
        clickAt (w, box.getCentre());

        if (! x_session::waitUntil ([&] { return showsListOf (w, box); }))
            return false;

        // A list that the framework closes at once shows for a moment only.
        x_session::sleepMs (300);
        return showsListOf (w, box);
    }

    /** Chooses the item at this point of the box's open list and waits until
        the list has gone. The framework's list reads the button in its own
        time and on a busy machine can miss a click on an item: that click is
        made again. */
    void chooseItemAt (Window w, juce::Rectangle<int> box, juce::Point<int> item)
    {
        for (int attempt = 0; attempt < 3 && showsListOf (w, box); ++attempt)
        {
            clickAt (w, item);

            for (int i = 0; i < 60 && showsListOf (w, box); ++i)
                x_session::sleepMs (50);
        }

        ASSERT_FALSE (showsListOf (w, box)) << "the list stays open";
    }

    /** Closes the open list of the box by choosing its selected item, which
        leaves the choice as it was. */
    void chooseSelectedItem (Window w, juce::Rectangle<int> box)
    {
        const auto x = box.getX() + listColumn;
        const auto item = listRowsAndSelectedItem (w, x).second;
        ASSERT_GE (item, 0) << "the list shows no selected item";
        chooseItemAt (w, box, { x, item });
    }

    /** Chooses "4) User Define" (the mode list opens upwards, its last item next to the box) and selects fader 1. */
    void enableEveryBox()
    {
        const auto modeBox = editorBoxes[1].bounds;
        ASSERT_TRUE (opensWithOneClick (window, modeBox));
        ASSERT_NO_FATAL_FAILURE (chooseItemAt (window, modeBox, { modeBox.getCentreX(), modeBox.getY() - 10 }));
        clickAt (window, fader1);
        x_session::sleepMs (300);
    }

    x_session::PrivateServer server;
    Display* const display = server.getDisplay();
    const ScopedTemporaryFolder settings { "vtr-desktop-settings" };
    const ScopedTemporaryFolder instances { "vtr-desktop-instances" };
    std::unique_ptr<x_session::Process> editor;
    Window window = None;
};
} // namespace

//==============================================================================
TEST_F (Desktop, TheWindowKeepsItsSizeInEachViewAndOffersNoMaximise)
{
    const auto allowedActions = [this]
    {
        std::vector<std::string> names;
        Atom type;
        int format;
        unsigned long count, remaining;
        unsigned char* data = nullptr;

        if (XGetWindowProperty (display, window, XInternAtom (display, "_NET_WM_ALLOWED_ACTIONS", False), 0, 64, False,
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
    };

    clickAt (window, fader1);

    for (const auto& view : { std::pair { XK_x, 786 }, std::pair { XK_m, 1000 } })
    {
        const auto width = view.second;
        SCOPED_TRACE (width);

        // The key counts once the click has given the fader the focus; pressing it again changes nothing.
        ASSERT_TRUE (x_session::waitUntil ([&]
        {
            server.sendKey (window, view.first);
            x_session::sleepMs (100);
            return sizeOf (window).getWidth() == width;
        }));

        XResizeWindow (display, window, 1200, 700);
        XSync (display, False);
        x_session::sleepMs (500);
        EXPECT_EQ (sizeOf (window), juce::Rectangle<int> (width, 576));

        const auto actions = allowedActions();
        EXPECT_FALSE (actions.empty()) << "the window manager lists what the window allows";

        for (const auto* refused : { "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE" })
            EXPECT_EQ (std::count (actions.begin(), actions.end(), refused), 0) << refused;
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
                ASSERT_TRUE (opensWithOneClick (window, from.bounds));

            ASSERT_NO_FATAL_FAILURE (chooseSelectedItem (window, from.bounds));
            EXPECT_TRUE (opensWithOneClick (window, to.bounds));
        }
    }
}

TEST_F (Desktop, TheOutputPickerIsItsOwnSizeAndAnswersRightAfterItsListClosed)
{
    for (int round = 0; round < 4; ++round)
    {
        SCOPED_TRACE (round);
        clickAt (window, connectButton);
        const auto picker = waitForWindow (pickerTitle);
        ASSERT_NE (picker, None);
        EXPECT_EQ (sizeOf (picker), juce::Rectangle<int> (300, 200));
        ASSERT_TRUE (x_session::waitUntil ([&] { return hasInputFocus (picker); })) << "the picker never becomes active";
        ASSERT_TRUE (settles (picker));

        ASSERT_TRUE (opensWithOneClick (picker, pickerList));
        ASSERT_NO_FATAL_FAILURE (chooseSelectedItem (picker, pickerList));
        clickAt (picker, pickerCancel);
        EXPECT_TRUE (x_session::waitUntil ([&] { return server.findShownWindow (pickerTitle) == None; }));
    }
}
