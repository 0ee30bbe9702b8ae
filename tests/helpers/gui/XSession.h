#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

/*
    Runs the editor as a separate process on an X server of its own, and
    watches it through that server. Plain POSIX and Xlib, so that both the
    tests that need a real second process and the start-up benchmark in
    tools/ can use it.
*/
namespace x_session
{

inline void sleepMs (int ms)
{
    std::this_thread::sleep_for (std::chrono::milliseconds (ms));
}

/** How long a test waits for an outcome before it gives up: ample for the
    sanitizer build on a loaded machine. Only a failing test waits that long. */
constexpr auto patience = std::chrono::seconds (60);

/** Checks the condition every 20 ms until it holds, or until patience (or
    the limit given) runs out. Returns whether it held. */
template <typename Condition>
bool waitUntil (Condition&& condition, std::chrono::milliseconds limit = patience)
{
    const auto giveUp = std::chrono::steady_clock::now() + limit;

    while (! condition())
    {
        if (std::chrono::steady_clock::now() > giveUp)
            return condition();

        sleepMs (20);
    }

    return true;
}

/** Does the act, and again every half second while the outcome has not
    shown, until it shows or patience (or the limit given) runs out; for acts
    that a program may miss while it is not ready for them, and that change
    nothing when it takes them more than once. Returns whether the outcome
    showed. */
template <typename Act, typename Outcome>
bool repeatUntil (Act&& act, Outcome&& outcome, std::chrono::milliseconds limit = patience)
{
    auto nextAct = std::chrono::steady_clock::now();

    return waitUntil ([&]
    {
        if (std::chrono::steady_clock::now() >= nextAct)
        {
            act();
            nextAct = std::chrono::steady_clock::now() + std::chrono::milliseconds (500);
        }

        return outcome();
    }, limit);
}

//==============================================================================
/** A process started with extra environment variables. It is ended when the
    object goes, if it has not ended by itself.
*/
class Process
{
public:
    /** extraEnvironment holds "NAME=value" entries, which replace the ones of this process. */
    Process (std::vector<std::string> arguments, const std::vector<std::string>& extraEnvironment,
             bool showsErrors = true)
    {
        std::vector<std::string> environment (extraEnvironment);

        for (auto** variable = environ; *variable != nullptr; ++variable)
        {
            const std::string entry (*variable);
            const auto name = entry.substr (0, entry.find ('=') + 1);
            const auto replaced = std::any_of (extraEnvironment.begin(), extraEnvironment.end(),
                                               [&name] (const std::string& e) { return e.compare (0, name.size(), name) == 0; });
            if (! replaced)
                environment.push_back (entry);
        }

        std::vector<char*> argv, envp;
        for (auto& a : arguments)    argv.push_back (a.data());
        for (auto& e : environment)  envp.push_back (e.data());
        argv.push_back (nullptr);
        envp.push_back (nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init (&actions);
        posix_spawn_file_actions_addopen (&actions, 1, "/dev/null", O_WRONLY, 0);

        if (! showsErrors)
            posix_spawn_file_actions_addopen (&actions, 2, "/dev/null", O_WRONLY, 0);

        if (posix_spawnp (&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
            pid = -1;

        posix_spawn_file_actions_destroy (&actions);
    }

    ~Process()
    {
        if (isRunning())
        {
            kill (SIGTERM);

            if (! endsWithin (2000))
                kill();

            endsWithin (5000);
        }
    }

    bool wasStarted() const noexcept    { return pid > 0; }

    bool isRunning()
    {
        if (pid > 0 && ! ended)
        {
            int status = 0;

            if (waitpid (pid, &status, WNOHANG) == pid)
            {
                ended = true;
                exitCode = WIFEXITED (status) ? WEXITSTATUS (status) : -1;
            }
        }

        return pid > 0 && ! ended;
    }

    bool endsWithin (int ms)
    {
        for (int i = 0; i < ms / 5 && isRunning(); ++i)
            sleepMs (5);

        return ! isRunning();
    }

    void kill (int signal = SIGKILL)    { ::kill (pid, signal); }

    pid_t getPid() const noexcept       { return pid; }

    /** The exit status once it has ended; -1 when a signal ended it. */
    int getExitCode() const noexcept    { return exitCode; }

private:
    pid_t pid = -1;
    bool ended = false;
    int exitCode = -1;
};

//==============================================================================
/** An Xvfb server of its own, on a free display number, and a connection to
    it that holds the atoms the framework expects.
*/
class PrivateServer
{
public:
    PrivateServer()
    {
        int fds[2];

        if (pipe (fds) != 0)
            return;

        // Xvfb picks a free display number and writes it into the pipe once it takes connections.
        server = std::make_unique<Process> (std::vector<std::string> { "Xvfb", "-displayfd", std::to_string (fds[1]),
                                                                       "-nolisten", "tcp", "-screen", "0", "1280x1024x24" },
                                            std::vector<std::string>(), false);
        close (fds[1]);

        std::string number;
        pollfd ready { fds[0], POLLIN, 0 };
        char c = 0;

        while (poll (&ready, 1, 10000) > 0 && read (fds[0], &c, 1) == 1 && c != '\n')
            number += c;

        close (fds[0]);

        if (number.empty())
            return;

        name = ":" + number;
        display = XOpenDisplay (name.c_str());

        // A window may go between listing it and asking about it (the editor
        // replaces its first window while it starts); Xlib would end the
        // process on the error, so errors just fail the request.
        XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });

        // The framework uses the first two without creating them, and sets
        // some window properties only where their atoms exist. This
        // connection keeps them for the server's lifetime.
        if (display != nullptr)
            for (const auto* atom : { "WM_PROTOCOLS", "WM_STATE", "WM_DELETE_WINDOW", "_NET_ACTIVE_WINDOW",
                                      "_NET_WM_PID", "_MOTIF_WM_HINTS", "_NET_WM_ALLOWED_ACTIONS" })
                XInternAtom (display, atom, False);
    }

    ~PrivateServer()
    {
        if (display != nullptr)
            XCloseDisplay (display);
    }

    /** The display's name, like ":3". */
    const std::string& getName() const noexcept    { return name; }

    /** nullptr when the server could not be started. */
    Display* getDisplay() const noexcept           { return display; }

    /** The top-level windows that are shown. */
    std::vector<Window> shownWindows() const
    {
        std::vector<Window> found;
        Window rootReturn, parent, *children = nullptr;
        unsigned int count = 0;
        XSync (display, False);

        if (XQueryTree (display, DefaultRootWindow (display), &rootReturn, &parent, &children, &count) == 0)
            return found;

        for (unsigned int i = 0; i < count; ++i)
        {
            XWindowAttributes attributes;

            if (XGetWindowAttributes (display, children[i], &attributes) != 0 && attributes.map_state == IsViewable)
                found.push_back (children[i]);
        }

        XFree (children);
        return found;
    }

    /** Sends a key press and release to the window, as the keyboard would. */
    void sendKey (Window window, KeySym key) const
    {
        XKeyEvent event {};
        event.display = display;
        event.window = window;
        event.root = DefaultRootWindow (display);
        event.time = CurrentTime;
        event.same_screen = True;
        event.keycode = XKeysymToKeycode (display, key);

        event.type = KeyPress;
        XSendEvent (display, window, True, KeyPressMask, reinterpret_cast<XEvent*> (&event));
        event.type = KeyRelease;
        XSendEvent (display, window, True, KeyReleaseMask, reinterpret_cast<XEvent*> (&event));
        XSync (display, False);
    }

    /** What the window manager sends when the user clicks a window's close button. */
    void askToClose (Window window) const
    {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = (long) XInternAtom (display, "WM_DELETE_WINDOW", False);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent (display, window, False, NoEventMask, &event);
        XSync (display, False);
    }

    //==============================================================================
    /** Starts a window manager (openbox) on the server and waits until it
        handles the windows of other programs. Windows are then framed, placed
        and focused by it, as on a desktop. */
    bool startWindowManager()
    {
        windowManager = std::make_unique<Process> (std::vector<std::string> { "openbox" },
                                                   std::vector<std::string> { "DISPLAY=" + name }, false);
        const auto check = XInternAtom (display, "_NET_SUPPORTING_WM_CHECK", False);

        // It announces itself before it takes events; a window that a program
        // asks to show before then is never shown.
        return waitUntil ([&] { return hasProperty (DefaultRootWindow (display), check) || ! windowManager->isRunning(); })
                && windowManager->isRunning()
                && waitForWindowManager();
    }

    /** Waits until the window manager has handled every request that reached
        the server before this call (placing, framing, focusing a window): it
        answers a request of this connection's own only after those. The
        request is made again until it is answered. */
    bool waitForWindowManager() const
    {
        const auto probe = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 1, 1, 0, 0, 0);
        const auto extents = XInternAtom (display, "_NET_FRAME_EXTENTS", False);

        XEvent request {};
        request.xclient.type = ClientMessage;
        request.xclient.window = probe;
        request.xclient.message_type = XInternAtom (display, "_NET_REQUEST_FRAME_EXTENTS", False);
        request.xclient.format = 32;

        const auto answered = repeatUntil ([&] { XSendEvent (display, DefaultRootWindow (display), False,
                                                             SubstructureNotifyMask | SubstructureRedirectMask, &request); },
                                           [&] { return hasProperty (probe, extents); });
        XDestroyWindow (display, probe);
        return answered;
    }

