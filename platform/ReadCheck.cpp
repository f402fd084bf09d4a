#include "platform/ReadCheck.h"

#include "platform/FileDescriptor.h"

#include <algorithm>
#include <array>

#include <fcntl.h>
#include <sys/stat.h>

namespace pomelark {

bool ReadCheck::readsFromDevice(const QString &path)
{
    const FileDescriptor file = FileDescriptor::openToRead(path);
    struct stat attributes {};
    if (!file.isOpen() || ::fstat(file.get(), &attributes) != 0 || !S_ISREG(attributes.st_mode))
        return false;
    // Without its cached pages the reads below must reach the device.
    ::posix_fadvise(file.get(), 0, 0, POSIX_FADV_DONTNEED);
    std::array<char, 4096> block;
    const off_t size = attributes.st_size;
    for (const off_t offset : {off_t(0), size / 2, std::max<off_t>(0, size - off_t(block.size()))}) {
        if (offset < size && ::pread(file.get(), block.data(), block.size(), offset) <= 0)
            return false;
    }
    return true;
}

} // namespace pomelark
