#include "platform/HeldFile.h"

#include "platform/FileDescriptor.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace pomelark {

HeldFile::HeldFile(HeldFile &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_error(other.m_error), m_path(std::move(other.m_path))
{
}

HeldFile::~HeldFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

HeldFile HeldFile::open(const QString &path)
{
    HeldFile file;
    file.m_path = path;
    FileDescriptor opened = FileDescriptor::openToRead(path);
    // Below 3 it would be lost in a child, whose standard streams take those numbers.
    if (opened.isOpen() && opened.get() < 3)
        opened.reset(::fcntl(opened.get(), F_DUPFD_CLOEXEC, 3));
    if (!opened.isOpen()) {
        file.m_error = errno;
        return file;
    }
    if (!opened.isRegularFile()) {
        file.m_error = EINVAL;
        return file;
    }
    file.m_fd = opened.release();
    return file;
}

QString HeldFile::reopenPath() const
{
    // Opening the link opens the file it stands for, never what its old path
    // names now. "/proc/self" is whichever process opens it, a child included.
    return isOpen() ? QStringLiteral("/proc/self/fd/%1").arg(m_fd) : QString();
}

} // namespace pomelark
