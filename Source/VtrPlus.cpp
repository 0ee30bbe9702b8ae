#include "VtrPlus.h"

#include "Arrays.h"
#include "Defa.h"
#include "LoadedMapCheck.h"
#include "MappingTransfer.h"
#include "VerifiedFileWrite.h"

#include <zuvo_core/zuvo_core.h>

int g_LasPtcl4Usdf = 0;

juce::SingletonHolder<VtrPlus, juce::CriticalSection, true> VtrPlus::singletonHolder;

namespace
{
    juce::File& settingsFolderOverride()
    {
        static juce::File folder;
        return folder;
    }

    /** The folder of the settings file when the machine-wide one is not to be
        used: setSettingsFolder(), else the environment variable
        VTR_SETTINGS_DIR (which lets tests that start the application as a
        process keep it out of /var); File() for the machine-wide folder. */
    juce::File redirectedSettingsFolder()
    {
        if (settingsFolderOverride() != juce::File())
            return settingsFolderOverride();

        const auto fromEnvironment = juce::SystemStats::getEnvironmentVariable ("VTR_SETTINGS_DIR", {});

        if (juce::File::isAbsolutePath (fromEnvironment))
            return juce::File (fromEnvironment);

        return {};
    }

    juce::PropertiesFile::Options settingsFileOptions()
    {
        juce::PropertiesFile::Options fileOptions;
        fileOptions.applicationName = "VtrPlus";
        fileOptions.filenameSuffix = ".conf";
        fileOptions.folderName = "ZuvoAudio/VtrPlus";
        fileOptions.osxLibrarySubFolder = "Application Support";
        fileOptions.commonToAllUsers = true;
        fileOptions.storageFormat = juce::PropertiesFile::storeAsCompressedBinary;

        // An absolute folder name replaces the machine-wide folder.
        if (const auto folder = redirectedSettingsFolder(); folder != juce::File())
            fileOptions.folderName = folder.getFullPathName();

        return fileOptions;
    }

    /** The framework's properties, set up for the settings file. */
    class Settings final : public juce::ApplicationProperties
    {
    public:
        Settings()    { setStorageParameters (options); }

        const juce::PropertiesFile::Options options = settingsFileOptions();
    };

    /** The bytes of a properties file in this format that holds exactly these
        properties: written by the framework into a scratch file of the
        temporary folder and read back through it. Empty when that fails. */
    juce::MemoryBlock propertiesFileBytes (juce::PropertySet& properties,
                                           const juce::PropertiesFile::Options& options)
    {
        const juce::TemporaryFile scratch;

        {
            juce::PropertiesFile written (scratch.getFile(), options);
            written.addAllPropertiesFrom (properties);

            if (! written.save())
                return {};
        }

        juce::PropertiesFile readBack (scratch.getFile(), options);
        juce::MemoryBlock bytes;

        if (readBack.getAllProperties() != properties.getAllProperties() || ! scratch.getFile().loadFileAsData (bytes))
            return {};

        return bytes;
    }

    const juce::String loadFailure ("Could not load mapping data");

    juce::XmlElement::TextFormat mappingFileFormat()
    {
        juce::XmlElement::TextFormat format;
        format.customEncoding = "UTF-8";
        format.lineWrapLength = 60;
        return format;
    }

    /** The bytes that the text takes as an attribute value in a saved file. */
    size_t savedLengthOf (const juce::String& text)
    {
        juce::XmlElement element ("e");
        element.setAttribute ("v", text);
        const auto format = juce::XmlElement::TextFormat().singleLine().withoutHeader();
        return element.toString (format).getNumBytesAsUTF8() - std::strlen ("<e v=\"\"/>");
    }

    /** The length of the longest file that the map saves to, now or after
        any edit. The editor writes no text longer than 12 characters into the
        properties of a map and of its controls, and wrapping attributes only
        adds line breaks; so the file is never longer than the map written with
        each such property at least 12 characters long and every attribute on
        a line of its own, a length that no edit changes. */
    size_t longestSaveOf (const juce::ValueTree& map)
    {
        const juce::String widestText ("xxxxxxxxxxxx");

        const auto widen = [&] (juce::ValueTree tree, std::initializer_list<juce::Identifier> properties)
        {
            for (const auto& property : properties)
                if (savedLengthOf (tree[property].toString()) < (size_t) widestText.length())
                    tree.setProperty (property, widestText, nullptr);
        };

        const auto widened = map.createCopy();
        widen (widened, { Tags::mode, Tags::name, Tags::ptcl });

        for (const auto& child : widened)
            if (child.hasType (Tags::controls))
                for (const auto& control : child)
                    widen (control, { Tags::type, Tags::chan, Tags::value, Tags::v1, Tags::v2, Tags::velo });

        auto everyAttributeOnItsOwnLine = mappingFileFormat();
        everyAttributeOnItsOwnLine.lineWrapLength = 1;
        return widened.toXmlString (everyAttributeOnItsOwnLine).getNumBytesAsUTF8();
    }

