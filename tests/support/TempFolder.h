#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace pomelark::test {

/// A fresh temporary folder, removed with everything in it when it goes away.
class TempFolder {
public:
    TempFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }
    QUrl url() const { return QUrl::fromLocalFile(path()); }

    /// Makes `relative` (and its parents) as a folder and returns its path.
    QString makeFolder(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};

/// SHA-256 of every file below `root`, keyed by relative path, plus each
/// file's modification time; for checking that a run never wrote a source.
QMap<QString, QByteArray> folderFingerprint(const QString &root);

} // namespace pomelark::test
