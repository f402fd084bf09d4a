#pragma once

#include <QString>

namespace pomelark {

/// Whether a file can still be read from its device. A card pulled mid-read
/// leaves what was read before it went in memory, where it still reads well;
/// every read that reaches the card fails.
class ReadCheck {
public:
    /// True when the file at `path` is a regular file that opens and whose
    /// first, middle and last blocks read from the device rather than from
    /// memory. False when it cannot be opened or any of those reads fails.
    /// Blocks while the device answers: call it off the main thread.
    static bool readsFromDevice(const QString &path) { return readError(path) == 0; }

    /// The same check, giving 0 when the file reads from its device, else the
    /// error (an errno value) of the step that failed: EINVAL for what is not a
    /// regular file, ENODATA for a file that ends before its size.
    static int readError(const QString &path);

    /// Whether `error` is what a device gives when it went away or stopped
    /// answering (EIO, ENODEV, ENXIO, ENOMEDIUM and the like), rather than one
    /// file's own trouble (not there, not ours to read).
    static bool isDeviceError(int error);
};

} // namespace pomelark
