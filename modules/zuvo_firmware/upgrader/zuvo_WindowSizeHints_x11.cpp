namespace zuvo
{

void holdWindowSize ([[maybe_unused]] juce::Component& desktopWindow, [[maybe_unused]] juce::Rectangle<int> size)
{
   #if JUCE_LINUX || JUCE_BSD
    auto* peer = desktopWindow.getPeer();
    auto* display = juce::XWindowSystem::getInstance()->getDisplay();
    auto* x11 = juce::X11Symbols::getInstance();

    if (peer == nullptr || display == nullptr || size.isEmpty())
        return;

    if (auto* hints = x11->xAllocSizeHints())
    {
        const auto physical = (size.toDouble() * peer->getPlatformScaleFactor()).toNearestInt();
        hints->flags = PMinSize | PMaxSize;
        hints->min_width = hints->max_width = physical.getWidth();
        hints->min_height = hints->max_height = physical.getHeight();

        juce::XWindowSystemUtilities::ScopedXLock lock;
        x11->xSetWMNormalHints (display, (::Window) peer->getNativeHandle(), hints);
        x11->xFree (hints);
    }
   #endif
}

} // namespace zuvo
