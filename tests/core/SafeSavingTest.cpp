#include <gtest/gtest.h>

#include "VerifiedFileWrite.h"
#include "VtrPlus.h"
#include "common/SmallFileSystem.h"
#include "common/TemporaryFolder.h"
#include "common/TemporarySettings.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
    /** The framework compares even empty blocks with memcmp, from a null pointer. */
    bool sameBytes (const juce::MemoryBlock& a, const juce::MemoryBlock& b)
    {
        return a.getSize() == b.getSize() && (a.isEmpty() || a == b);
    }

    juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        return bytes;
    }

    int permissionsOf (const juce::File& file)
    {
        struct stat info;
        return ::stat (file.getFullPathName().toRawUTF8(), &info) == 0 ? (int) (info.st_mode & 07777) : -1;
    }

    void setPermissions (const juce::File& file, int mode)
    {
        ASSERT_EQ (::chmod (file.getFullPathName().toRawUTF8(), (mode_t) mode), 0);
    }

    /** Every name in the folder, hidden ones too, sorted. */
    juce::StringArray namesIn (const juce::File& folder)
    {
        juce::StringArray names;

        for (const auto& entry : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findFilesAndDirectories))
            names.add (entry.getFile().getFileName());

        names.sort (true);
        return names;
    }

    std::string listOf (const juce::File& folder)
    {
        return namesIn (folder).joinIntoString (" ").toStdString();
    }

    /** What a save must leave alone when it fails. */
    struct Snapshot
    {
        explicit Snapshot (const juce::File& file)
            : exists (file.exists()), isFolder (file.isDirectory()), bytes (bytesOf (file)), permissions (permissionsOf (file)) {}

        bool operator== (const Snapshot& other) const
        {
            return exists == other.exists && isFolder == other.isFolder && sameBytes (bytes, other.bytes) && permissions == other.permissions;
        }

        bool exists, isFolder;
        juce::MemoryBlock bytes;
        int permissions;
    };

    struct SafeSaving : ::testing::Test
    {
        SafeSaving()    { device.setCtMode (3); }

        /** Gives one control of the current map a channel that no factory map has. */
        void editTheMap()   { device.getCurrentMap().getControlById (1).setProperty (Tags::chan, 9, nullptr); }

        TemporarySettings settings;
        VtrPlus device;
    };

    #define SKIP_UNLESS_MOUNTED(disk) \
        if (! (disk).isMounted()) \
            GTEST_SKIP() << "needs a small tmpfs to fill, and this system refuses it (" << (disk).whyNotMounted << ")"
}

//==============================================================================
TEST_F (SafeSaving, AFullDiskKeepsTheOldMappingFile)
{
    SmallFileSystem disk (64);
    SKIP_UNLESS_MOUNTED (disk);

    const auto file = disk.folder.getChildFile ("map.rilo");
    ASSERT_TRUE (device.saveCurrentMapping (file).wasOk());
    const auto before = bytesOf (file);
    ASSERT_GT (before.getSize(), 4096u);   // so that 4 KiB of room gives a short write
    editTheMap();

    for (const juce::int64 room : { 4096, 0 })
    {
        SCOPED_TRACE (juce::String (room) + " bytes free");
        ASSERT_TRUE (disk.fillLeaving (room));
        EXPECT_EQ (device.saveCurrentMapping (file).getErrorMessage(), "Failed to write mapping file");
        EXPECT_EQ (bytesOf (file), before);
        EXPECT_EQ (listOf (disk.folder), "filler map.rilo");
    }

    // With room again the edit is saved and loads back.
    disk.unfill();
    ASSERT_TRUE (device.saveCurrentMapping (file).wasOk());
    device.setCtMode (0);
    ASSERT_TRUE (device.openFile (file).wasOk());
    EXPECT_EQ ((int) device.getCurrentMap().getControlById (1)[Tags::chan], 9);
}

TEST_F (SafeSaving, AFullDiskKeepsTheOldSettingsFile)
{
    SmallFileSystem disk (64);
    SKIP_UNLESS_MOUNTED (disk);
    VtrPlus::setSettingsFolder (disk.folder);
    const auto file = disk.folder.getChildFile ("VtrPlus.conf");
    const auto currentModeInSettings = [&file]
    {
        juce::PropertiesFile::Options options;
        options.storageFormat = juce::PropertiesFile::storeAsCompressedBinary;
        juce::PropertiesFile properties (file, options);
        const auto modes = properties.getXmlValue ("modes");
        return modes != nullptr ? modes->getStringAttribute ("current") : juce::String();
    };

    std::make_unique<VtrPlus>().reset();
    const auto before = bytesOf (file);
    ASSERT_EQ (currentModeInSettings(), "mackie");

    // A loaded map keeps what it carries, so its settings outgrow a few KiB.
    const ScopedTemporaryFolder temp ("bulky-map");
    const auto bulkyMap = temp.folder.getChildFile ("bulky.rilo");
    const auto map = CtMap (CtMode (1)).tree.createXml();
    juce::Random random (11);
    juce::String noise;

    for (int i = 0; i < 2000; ++i)
        noise << juce::String::toHexString (random.nextInt64());

    map->setAttribute ("notes", noise);
    ASSERT_TRUE (map->writeTo (bulkyMap));

    for (const juce::int64 room : { 4096, 0 })
    {
        SCOPED_TRACE (juce::String (room) + " bytes free");
        ASSERT_TRUE (disk.fillLeaving (room));
        ASSERT_TRUE (std::make_unique<VtrPlus>()->openFile (bulkyMap).wasOk());
        EXPECT_EQ (bytesOf (file), before);
        EXPECT_EQ (listOf (disk.folder), "filler VtrPlus.conf");
    }

    disk.unfill();
    std::make_unique<VtrPlus>()->openFile (bulkyMap);
    EXPECT_EQ (currentModeInSettings(), "logic");
    EXPECT_EQ (listOf (disk.folder), "VtrPlus.conf");
}