    /** The map tree of the file, or an invalid tree when the file, or one that
        its map may save to, is too long, or when it is not a plain well-formed
        XML document (zuvo::parseUntrustedXml). Reads no more than a mapping
        file may hold, so that a longer file, or one without end, is refused
        at once. */
    juce::ValueTree readMappingFile (const juce::File& file)
    {
        juce::FileInputStream stream (file);
        juce::MemoryBlock content;

        if (! file.existsAsFile() || ! stream.openedOk()
              || stream.readIntoMemoryBlock (content, VtrPlus::maxMappingFileBytes + 1) > (size_t) VtrPlus::maxMappingFileBytes)
            return {};

        const auto xml = zuvo::parseUntrustedXml (juce::String::createStringFromData (content.getData(), (int) content.getSize()));

        if (xml == nullptr)
            return {};

        const auto map = juce::ValueTree::fromXml (*xml);

        if (longestSaveOf (map) > (size_t) VtrPlus::maxMappingFileBytes)
            return {};

        return map;
    }

    /** An attribute repeated in one element makes a document ill-formed; the
        framework would keep both, and the tree would read one and save the other. */
    bool repeatsAProperty (const juce::ValueTree& root)
    {
        juce::Array<juce::ValueTree> pending { root };

        while (! pending.isEmpty())
        {
            const auto tree = pending.removeAndReturn (pending.size() - 1);
            std::set<juce::String> names;

            for (int i = 0; i < tree.getNumProperties(); ++i)
                if (! names.insert (tree.getPropertyName (i).toString()).second)
                    return true;

            for (const auto& child : tree)
                pending.add (child);
        }

        return false;
    }

    /** The slug of the mode that the text names once trimmed, or an empty
        string when it names none of the five. */
    juce::String exactSlugOf (const juce::String& modeText)
    {
        const auto slug = CtMode::slugForType (CtMode (modeText));
        return slug == modeText.trim() ? slug : juce::String();
    }
}

//==============================================================================
class VtrPlus::Impl
{
public:
    Impl()
    {
        createDefaultMaps();
    }

    virtual ~Impl() = default;

    void createDefaultMaps()
    {
        for (int mode = 0; mode < 5; ++mode)
            modesTree.appendChild (createDefaultMapFor (mode), nullptr);

        setCurrentMode (0);
        setCurrentPtcl (0);
    }

    juce::ValueTree createDefaultMapFor (CtMode mode)
    {
        return CtMap (mode).tree;
    }

    void setCurrentMode (CtMode mode)
    {
        currentMode = mode;
        currentMap = findMode (mode);
        modesTree.setProperty (Tags::curr, CtMode::slugForType (mode), nullptr);
    }

    juce::ValueTree findMode (CtMode mode) const
    {
        return modesTree.getChildWithProperty (Tags::mode, CtMode::slugForType (mode));
    }

    void setCurrentPtcl (int)
    {
        const auto protocol = CtMode::protocolForType (currentMode);

        if (currentMode == 3 || currentMode == 4)
            g_LasPtcl4Usdf = protocol;

        if (currentMap.isValid())
            currentMap.setProperty (Tags::ptcl, protocol, nullptr);
    }

    void saveSettings()
    {
        // Only the common file is written: when it cannot be, the settings go
        // nowhere rather than somewhere else. The framework's own save would
        // replace it even after a short write (its test of whether the file can
        // be written is such a save), so it goes through the verified write.
        auto* common = settings.getCommonSettings (false);
        const auto xml = modesTree.createXml();

        if (common == nullptr || xml == nullptr)
            return;

        juce::PropertySet content;
        content.addAllPropertiesFrom (*common);
        content.setValue ("modes", xml.get());

        const auto file = common->getFile();
        const auto bytes = propertiesFileBytes (content, settings.options);

        if (! bytes.isEmpty() && file.getParentDirectory().createDirectory())
            writeFileVerified (file, bytes);
    }

    juce::Result sendCurrentMapping()
    {
        return sendMapping (outputDeviceName, CtMap (currentMap), pid);
    }

    //==============================================================================
    juce::Result openFile (const juce::File& file)
    {
        auto loaded = readMappingFile (file);
        const auto slug = exactSlugOf (loaded[Tags::mode].toString());

        // A document that names none of the five modes would leave no current map.
        if (! loaded.isValid() || slug.isEmpty() || repeatsAProperty (loaded))
            return juce::Result::fail (loadFailure);

        loaded.setProperty (Tags::mode, slug, nullptr);
        const CtMode mode (slug);
        restoreJogNormalState (CtMap (loaded));

        if (! holdsOnlyWhatTheEditorWrites (CtMap (loaded)))
            return juce::Result::fail (loadFailure);

        const auto index = modesTree.indexOf (findMode (mode));

        if (index >= 0)
            modesTree.removeChild (index, nullptr);

        modesTree.addChild (loaded, index, nullptr);
        setCurrentMode (mode);

        // The protocol that the boxes show is the one the mode sends.
        setCurrentPtcl (CtMode::protocolForType (mode));

        if (mode == 3)
            rebuildUserMcpTables (CtMap (loaded));
        else if (mode == 4)
            rebuildUserHuiTables (CtMap (loaded));

        return juce::Result::ok();
    }

