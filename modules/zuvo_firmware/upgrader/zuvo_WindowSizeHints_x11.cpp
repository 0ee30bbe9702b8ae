namespace zuvo
{

void holdWindowSize ([[maybe_unused]] juce::Component& desktopWindow, [[maybe_unused]] juce::Rectangle<int> size)
{
   #if JUCE_LINUX || JUCE_BSD
    auto* peer = desktopWindow.getPeer();
    auto* display = juce::XWindowSystem::getInstance()->getDisplay();

    if (peer == nullptr || display == nullptr || size.isEmpty())
        return;

    const auto window = (::Window) peer->getNativeHandle();
    const auto physical = (size.toDouble() * peer->getPlatformScaleFactor()).toNearestInt();

    // The limits join the hints that the framework has set, its position
    // among them: the property is written whole, and without the position a
    // window manager places the window by its own rule.
    XSizeHints hints {};
    long suppliedHints = 0;

    juce::XWindowSystemUtilities::ScopedXLock lock;

    XGetWMNormalHints (display, window, &hints, &suppliedHints); // leaves them empty where it has none
    hints.flags |= PMinSize | PMaxSize;
    hints.min_width = hints.max_width = physical.getWidth();
    hints.min_height = hints.max_height = physical.getHeight();
    XSetWMNormalHints (display, window, &hints);
   #endif
}

} // namespace zuvo