    /** The shown window with this title, searched through the whole tree (a
        window manager puts windows into frames of its own); None if there is none. */
    Window findShownWindow (const std::string& title) const
    {
        XSync (display, False);
        return findShownWindowBelow (DefaultRootWindow (display), title);
    }

    /** The window's top-left corner on the screen. */
    std::pair<int, int> screenPositionOf (Window window) const
    {
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates (display, window, DefaultRootWindow (display), 0, 0, &x, &y, &child);
        return { x, y };
    }

    /** Moves the pointer to a point of the window, through the input
        extension, as the mouse would. */
    void movePointerTo (Window window, int x, int y) const
    {
        const auto [left, top] = screenPositionOf (window);
        XTestFakeMotionEvent (display, -1, left + x, top + y, CurrentTime);
        XSync (display, False);
    }

    /** Moves the pointer to a point of the window and clicks the left button,
        through the input extension: the window manager sees the click as it
        would see the user's. */
    void clickAt (Window window, int x, int y) const
    {
        movePointerTo (window, x, y);
        setButtonDown (true);
        setButtonDown (false);
    }

    /** Presses or releases the left button where the pointer is, through the input extension. */
    void setButtonDown (bool down) const
    {
        XTestFakeButtonEvent (display, Button1, down ? True : False, CurrentTime);
        XSync (display, False);
    }

