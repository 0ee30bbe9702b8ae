namespace zuvo
{

/** Moves the desktop window's new native window, before it is first shown,
    so that its content lies where the window's bounds say once a window
    manager has put its frame around it. A window manager puts the frame's
    corner where a new window asks to be, and the framework learns the
    frame's size only once it is shown; this asks the window manager for the
    frame it will add, and waits a moment at most for its answer. Does
    nothing where no window manager offers that answer. */
void placeInsideWindowFrame (juce::Component& desktopWindow);

} // namespace zuvo