    juce::Result saveCurrentMapping (const juce::File& file) const
    {
        const auto xml = currentMap.createXml();

        if (xml == nullptr)
            return juce::Result::fail ("Could not save current mapping to disk");

        juce::MemoryOutputStream document;
        xml->writeTo (document, mappingFileFormat());

        if (! writeFileVerified (file, document.getMemoryBlock()))
            return juce::Result::fail ("Failed to write mapping file");

        return juce::Result::ok();
    }

    //==============================================================================
    Settings settings;
    juce::String outputDeviceName;
    juce::ValueTree modesTree { Tags::modes };
    juce::ValueTree currentMap;
    int pid = 156;
    int currentMode = 1;

private:
    /** nd and knobVelos from a loaded "usrdef-mcp" map: each control into its
        own slot, whatever the zoom state, so the jog's normal state (73, 74) and
        its zoom states (86-89) each keep the file's assignment. */
    static void rebuildUserMcpTables (const CtMap& map)
    {
        for (int id = 1; id <= 89; ++id)
        {
            const auto control = map.getControlById (id);
            const auto type = Defa::getMstyForSel (CtType (control[Tags::type].toString()));
            const auto chan = (int) control.getProperty (Tags::chan, 1);
            const auto value = (int) control.getProperty (Tags::value, 0);
            const auto velo = (int) control.getProperty (Tags::velo, 127);
            auto* record = nd[slotForCid (id)];

            record[0] = (juce::uint8) type;
            record[1] = (juce::uint8) (((unsigned) type << 4) | ((unsigned) chan - 1u));
            record[2] = (juce::uint8) (value & 0xff);
            record[3] = (juce::uint8) (velo & 0xff);

            const auto isKnob = id >= 65 && id <= 72;
            const auto isJog = id == 73 || id == 74;

            if (type == 11 && (isKnob || isJog))
            {
                const auto number = record[2];
                const auto column = ((number >= 16 && number <= 23) || number == 60) ? 0 : 1;
                knobVelos[isKnob ? id - 65 : 8][column] = record[3];
            }
        }
    }

    /** The four "usrdef-hui" pair tables from a loaded "usrdef-hui" map, so
        that the records sent from them (direction and jog) carry what the file
        holds, as the editor's edits do. In ascending id order, so the jog halves
        of the zoom states (86-89) win the rows they share with the zoom
        buttons; a missing control leaves its row as it is. */
    static void rebuildUserHuiTables (const CtMap& map)
    {
        for (int id = 1; id <= 89; ++id)
        {
            const auto control = map.getControlById (id);
            auto* pair = huiPairRowFor (Defa::kindForCid (id), id);

            if (! control.isValid() || pair == nullptr)
                continue;

            pair[0] = (juce::uint8) ((int) control.getProperty (Tags::v1, pair[0]) & 0xff);
            pair[1] = (juce::uint8) ((int) control.getProperty (Tags::v2, pair[1]) & 0xff);
        }
    }

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Impl)
};

//==============================================================================
VtrPlus::VtrPlus() : impl (std::make_unique<Impl>()) {}

VtrPlus::~VtrPlus()
{
    impl->saveSettings();
    impl.reset();
    singletonHolder.clear (this);
}

CtMap VtrPlus::getCurrentMap() const        { return CtMap (impl->currentMap); }
CtMode VtrPlus::getCurrentCtMode() const    { return getCurrentMap().getCtMode(); }
int VtrPlus::getCurrPtcl() const            { return (int) impl->currentMap[Tags::ptcl]; }

void VtrPlus::setCtMode (CtMode mode)       { impl->setCurrentMode (mode); }
void VtrPlus::setPtcl (int protocol)        { impl->setCurrentPtcl (protocol); }
void VtrPlus::setPID (int pid)              { impl->pid = pid; }
int VtrPlus::getPID() const                 { return impl->pid; }

void VtrPlus::setCurrentOutputDevice (const juce::String& name)   { impl->outputDeviceName = name; }
juce::ValueTree VtrPlus::getModesTree() const                     { return impl->modesTree; }

juce::Result VtrPlus::openFile (const juce::File& file)               { return impl->openFile (file); }
juce::Result VtrPlus::saveCurrentMapping (const juce::File& file)     { return impl->saveCurrentMapping (file); }
juce::Result VtrPlus::sendCurrentMapping()                            { return impl->sendCurrentMapping(); }

void VtrPlus::setSettingsFolder (const juce::File& folder)            { settingsFolderOverride() = folder; }

//==============================================================================
int Defa::getMsVal (int cid)
{
    const auto* device = VtrPlus::singletonHolder.get();
    const auto mode = device != nullptr ? device->getCurrentCtMode() : CtMode (0);
    return arrForMoid[mode][slotForCid (cid)][2];
}
