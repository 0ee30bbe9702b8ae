namespace zuvo
{

#if JUCE_LINUX || JUCE_BSD
namespace
{
    bool windowManagerSupports (::Display* display, Atom feature)
    {
        const juce::XWindowSystemUtilities::GetXProperty supported (display, DefaultRootWindow (display),
                                                                    XInternAtom (display, "_NET_SUPPORTED", False),
                                                                    0, 1024, false, XA_ATOM);
        const auto* first = reinterpret_cast<const Atom*> (supported.data);
        const auto* last = first + supported.numItems;
        return supported.success && first != nullptr && std::find (first, last, feature) != last;
    }

    /** How far the window manager's frame reaches left of and above the
        window, once the window manager has said; nothing before. */
    std::optional<juce::Point<int>> frameReach (::Display* display, ::Window window)
    {
        const juce::XWindowSystemUtilities::ScopedXLock lock;
        const juce::XWindowSystemUtilities::GetXProperty extents (display, window, XInternAtom (display, "_NET_FRAME_EXTENTS", False),
                                                                  0, 4, false, XA_CARDINAL);

        if (! extents.success || extents.data == nullptr || extents.numItems != 4)
            return {};

        const auto* leftRightTopBottom = reinterpret_cast<const unsigned long*> (extents.data);
        return juce::Point<int> ((int) leftRightTopBottom[0], (int) leftRightTopBottom[2]);
    }
}
#endif

void placeInsideWindowFrame ([[maybe_unused]] juce::Component& desktopWindow)
{
   #if JUCE_LINUX || JUCE_BSD
    auto* peer = desktopWindow.getPeer();
    auto* display = juce::XWindowSystem::getInstance()->getDisplay();

    if (peer == nullptr || display == nullptr)
        return;

    const auto window = (::Window) peer->getNativeHandle();

    {
        const juce::XWindowSystemUtilities::ScopedXLock lock;
        const auto request = XInternAtom (display, "_NET_REQUEST_FRAME_EXTENTS", False);

        if (! windowManagerSupports (display, request))
            return;

        XEvent message {};
        message.xclient.type = ClientMessage;
        message.xclient.window = window;
        message.xclient.message_type = request;
        message.xclient.format = 32;
        XSendEvent (display, DefaultRootWindow (display), False, SubstructureNotifyMask | SubstructureRedirectMask, &message);
    }

    // The window manager answers at once; the limit only keeps one that never
    // does from holding the window back.
    const auto giveUp = juce::Time::getMillisecondCounter() + 1000;
    auto reach = frameReach (display, window);

    while (! reach.has_value() && juce::Time::getMillisecondCounter() < giveUp)
    {
        juce::Thread::sleep (1);
        reach = frameReach (display, window);
    }

    ::Window root = None;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, borderWidth = 0, depth = 0;
    const juce::XWindowSystemUtilities::ScopedXLock lock;

    if (reach.has_value() && XGetGeometry (display, window, &root, &x, &y, &width, &height, &borderWidth, &depth) != 0)
        XMoveWindow (display, window, x - reach->x, y - reach->y);
   #endif
}

} // namespace zuvo
