#pragma once

#include <QString>

namespace pomelark {

/// A regular file held open from the moment it is checked, so that whoever
/// reads it later, a child process included, reads that very file, whatever
/// its path names by then (a named pipe, a folder, nothing).
///
/// Its descriptor is closed on exec: only a child told to keep it
/// (ChildProcess::keepOpen) inherits it.
class HeldFile {
public:
    HeldFile() = default;
    HeldFile(HeldFile &&other) noexcept;
    HeldFile(const HeldFile &) = delete;
    HeldFile &operator=(const HeldFile &) = delete;
    ~HeldFile();

    /// Opens the file at `path` to read without blocking, as a named pipe's
    /// open would wait for a writer, and holds it only when it is a regular
    /// file; its reads then block as a file's do. Not open otherwise, with
    /// error() the system's reason (EINVAL for what is no regular file).
    static HeldFile open(const QString &path);

    bool isOpen() const { return m_fd >= 0; }
    /// Why open() failed; 0 when the file is open.
    int error() const { return m_error; }
    int descriptor() const { return m_fd; }
    /// The path it was opened at.
    const QString &path() const { return m_path; }

    /// The name under which this process, or a child that kept the
    /// descriptor, opens this very file again, at an offset of its own.
    /// Empty when not open.
    QString reopenPath() const;

private:
    int m_fd = -1;
    int m_error = 0;
    QString m_path;
};

} // namespace pomelark
