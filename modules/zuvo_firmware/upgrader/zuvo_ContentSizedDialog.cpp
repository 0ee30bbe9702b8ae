namespace zuvo
{

ContentSizedDialog::ContentSizedDialog (juce::DialogWindow::LaunchOptions& options)
    : DialogWindow (options.dialogTitle, options.dialogBackgroundColour, options.escapeKeyTriggersCloseButton, false,
                    options.componentToCentreAround != nullptr
                        ? getApproximateScaleFactorForComponent (options.componentToCentreAround) : 1.0f)
{
    setUsingNativeTitleBar (options.useNativeTitleBar);
    setResizable (options.resizable, options.useBottomRightCornerResizer);
    addToDesktop();

    if (options.content.willDeleteObject())
        setContentOwned (options.content.release(), true);
    else
        setContentNonOwned (options.content.release(), true);

    centreAroundComponent (options.componentToCentreAround, getWidth(), getHeight());
}

void ContentSizedDialog::closeButtonPressed()
{
    setVisible (false);
}

int ContentSizedDialog::runModal (juce::DialogWindow::LaunchOptions& options)
{
    return ContentSizedDialog (options).runModalLoop();
}

} // namespace zuvo
