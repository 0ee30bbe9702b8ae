namespace zuvo
{

/** Tells the window system that the desktop window is a dialog of the
    window that holds owner, so that a window manager keeps it above that
    window and with it, and gives it no task-bar entry of its own. The mark
    belongs to the native window: call this again whenever the framework
    makes a new one. Does nothing where either has no native peer. */
void markAsDialogOf (juce::Component& desktopWindow, const juce::Component& owner);

} // namespace zuvo
