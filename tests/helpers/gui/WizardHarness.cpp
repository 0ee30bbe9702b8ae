#include "WizardHarness.h"

#include "common/SimulatedStudio.h"
#include "common/TemporaryFolder.h"
#include "ModalScript.h"

#include <gtest/gtest.h>

namespace gui_test
{

namespace
{
    void clearModes()
    {
        bAuto = false;
        bSerial = false;
        zuvo::bForAnyZuvo = false;
        zuvo::bTest_fwug = false;
        zuvo::bEsc = false;
        zuvo::protectUiQ = false;
        zuvo::_num_UpgradeSuccess = 0;
    }

    template <typename Type>
    Type* findChildOfType (juce::Component& parent, const std::function<bool (Type&)>& matches)
    {
        for (auto* child : parent.getChildren())
        {
            if (auto* typed = dynamic_cast<Type*> (child))
                if (matches (*typed))
                    return typed;

            if (auto* found = findChildOfType (*child, matches))
                return found;
        }

        return nullptr;
    }
}

ScopedUpgraderModes::ScopedUpgraderModes()   { clearModes(); }
ScopedUpgraderModes::~ScopedUpgraderModes()  { clearModes(); }

//==============================================================================
WizardHost::WizardHost (int pid, bool online, double waitScale)
    : wizard (*new zuvo::FirmwareUpgradeComponent (pid, online)),
      window (std::make_unique<juce::DialogWindow> ("Firmware Upgrade", juce::Colours::lightgrey, false, true))
{
    wizard.waitScale = waitScale;
    window->setContentOwned (&wizard, true);
    window->setUsingNativeTitleBar (true);
    window->centreWithSize (window->getWidth(), window->getHeight());
    window->setVisible (true);
}

WizardHost::~WizardHost()
{
    close();
}

juce::String WizardHost::getTitle() const
{
    return window->getName();
}

juce::StringArray WizardHost::enabledSteps() const
{
    juce::StringArray texts;

    for (auto& b : wizard.stepButtons)
        if (b.isEnabled())
            texts.add (b.getButtonText());

    return texts;
}

void WizardHost::close()
{
    window.reset();
}

//==============================================================================
FirmwareFiles::FirmwareFiles()
    : folder (createUniqueTemporaryFolder ("firmware"))
{
}

FirmwareFiles::~FirmwareFiles()
{
    folder.deleteRecursively();
}

juce::File FirmwareFiles::write (const juce::String& name, int size) const
{
    const auto file = folder.getChildFile (name);
    file.replaceWithData (imageOf (size).getData(), (size_t) size);
    return file;
}

juce::MemoryBlock FirmwareFiles::imageOf (int size)
{
    juce::MemoryBlock image ((size_t) size);

    for (int i = 0; i < size; ++i)
        image[i] = (char) ((i * 7 + i / 512) & 0xff);

    return image;
}

//==============================================================================
juce::Button* findButton (juce::Component& parent, const juce::String& text)
{
    return findChildOfType<juce::Button> (parent, [&text] (juce::Button& b) { return b.getButtonText() == text; });
}

juce::ComboBox* findComboBox (juce::Component& parent)
{
    return findChildOfType<juce::ComboBox> (parent, [] (juce::ComboBox&) { return true; });
}

void chooseAndConfirm (juce::Component& dialogContent, const juce::String& itemText)
{
    if (auto* box = findComboBox (dialogContent); box != nullptr && itemText.isNotEmpty())
    {
        for (int i = 0; i < box->getNumItems(); ++i)
            if (box->getItemText (i) == itemText)
                box->setSelectedItemIndex (i, juce::sendNotificationSync);
    }

    if (auto* ok = findButton (dialogContent, "OK"))
        ok->triggerClick();
}

void answerDeviceDialog (ModalScript& script, const juce::String& itemText)
{
    script.onDialog ("Choose Your Zuvo Device", [itemText] (juce::DialogWindow&, juce::Component& content)
                     {
                         chooseAndConfirm (content, itemText);
                     });
}

void loadImageByHand (WizardHost& host, ModalScript& script, const juce::String& port)
{
    auto& wizard = host.wizard;
    answerDeviceDialog (script, port);
    wizard.doStep1();
    wizard.doStep2();
    answerDeviceDialog (script, "Zuvo firmware upgrade manager");
    wizard.doStep3();
    wizard.doStep4();
}

void upgradeByHand (WizardHost& host, ModalScript& script, const juce::File& image,
                    const juce::String& resultTitle, const juce::String& port)
{
    host.wizard.chooseFile = [image] (const zuvo::FirmwareUpgradeComponent::FileRequest&) { return image; };
    loadImageByHand (host, script, port);
    script.pressAlertButton ("OK", resultTitle);
    host.wizard.doStep5();
}

void checkAutomaticOnlineUpgrade (SimulatedStudio& studio, ModalScript& script, AlertRecorder& alerts,
                                  const std::optional<juce::MemoryBlock>& flashedImage)
{
    alerts.alerts.clear();
    studio.controller.clearHistory();
    midiports::SimulatedLoader* loader = nullptr;
    studio.controller.setLoaderSetup ([&loader] (midiports::SimulatedLoader& l) { loader = &l; });

    const juce::ScopedValueSetter<bool> autoMode (bAuto, true);
    WizardHost host (156, true);

    if (! flashedImage.has_value())
        script.pressAlertButton ("OK", "Firmware Download");

    host.wizard.doStep1();

    EXPECT_TRUE (script.isDone());
    ASSERT_NE (loader, nullptr);

    if (flashedImage.has_value())
    {
        EXPECT_TRUE (alerts.alerts.empty());
        EXPECT_EQ (loader->getReceivedImage(), *flashedImage);
        EXPECT_TRUE (loader->getErrors().isEmpty());
    }
    else
    {
        ASSERT_EQ (alerts.alerts.size(), 1u);
        EXPECT_EQ (alerts.alerts[0].message, "Could not download firmware file");
        EXPECT_EQ (host.wizard.midiHandler->programSize, 0u);
        EXPECT_TRUE (loader->getReceivedImage().isEmpty());
        EXPECT_TRUE (studio.controller.getUpgradeArrivals().empty());
    }
}

juce::File saveSnapshot (juce::Component& component, const juce::String& name)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::currentExecutableFile)
                            .getParentDirectory().getChildFile ("screenshots");
    folder.createDirectory();

    const auto file = folder.getChildFile (name + ".png");
    file.deleteFile();

    if (auto stream = file.createOutputStream())
        juce::PNGImageFormat().writeImageToStream (component.createComponentSnapshot (component.getLocalBounds()), *stream);

    return file;
}

