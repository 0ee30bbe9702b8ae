namespace zuvo
{

void markAsDialogOf ([[maybe_unused]] juce::Component& desktopWindow, [[maybe_unused]] const juce::Component& owner)
{
   #if JUCE_LINUX || JUCE_BSD
    auto* peer = desktopWindow.getPeer();
    auto* ownerPeer = owner.getPeer();
    auto* display = juce::XWindowSystem::getInstance()->getDisplay();

    if (peer == nullptr || ownerPeer == nullptr || display == nullptr)
        return;

    juce::XWindowSystemUtilities::ScopedXLock lock;
    XSetTransientForHint (display, (::Window) peer->getNativeHandle(), (::Window) ownerPeer->getNativeHandle());
   #endif
}

} // namespace zuvo
