namespace zuvo
{

ContentSizedDialog::ContentSizedDialog (juce::DialogWindow::LaunchOptions& options)
    : DialogWindow (options.dialogTitle, options.dialogBackgroundColour, options.escapeKeyTriggersCloseButton, false,
                    options.componentToCentreAround != nullptr
                        ? getApproximateScaleFactorForComponent (options.componentToCentreAround) : 1.0f),
      owner (options.componentToCentreAround)
{
    setUsingNativeTitleBar (options.useNativeTitleBar);
    setResizable (options.resizable, options.useBottomRightCornerResizer);

    if (options.content.willDeleteObject())
        setContentOwned (options.content.release(), true);
    else
        setContentNonOwned (options.content.release(), true);

    centreAroundComponent (options.componentToCentreAround, getWidth(), getHeight());

    if (! options.resizable)
        sizeHold.setHeldSize (getLocalBounds());

    // The framework places the new native window without the size limits.
    addToDesktop();
    sizeHold.windowPlaced();
    placeInsideWindowFrame (*this);
}

void ContentSizedDialog::closeButtonPressed()
{
    setVisible (false);
}

void ContentSizedDialog::resized()
{
    DialogWindow::resized();
    sizeHold.windowPlaced();
}

void ContentSizedDialog::moved()
{
    DialogWindow::moved();
    sizeHold.windowPlaced();
}

void ContentSizedDialog::parentHierarchyChanged()
{
    DialogWindow::parentHierarchyChanged();

    // The framework calls this whenever it has made a new native window for
    // the dialog, the first one before it is shown; the mark goes with the window.
    if (owner != nullptr)
        markAsDialogOf (*this, *owner);
}

void ContentSizedDialog::paintOverChildren (juce::Graphics& g)
{
    DialogWindow::paintOverChildren (g);
    sizeHold.windowPainted();
}

int ContentSizedDialog::runModal (juce::DialogWindow::LaunchOptions& options)
{
    return ContentSizedDialog (options).runModalLoop();
}

} // namespace zuvo
