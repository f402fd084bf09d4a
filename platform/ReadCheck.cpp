#include "platform/ReadCheck.h"

#include <QFile>

#include <algorithm>
#include <array>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pomelark {

bool ReadCheck::readsFromDevice(const QString &path)
{
    // Not blocking: opening a named pipe would wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat attributes {};
    bool readable = ::fstat(fd, &attributes) == 0 && S_ISREG(attributes.st_mode);
    if (readable) {
        // Without its cached pages the reads below must reach the device.
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        std::array<char, 4096> block;
        const off_t size = attributes.st_size;
        for (const off_t offset : {off_t(0), size / 2, std::max<off_t>(0, size - off_t(block.size()))}) {
            if (offset < size && ::pread(fd, block.data(), block.size(), offset) <= 0) {
                readable = false;
                break;
            }
        }
    }
    ::close(fd);
    return readable;
}

} // namespace pomelark
