#include "SmallFileSystem.h"

#include "TemporaryFolder.h"

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/statvfs.h>

namespace
{
    juce::int64 freeBytesIn (const juce::File& folder)
    {
        struct statvfs info;

        if (::statvfs (folder.getFullPathName().toRawUTF8(), &info) != 0)
            return -1;

        return (juce::int64) info.f_bavail * (juce::int64) info.f_frsize;
    }
}

SmallFileSystem::SmallFileSystem (int sizeKiB)
    : folder (createUniqueTemporaryFolder ("small-fs"))
{
    const auto options = "size=" + juce::String (sizeKiB) + "k";

    if (::mount ("tmpfs", folder.getFullPathName().toRawUTF8(), "tmpfs", 0, options.toRawUTF8()) != 0)
        whyNotMounted = "mount of a tmpfs refused: " + juce::String (std::strerror (errno));
}

SmallFileSystem::~SmallFileSystem()
{
    if (isMounted())
        ::umount2 (folder.getFullPathName().toRawUTF8(), MNT_DETACH);

    folder.deleteRecursively();
}

bool SmallFileSystem::fillLeaving (juce::int64 bytesLeft)
{
    const auto toFill = freeBytesIn (folder) - bytesLeft;

    if (toFill > 0)
    {
        juce::FileOutputStream out (filler());
        const juce::HeapBlock<char> zeros (toFill, true);
        out.write (zeros, (size_t) toFill);
        out.flush();
    }

    return isMounted() && freeBytesIn (folder) <= bytesLeft;
}

void SmallFileSystem::unfill()
{
    filler().deleteFile();
}
