#include "platform/NoReplaceCopy.h"

#include "platform/FileDescriptor.h"
#include "platform/SystemErrorText.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace pomelark {

namespace {

using Fd = FileDescriptor;

using Kind = NoReplaceCopy::Error::Kind;

[[noreturn]] void fail(Kind kind, const QString &what, int error)
{
    throw NoReplaceCopy::Error(kind, what, error);
}

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

void copyContent(int from, int to)
{
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(Kind::readFile, QStringLiteral("Cannot read the file"), errno);
        }
        if (got == 0)
            return;
        for (ssize_t written = 0; written < got;) {
            const ssize_t put = ::write(to, buffer.data() + written, size_t(got - written));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                fail(Kind::writeFolder, QStringLiteral("Cannot write into the folder"), errno);
            }
            written += put;
        }
    }
}

/// "name.ext", then "name (2).ext", "name (3).ext", …
QString candidateName(const QString &fileName, int attempt)
{
    if (attempt == 1)
        return fileName;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? fileName.left(dot) : fileName;
    const QString extension = dot > 0 ? fileName.mid(dot) : QString();
    return stem + QStringLiteral(" (%1)").arg(attempt) + extension;
}

QString safeName(const QString &fileName)
{
    QString name = QFileInfo(fileName).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("Untitled");
    // A leading dot would hide the copy.
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    return name.isEmpty() ? QStringLiteral("Untitled") : name;
}

/// Gives the finished copy its name without ever replacing a file: linking an
/// unnamed file fails on an existing name, and so does renameat2 with NOREPLACE
/// (std::filesystem::rename would replace silently).
bool publish(int folder, int copy, const QByteArray &temporaryName, const QByteArray &name)
{
    if (temporaryName.isEmpty()) {
        const QByteArray proc = "/proc/self/fd/" + QByteArray::number(copy);
        if (::linkat(AT_FDCWD, proc.constData(), folder, name.constData(), AT_SYMLINK_FOLLOW) == 0)
            return true;
    } else {
        if (::renameat2(folder, temporaryName.constData(), folder, name.constData(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno == EINVAL || errno == ENOSYS) {
            // Filesystems without NOREPLACE: a hard link fails on an existing name too.
            if (::linkat(folder, temporaryName.constData(), folder, name.constData(), 0) == 0) {
                ::unlinkat(folder, temporaryName.constData(), 0);
                return true;
            }
        }
    }
    if (errno == EEXIST)
        return false;
    fail(Kind::nameFile, QStringLiteral("Cannot name the file"), errno);
}

} // namespace

NoReplaceCopy::Error::Error(Kind kind, const QString &what, int systemError)
    : std::runtime_error((systemError == 0 ? what
                                           : what + QStringLiteral(": ") + SystemErrorText::systemDescription(systemError))
                             .toStdString()),
      m_kind(kind), m_systemError(systemError)
{
}

QString NoReplaceCopy::Error::systemText() const
{
    return m_systemError == 0 ? QString() : SystemErrorText::of(m_systemError);
}

QString NoReplaceCopy::copy(const QString &file, const QString &folderPath, const QString &fileName,
                            std::optional<QDateTime> date)
{
    Fd source = Fd::openToRead(file);
    if (source.get() < 0)
        fail(Kind::openFile, QStringLiteral("Cannot open the file"), errno);
    struct stat sourceStat {};
    if (::fstat(source.get(), &sourceStat) != 0)
        fail(Kind::openFile, QStringLiteral("Cannot open the file"), errno);
    // Pipes, devices and sockets have no content of their own to copy (a
    // device may have endless content).
    if (!S_ISREG(sourceStat.st_mode))
        throw NoReplaceCopy::Error(Kind::notRegularFile, QStringLiteral("Cannot copy the file: it is not a regular file"));
    ::fcntl(source.get(), F_SETFL, ::fcntl(source.get(), F_GETFL) & ~O_NONBLOCK);
    const timespec keptTime = date ? timespec{date->toSecsSinceEpoch(), 0} : sourceStat.st_mtim;

    Fd folder(::open(encoded(folderPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0)
        fail(Kind::openFolder, QStringLiteral("Cannot open the folder ") + folderPath, errno);

    // An unnamed file vanishes by itself if we fail or are killed before naming
    // it. Where the filesystem has no unnamed files, a hidden temporary takes
    // its place and is removed on failure.
    QByteArray temporaryName;
    Fd copy(::openat(folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644));
    if (copy.get() < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            fail(Kind::writeFolder, QStringLiteral("Cannot write into the folder"), errno);
        QByteArray pattern = encoded(folderPath) + '/' + temporaryPrefix
                             + QByteArray(temporarySuffixLength, 'X');
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0)
            fail(Kind::writeFolder, QStringLiteral("Cannot write into the folder"), errno);
        copy.reset(fd);
        ::fchmod(fd, 0644);
        temporaryName = pattern.mid(pattern.lastIndexOf('/') + 1);
    }
    auto discard = [&] {
        if (!temporaryName.isEmpty())
            ::unlinkat(folder.get(), temporaryName.constData(), 0);
    };

    try {
        copyContent(source.get(), copy.get());
        const timespec times[2] = {keptTime, keptTime};
        if (::futimens(copy.get(), times) != 0 || ::fsync(copy.get()) != 0)
            fail(Kind::finishFile, QStringLiteral("Cannot finish the file"), errno);
        const QString name = safeName(fileName);
        for (int attempt = 1; attempt <= 10000; ++attempt) {
            const QString candidate = candidateName(name, attempt);
            if (publish(folder.get(), copy.get(), temporaryName, encoded(candidate))) {
                ::fsync(folder.get());
                return folderPath + QLatin1Char('/') + candidate;
            }
        }
        fail(Kind::noFreeName, QStringLiteral("No free name for ") + name, EEXIST);
    } catch (...) {
        discard();
        throw;
    }
}

} // namespace pomelark
