#include "EditorTestKit.h"

#include "Arrays.h"
#include "Defa.h"
#include "DeviceSelectComponent.h"
#include "Shared.h"
#include "VtrPlus.h"

namespace gui_test
{

namespace
{
    VtrPlus& device()
    {
        static const juce::TemporaryFile settingsFolder;

        if (VtrPlus::singletonHolder.instance == nullptr)
        {
            settingsFolder.getFile().createDirectory();
            VtrPlus::setSettingsFolder (settingsFolder.getFile());
        }

        return *VtrPlus::singletonHolder.get();
    }
}

void resetEditorWorld()
{
    auto& vtr = device();

    isZoomNorLR = 0;
    isJogLorR = 0;
    displayingExpander = false;

    // A loaded file may have replaced a stored map by one that lacks controls,
    // so every map is put back from a freshly built one. Building each map
    // reloads its family's slot tables, so they end in their factory image.
    const juce::TemporaryFile folder;
    folder.getFile().createDirectory();

    for (int mode = 0; mode < 5; ++mode)
    {
        const CtMap fresh { CtMode (mode) };
        const auto xml = fresh.tree.createXml();
        vtr.openFile (writeMappingFile (folder.getFile(), "factory" + juce::String (mode), *xml));
    }

    vtr.setCtMode (CtMode (0));
    vtr.setPtcl (0);
    g_LasPtcl4Usdf = 0;
    vtr.setCurrentOutputDevice ({});
    vtr.setPID (156);
    Defa::fillPitchNames();   // as the application does at start

    folder.getFile().deleteRecursively();
}

std::array<int, 4> slotRecordOf (int mode, int slot)
{
    const auto* record = arrForMoid[mode][slot];
    return { record[0], record[1], record[2], record[3] };
}

juce::StringArray itemTextsOf (const juce::ComboBox& box)
{
    juce::StringArray texts;

    for (int i = 0; i < box.getNumItems(); ++i)
        texts.add (box.getItemText (i));

    return texts;
}

juce::Button* findButtonWithText (juce::Component& parent, const juce::String& text)
{
    for (auto* c : parent.getChildren())
    {
        if (auto* b = dynamic_cast<juce::Button*> (c); b != nullptr && b->getButtonText() == text)
            return b;

        if (auto* b = findButtonWithText (*c, text))
            return b;
    }

    return nullptr;
}

juce::File writeMappingFile (const juce::File& folder, const juce::String& name, const juce::XmlElement& map)
{
    const auto file = folder.getChildFile (name + ".rilo");
    map.writeTo (file);
    return file;
}

//==============================================================================
EditorUnderTest::EditorUnderTest()
{
    content.chooseMappingFile = [this] (bool forSaving)
    {
        ++numFileDialogs;
        lastDialogWasForSaving = forSaving;
        return nextChosenFile;
    };
}

EditorUnderTest::~EditorUnderTest() = default;

juce::Component& EditorUnderTest::child (Child c)
{
    return *content.getChildComponent ((int) c);
}

juce::Label& EditorUnderTest::label (Child c)        { return dynamic_cast<juce::Label&> (child (c)); }
MapComboBox& EditorUnderTest::box (Child c)          { return dynamic_cast<MapComboBox&> (child (c)); }
CtModeComboBox& EditorUnderTest::modes()             { return dynamic_cast<CtModeComboBox&> (child (modeBox)); }
CtPtclComboBox& EditorUnderTest::protocols()         { return dynamic_cast<CtPtclComboBox&> (child (ptclBox)); }
juce::Button& EditorUnderTest::command (Child c)     { return dynamic_cast<juce::Button&> (child (c)); }
ControlSection& EditorUnderTest::controls()          { return dynamic_cast<ControlSection&> (child (controlSection)); }

MappableButton* EditorUnderTest::buttonFor (int cid)
{
    for (auto section : { mixerSection, controlSection })
        for (auto* c : child (section).getChildren())
            if (auto* b = dynamic_cast<MappableButton*> (c); b != nullptr && b->cid == cid)
                return b;

    return nullptr;
}

bool EditorUnderTest::click (int cid)
{
    auto* b = buttonFor (cid);

    if (b == nullptr)
        return false;

    click (*b);
    return true;
}

void EditorUnderTest::click (juce::Button& b)
{
    struct Watcher : juce::Button::Listener
    {
        void buttonClicked (juce::Button*) override  { clicked = true; }
        bool clicked = false;
    };

    Watcher watcher;
    b.addListener (&watcher);
    b.triggerClick();
    runUntil ([&watcher] { return watcher.clicked; });
    b.removeListener (&watcher);
}

void EditorUnderTest::choose (juce::ComboBox& b, int itemId)
{
    b.setSelectedId (itemId, juce::sendNotificationSync);
}

void EditorUnderTest::switchToMode (int mode)
{
    if (mode == 4)
    {
        choose (modes(), 4);
        choose (protocols(), 2);
    }
    else if (mode == 3)
    {
        choose (modes(), 4);
        choose (protocols(), 1);
    }
    else
    {
        choose (modes(), mode + 1);
    }
}

juce::ValueTree EditorUnderTest::controlTree (int cid) const
{
    return VtrPlus::singletonHolder.get()->getCurrentMap().getControlById (cid);
}

//==============================================================================
void showOutputInPicker (juce::Component& picker, int outputIndex)
{
    for (auto* c : picker.getChildren())
        if (auto* list = dynamic_cast<juce::ComboBox*> (c))
            list->setSelectedItemIndex (outputIndex, juce::sendNotificationSync);
}

void connectThroughPicker (EditorUnderTest& editor, int outputIndex)
{
    ModalScript script;
    script.onDialog ("Select your device", [outputIndex] (juce::DialogWindow&, juce::Component& content)
    {
        auto& picker = dynamic_cast<DeviceSelectComponent&> (content);
        showOutputInPicker (picker, outputIndex);

        if (auto* connect = findButtonWithText (picker, "Connect"))
            connect->triggerClick();
    });

    editor.click (editor.command (EditorUnderTest::connectDeviceButton));
}

AlertRecord sendThroughEditor (EditorUnderTest& editor, AlertRecorder& recorder)
{
    return clickAndCloseResultBox (editor, recorder, EditorUnderTest::sendDataButton);
}

AlertRecord clickAndCloseResultBox (EditorUnderTest& editor, AlertRecorder& recorder, EditorUnderTest::Child command)
{
    const auto numAlerts = recorder.alerts.size();
    editor.click (editor.command (command));

    auto* box = dynamic_cast<juce::AlertWindow*> (topModal());

    if (recorder.alerts.size() == numAlerts || box == nullptr)
        return {};

    box->triggerButtonClick ("OK");
    runUntil ([box] { return topModal() != box; });
    return recorder.alerts.back();
}

} // namespace gui_test