    /** The colours (0xRRGGBB) of a rectangle of the window, row by row; empty
        when it cannot be read. */
    std::vector<unsigned long> pixelsOf (Window window, int x, int y, int width, int height) const
    {
        std::vector<unsigned long> pixels;
        auto* image = XGetImage (display, window, x, y, (unsigned int) width, (unsigned int) height, AllPlanes, ZPixmap);

        if (image == nullptr)
            return pixels;

        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column)
                pixels.push_back (XGetPixel (image, column, row) & 0xffffff);

        XDestroyImage (image);
        return pixels;
    }

    /** Whether the window exists still: a program that ends a dialog destroys
        its window only once it is done with it. */
    bool exists (Window window) const
    {
        XWindowAttributes attributes {};
        return XGetWindowAttributes (display, window, &attributes) != 0;
    }

    /** Whether the window shows painted content: pixels of more than one colour. */
    bool showsPaintedContent (Window window) const
    {
        XWindowAttributes attributes {};
        XGetWindowAttributes (display, window, &attributes);
        const auto pixels = pixelsOf (window, 0, 0, attributes.width, attributes.height);
        return std::any_of (pixels.begin(), pixels.end(), [&pixels] (auto pixel) { return pixel != pixels.front(); });
    }

private:
    Window findShownWindowBelow (Window parent, const std::string& title) const
    {
        Window rootReturn, parentReturn, *children = nullptr;
        unsigned int count = 0;
        Window found = None;

        if (XQueryTree (display, parent, &rootReturn, &parentReturn, &children, &count) == 0)
            return None;

        for (unsigned int i = 0; i < count && found == None; ++i)
        {
            XWindowAttributes attributes;
            XTextProperty windowName {};

            if (XGetWindowAttributes (display, children[i], &attributes) == 0 || attributes.map_state != IsViewable)
                continue;

            if (XGetWMName (display, children[i], &windowName) != 0 && windowName.value != nullptr)
            {
                if (title == std::string (reinterpret_cast<const char*> (windowName.value), windowName.nitems))
                    found = children[i];

                XFree (windowName.value);
            }

            if (found == None)
                found = findShownWindowBelow (children[i], title);
        }

        if (children != nullptr)
            XFree (children);

        return found;
    }

    bool hasProperty (Window window, Atom property) const
    {
        Atom type;
        int format;
        unsigned long count, remaining;
        unsigned char* data = nullptr;

        if (XGetWindowProperty (display, window, property, 0, 1, False, AnyPropertyType,
                                &type, &format, &count, &remaining, &data) != Success || data == nullptr)
            return false;

        XFree (data);
        return true;
    }

    std::unique_ptr<Process> server, windowManager;
    std::string name;
    Display* display = nullptr;
};

//==============================================================================
/** Starts the editor on the server, with its settings file and its
    single-instance channel in the given folders; extraEnvironment holds
    further "NAME=value" entries. */
inline std::unique_ptr<Process> startEditor (const std::string& editorPath, const PrivateServer& server,
                                             const std::string& settingsFolder, const std::string& instanceFolder,
                                             std::vector<std::string> extraEnvironment = {})
{
    extraEnvironment.insert (extraEnvironment.end(), { "DISPLAY=" + server.getName(),
                                                       "VTR_SETTINGS_DIR=" + settingsFolder,
                                                       "VTR_INSTANCE_DIR=" + instanceFolder });
    return std::make_unique<Process> (std::vector<std::string> { editorPath }, extraEnvironment);
}

} // namespace x_session