// The tests run as root, whom the system lets write any file: read-only
// targets are refused only because the saver reads the permission bits.
TEST_F (SafeSaving, ReadOnlyTargetsAndFoldersAreRefused)
{
    struct Case
    {
        const char* what;
        std::function<juce::File (const juce::File& folder)> prepare;
        bool saves;
    };

    const auto fileWithText = [] (const juce::File& file, int permissions)
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText ("the user's old map");
        setPermissions (file, permissions);
        return file;
    };

    const Case cases[] = {
        { "a read-only file", [&] (const juce::File& folder) { return fileWithText (folder.getChildFile ("map.rilo"), 0444); }, false },
        { "a folder named like a mapping file",
          [] (const juce::File& folder) { folder.getChildFile ("map.rilo").createDirectory(); return folder.getChildFile ("map.rilo"); }, false },
        { "a new file in a read-only folder",
          [] (const juce::File& folder) { setPermissions (folder, 0555); return folder.getChildFile ("map.rilo"); }, false },
        { "a file in a read-only folder",
          [&] (const juce::File& folder) { const auto file = fileWithText (folder.getChildFile ("map.rilo"), 0644);
                                           setPermissions (folder, 0555); return file; }, false },
        { "a private file", [&] (const juce::File& folder) { return fileWithText (folder.getChildFile ("map.rilo"), 0600); }, true },
        { "a new file", [] (const juce::File& folder) { return folder.getChildFile ("map.rilo"); }, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const ScopedTemporaryFolder temp ("refused-save");
        const auto target = c.prepare (temp.folder);
        const Snapshot before (target);

        const auto result = device.saveCurrentMapping (target);
        setPermissions (temp.folder, 0755);

        if (c.saves)
        {
            EXPECT_TRUE (result.wasOk());
            const auto saved = juce::parseXML (target);
            ASSERT_NE (saved, nullptr);
            EXPECT_EQ (saved->getStringAttribute ("mode"), "usrdef-mcp");

            if (before.exists)
            {
                EXPECT_EQ (permissionsOf (target), before.permissions);
            }
        }
        else
        {
            EXPECT_EQ (result.getErrorMessage(), "Failed to write mapping file");
            EXPECT_TRUE (Snapshot (target) == before);
        }

        // Nothing but the target, staging files included.
        EXPECT_EQ (listOf (temp.folder), target.exists() ? "map.rilo" : "");
    }
}

TEST_F (SafeSaving, SavingThroughALinkReplacesTheFileItNames)
{
    const ScopedTemporaryFolder temp ("linked-save");
    const auto real = temp.folder.getChildFile ("maps").getChildFile ("real.rilo");
    const auto link = temp.folder.getChildFile ("map.rilo");
    ASSERT_TRUE (real.create());
    ASSERT_TRUE (real.createSymbolicLink (link, false));

    ASSERT_TRUE (device.saveCurrentMapping (link).wasOk());
    EXPECT_TRUE (link.isSymbolicLink());
    const auto saved = juce::parseXML (real);
    ASSERT_NE (saved, nullptr);
    EXPECT_EQ (saved->getStringAttribute ("mode"), "usrdef-mcp");
    EXPECT_EQ (listOf (real.getParentDirectory()), "real.rilo");
}

TEST (KilledSave, LeavesTheOldFileAndNothingThatTheLoadDialogShows)
{
    const ScopedTemporaryFolder temp ("killed-save");
    const auto target = temp.folder.getChildFile ("map.rilo");

    // Large enough that a save takes a while, so the kill lands inside one.
    juce::MemoryBlock first (8 << 20), second (8 << 20);
    first.fillWith ('a');
    second.fillWith ('b');
    ASSERT_TRUE (writeFileVerified (target, first));

    const auto child = ::fork();
    ASSERT_GE (child, 0);

    if (child == 0)
        for (int i = 0;; ++i)
            writeFileVerified (target, i % 2 == 0 ? second : first);

    // Kill the saver once its staging file is there.
    const auto deadline = juce::Time::getMillisecondCounter() + 30000;

    while (namesIn (temp.folder).size() < 2 && juce::Time::getMillisecondCounter() < deadline)
        juce::Thread::sleep (1);

    ::kill (child, SIGKILL);
    ::waitpid (child, nullptr, 0);

    const auto left = bytesOf (target);
    EXPECT_TRUE (left == first || left == second);

    const juce::WildcardFileFilter loadDialogFilter ("*.rilo", "*", "mapping files");

    for (const auto& name : namesIn (temp.folder))
    {
        if (name == "map.rilo")
            continue;

        SCOPED_TRACE (name);
        EXPECT_TRUE (name.startsWith ("."));
        EXPECT_FALSE (loadDialogFilter.isFileSuitable (temp.folder.getChildFile (name)));
    }

    // The next save clears the leftover.
    ASSERT_TRUE (writeFileVerified (target, first));
    EXPECT_EQ (listOf (temp.folder), "map.rilo");
}