zuvo::FirmwareUpgradeComponent* wizardOnTop (juce::Component& topModal)
{
    if (auto* dialog = dynamic_cast<juce::DialogWindow*> (&topModal))
        return dynamic_cast<zuvo::FirmwareUpgradeComponent*> (dialog->getContentComponent());

    return nullptr;
}

//==============================================================================
WhileWaiting::WhileWaiting (std::function<void()> a, int intervalMs) : action (std::move (a))
{
    startTimer (intervalMs);
}

WhileWaiting::~WhileWaiting()
{
    stopTimer();
}

void WhileWaiting::timerCallback()
{
    action();
}

//==============================================================================
ModalWatchdog::ModalWatchdog (int patience) : patienceMs (patience)
{
    startTimer (50);
}

ModalWatchdog::~ModalWatchdog()
{
    stopTimer();
}

void ModalWatchdog::timerCallback()
{
    auto* top = topModal();

    if (top != nullptr && wizardOnTop (*top) != nullptr)
        top = nullptr;

    if (top != watched.getComponent())
    {
        watched = top;
        since = juce::Time::getMillisecondCounter();
        return;
    }

    if (top != nullptr && juce::Time::getMillisecondCounter() - since > (juce::uint32) patienceMs)
    {
        dismissed.add (top->getName());
        top->exitModalState (0);
        watched = nullptr;
    }
}

} // namespace gui_test
