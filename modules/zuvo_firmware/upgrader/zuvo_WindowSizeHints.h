namespace zuvo
{

/** Tells the window system that the desktop window's size is both its smallest
    and its largest, so that a window manager neither resizes nor maximises it
    (nor lets it be resized from outside). size is in the window's logical
    pixels. The framework sets such limits for a window that the user cannot
    resize, but drops them again whenever it moves or sizes the window itself;
    call this after each such change. The window's other hints, its position
    among them, stay as the framework set them. Does nothing where the window
    has no native peer. */
void holdWindowSize (juce::Component& desktopWindow, juce::Rectangle<int> size);

/**
    Holds a desktop window at one size against resize and maximise requests
    from outside, through every move and resize the framework makes.
*/
class WindowSizeHold
{
public:
    explicit WindowSizeHold (juce::Component& desktopWindow) : window (desktopWindow) {}

    /** The size to hold, in the window's logical pixels; it counts from the
        window's next move or resize on. Nothing is held while it is empty. */
    void setHeldSize (juce::Rectangle<int> size)    { heldSize = size; }

    /** Call from the window's moved() and resized(). */
    void windowPlaced();

    /** Call from the window's paintOverChildren(): the framework places a new
        native window once more when it first paints it. */
    void windowPainted();

private:
    juce::Component& window;
    juce::Rectangle<int> heldSize;
    void* nativeWindowHeld = nullptr;
};

} // namespace zuvo
