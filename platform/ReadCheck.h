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
    static bool readsFromDevice(const QString &path);
};

} // namespace pomelark
