#include "AtomicFile.h"

#include "RandomSource.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tarn::AtomicFile
{
namespace
{
    juce::Result failure (const juce::String& what, const juce::File& file, int error)
    {
        return juce::Result::fail (what + " " + file.getFullPathName() + ": " + juce::String (std::strerror (error)));
    }

    bool writeAll (int descriptor, const char* bytes, size_t numBytes, int& error)
    {
        while (numBytes > 0)
        {
            const auto written = ::write (descriptor, bytes, numBytes);

            if (written < 0)
            {
                if (errno == EINTR)
                    continue;

                error = errno;
                return false;
            }

            bytes += written;
            numBytes -= (size_t) written;
        }

        return true;
    }

    /** Makes the rename itself survive a power cut. Best effort: the data is safe either way. */
    void syncFolder (const juce::File& folder)
    {
        const auto descriptor = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

        if (descriptor >= 0)
        {
            ::fsync (descriptor);
            ::close (descriptor);
        }
    }
} // namespace

juce::Result replaceWithData (const juce::File& target, const void* data, size_t numBytes)
{
    const auto folder = target.getParentDirectory();

    if (! folder.isDirectory())
        return failure ("No folder for", target, ENOENT);

    if (target.isDirectory())
        return failure ("A folder is in the way of", target, EISDIR);

    // The temporary name does not end in the target's extension, so a leftover from a
    // crash is never mistaken for a real file of that kind.
    auto random = RandomSource::makeGenerator();
    juce::File temporary;
    int descriptor = -1;

    for (int attempt = 0; attempt < 16 && descriptor < 0; ++attempt)
    {
        temporary = folder.getChildFile ("." + target.getFileName() + "." + juce::String::toHexString (random.nextInt64()) + ".tmp");
        descriptor = ::open (temporary.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);

        if (descriptor < 0 && errno != EEXIST)
            return failure ("Cannot create a temporary file for", target, errno);
    }

    if (descriptor < 0)
        return failure ("Cannot create a temporary file for", target, EEXIST);

    int error = 0;
    bool ok = writeAll (descriptor, static_cast<const char*> (data), numBytes, error);

    if (ok && ::fsync (descriptor) != 0)
    {
        error = errno;
        ok = false;
    }

    if (::close (descriptor) != 0 && ok)
    {
        error = errno;
        ok = false;
    }

    if (ok && std::rename (temporary.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) != 0)
    {
        error = errno;
        ok = false;
    }

    if (! ok)
    {
        ::unlink (temporary.getFullPathName().toRawUTF8());
        return failure ("Cannot write", target, error);
    }

    syncFolder (folder);
    return juce::Result::ok();
}

juce::Result replaceWithText (const juce::File& target, const juce::String& text)
{
    const auto* utf8 = text.toRawUTF8();
    return replaceWithData (target, utf8, std::strlen (utf8));
}

} // namespace tarn::AtomicFile
