#include "platform/FileSnapshot.h"

#include "platform/FileDescriptor.h"

#include <QFile>

#include <sys/stat.h>

namespace pomelark {

namespace {

FileSnapshot::Stamp stampOf(const struct stat &status)
{
    return {qint64(status.st_dev),         qint64(status.st_ino),          qint64(status.st_size),
            qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec), qint64(status.st_ctim.tv_sec),
            qint64(status.st_ctim.tv_nsec)};
}

/// Reads from `fd` to its end. Nothing when a read fails: what came before
/// the failure is no picture of the file.
std::optional<QByteArray> readToEnd(int fd)
{
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return std::nullopt;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
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

std::optional<FileSnapshot> FileSnapshot::read(const QString &path)
{
    const FileDescriptor file = FileDescriptor::openToRead(path);
    struct stat status {};
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    std::optional<QByteArray> content = readToEnd(file.get());
    if (!content)
        return std::nullopt;
    return FileSnapshot{std::move(*content), stampOf(status)};
}

} // namespace pomelark
