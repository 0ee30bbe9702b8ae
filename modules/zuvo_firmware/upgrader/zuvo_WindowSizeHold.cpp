namespace zuvo
{

void WindowSizeHold::windowPlaced()
{
    holdWindowSize (window, heldSize);
}

void WindowSizeHold::windowPainted()
{
    if (auto* peer = window.getPeer(); peer != nullptr && peer->getNativeHandle() != nativeWindowHeld)
    {
        windowPlaced();
        nativeWindowHeld = peer->getNativeHandle();
    }
}

} // namespace zuvo
