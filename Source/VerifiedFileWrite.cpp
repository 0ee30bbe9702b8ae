#include "VerifiedFileWrite.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    /** The system's answer for this user, and a write bit at all: the system
        answers yes to root for every file, read-only or not. */
    bool isWritable (const juce::File& file, const struct stat& info)
    {
        return file.hasWriteAccess() && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    }

    bool statOf (const juce::File& file, struct stat& info)
    {
        return ::stat (file.getFullPathName().toRawUTF8(), &info) == 0;
    }

    juce::File stagingFileFor (const juce::File& target)
    {
        return target.getSiblingFile ("." + target.getFileName() + ".saving");
    }

    bool writeAll (int fd, const juce::MemoryBlock& content)
    {
        auto* data = static_cast<const char*> (content.getData());
        size_t written = 0;

        while (written < content.getSize())
        {
            const auto n = ::write (fd, data + written, content.getSize() - written);

            if (n < 0 && errno == EINTR)
                continue;

            if (n <= 0)
                return false;

            written += (size_t) n;
        }

        return true;
    }

    /** Creates the staging file, with the permission bits of the file it
        replaces (or those of a new file), and writes the content to disk;
        false on any error along the way. */
    bool writeStagingFile (const juce::File& staging, const juce::MemoryBlock& content, const struct stat* replaced)
    {
        const auto fd = ::open (staging.getFullPathName().toRawUTF8(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                replaced != nullptr ? 0600 : 0666);

        if (fd < 0)
            return false;

        const auto ok = writeAll (fd, content)
                         && (replaced == nullptr || ::fchmod (fd, replaced->st_mode & 07777) == 0)
                         && ::fsync (fd) == 0;

        return ::close (fd) == 0 && ok;
    }

    bool holdsExactly (const juce::File& file, const juce::MemoryBlock& content)
    {
        juce::MemoryBlock readBack;
        // The framework compares even empty blocks with memcmp, from a null pointer.
        return file.loadFileAsData (readBack)
            && readBack.getSize() == content.getSize()
            && (content.isEmpty() || readBack == content);
    }

    /** Makes the rename itself durable. */
    void syncFolder (const juce::File& folder)
    {
        const auto fd = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

        if (fd >= 0)
        {
            ::fsync (fd);
            ::close (fd);
        }
    }
}

bool writeFileVerified (const juce::File& link, const juce::MemoryBlock& content)
{
    // Saving through a link updates the file it names and keeps the link.
    const auto target = link.isSymbolicLink() ? link.getLinkedTarget() : link;
    const auto folder = target.getParentDirectory();
    struct stat folderInfo, targetInfo;

    if (! statOf (folder, folderInfo) || ! S_ISDIR (folderInfo.st_mode) || ! isWritable (folder, folderInfo))
        return false;

    const auto targetExists = statOf (target, targetInfo);

    if (targetExists && (! S_ISREG (targetInfo.st_mode) || ! isWritable (target, targetInfo)))
        return false;

    // A staging file left by a save that was killed is replaced.
    const auto staging = stagingFileFor (target);
    ::unlink (staging.getFullPathName().toRawUTF8());

    if (writeStagingFile (staging, content, targetExists ? &targetInfo : nullptr)
         && holdsExactly (staging, content)
         && ::rename (staging.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) == 0)
    {
        syncFolder (folder);
        return true;
    }

    ::unlink (staging.getFullPathName().toRawUTF8());
    return false;
}
