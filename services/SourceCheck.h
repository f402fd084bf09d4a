#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace pomelark {

/// Tells a file that fails on its own from one that fails because the card it
/// is on is going. A pulled card fails every read at once, while the card
/// watcher hears of it only once the system unmounts it, a moment later: a
/// run that trusted the watcher alone would list every file left as failed.
///
/// Everything here reads the file system: use it off the main thread.
class SourceCheck {
public:
    /// Notes the folder a run reads from as it is now. A folder that cannot be
    /// examined is noted as gone.
    explicit SourceCheck(const QString &folder);

    /// Whether the card still answers now that the file at `failed` failed.
    /// Not when the folder is no longer the one noted: an unmounted card's path
    /// leads elsewhere or nowhere. Otherwise yes when `failed` itself reads
    /// from the device (its content is at fault). Else `witness`, a file that
    /// read well earlier in the run, tells by whether it still reads; with no
    /// witness (empty), yes when any of `others` reads, or when the failed
    /// file's error is its own (not there, not ours to read) rather than the
    /// device's.
    bool stillAnswers(const QString &failed, const QString &witness, const QStringList &others) const;

private:
    /// Whether the folder is still the directory noted, on the same device.
    bool folderUnchanged() const;

    QByteArray m_folder;
    bool m_noted = false;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

} // namespace pomelark
