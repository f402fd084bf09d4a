#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pomelark {

/// A file descriptor, closed when it goes away.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { reset(-1); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(other.release()) {}

    /// The file at `path`, open to read. Opened without blocking: opening a
    /// named pipe would wait for a writer that may never come. A regular file is
    /// then read as usual, blocking: some file systems (network and FUSE ones)
    /// answer a non-blocking read with EAGAIN. Not open, with errno set, when it
    /// cannot be opened.
    static FileDescriptor openToRead(const QString &path)
    {
        FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (file.isRegularFile())
            ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
        return file;
    }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    /// Whether it is open on a regular file; false for a named pipe or a
    /// device, whose reads may wait forever or never end, and when not open.
    bool isRegularFile() const
    {
        struct stat status {};
        return isOpen() && ::fstat(m_fd, &status) == 0 && S_ISREG(status.st_mode);
    }
    /// Gives up the descriptor, open, to the caller.
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

    /// Opens `file` on the regular file at `path`, to read, without blocking;
    /// false, with nothing open, for anything else: a named pipe's open or
    /// reads could wait forever for a writer, a device's never end.
    static bool openRegular(QFile &file, const QString &path)
    {
        FileDescriptor descriptor = openToRead(path);
        if (!descriptor.isRegularFile())
            return false;
        if (!file.open(descriptor.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            return false;
        descriptor.release();
        return true;
    }

    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

} // namespace pomelark
