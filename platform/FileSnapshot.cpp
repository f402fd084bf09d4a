#include "platform/FileSnapshot.h"

#include "platform/FileDescriptor.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>

namespace pomelark {

namespace {

FileSnapshot::Stamp stampOf(const struct stat &status)
{
    return {qint64(status.st_dev),         qint64(status.st_ino),          qint64(status.st_size),
            qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec), qint64(status.st_ctim.tv_sec),
            qint64(status.st_ctim.tv_nsec)};
}

/// The `size` bytes of `fd` from where it stands; nothing when a read fails,
/// or the file ends before them or goes on after them. Our own loop, as Qt's
/// unbuffered readAll() gives what came before a failed read as the whole.
std::optional<QByteArray> readExactly(int fd, qint64 size, const FileSnapshot::ReadSome &readSome)
{
    // One byte more than the size, to see a file that grew.
    QByteArray content(size + 1, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < content.size()) {
        const ssize_t n = readSome(fd, content.data() + filled, size_t(content.size() - filled));
        if (n == 0)
            break;
        if (n < 0 && errno != EINTR)
            return std::nullopt;
        filled += std::max<ssize_t>(n, 0);
    }
    if (filled != size)
        return std::nullopt;
    content.chop(1);
    return content;
}

} // namespace

QDateTime FileSnapshot::Stamp::modified() const
{
    return QDateTime::fromMSecsSinceEpoch(modifiedSeconds * 1000 + modifiedNanoseconds / 1000000);
}

FileSnapshot::Stamp FileSnapshot::Stamp::of(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return stampOf(status);
}

FileSnapshot::Stamp FileSnapshot::Stamp::ofOpen(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return {};
    return stampOf(status);
}

std::variant<FileSnapshot, FileSnapshot::Failure> FileSnapshot::read(const QString &path, qint64 maxBytes,
                                                                     const std::optional<Stamp> &expected,
                                                                     const ReadSome &readSome)
{
    const FileDescriptor file = FileDescriptor::openToRead(path);
    struct stat status {};
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return Failure::unreadable;
    if (status.st_size > maxBytes)
        return Failure::tooLarge;
    // Another file put under the name, or this one rewritten, since what was
    // worked out of it: nothing of it is read.
    if (expected && (!expected->isValid() || stampOf(status) != *expected))
        return Failure::unreadable;
    std::optional<QByteArray> content = readExactly(file.get(), status.st_size, readSome);
    // The same size before and after is no proof: a file rewritten during the
    // read gives part old, part new bytes.
    struct stat after {};
    if (!content || ::fstat(file.get(), &after) != 0 || stampOf(after) != stampOf(status))
        return Failure::unreadable;
    return FileSnapshot{std::move(*content), stampOf(status)};
}

} // namespace pomelark
