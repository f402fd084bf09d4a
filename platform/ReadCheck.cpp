#include "platform/ReadCheck.h"

#include "platform/FileDescriptor.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace pomelark {

int ReadCheck::readError(const QString &path)
{
    const FileDescriptor file = FileDescriptor::openToRead(path);
    if (!file.isOpen())
        return errno;
    struct stat attributes {};
    if (::fstat(file.get(), &attributes) != 0)
        return errno;
    if (!S_ISREG(attributes.st_mode))
        return EINVAL;
    // Without its cached pages the reads below must reach the device.
    ::posix_fadvise(file.get(), 0, 0, POSIX_FADV_DONTNEED);
    std::array<char, 4096> block;
    const off_t size = attributes.st_size;
    for (const off_t offset : {off_t(0), size / 2, std::max<off_t>(0, size - off_t(block.size()))}) {
        if (offset >= size)
            continue;
        const ssize_t read = ::pread(file.get(), block.data(), block.size(), offset);
        if (read < 0)
            return errno;
        if (read == 0)
            return ENODATA;
    }
    return 0;
}

bool ReadCheck::isDeviceError(int error)
{
    // ENOTCONN and ESHUTDOWN come from file systems whose device is a
    // connection (a camera over USB, a FUSE mount whose daemon quit).
    switch (error) {
    case EIO:
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
    case ENOTCONN:
    case ESHUTDOWN:
        return true;
    default:
        return false;
    }
}

} // namespace pomelark
