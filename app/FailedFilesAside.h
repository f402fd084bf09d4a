#pragma once

#include <QCoreApplication>
#include <QFuture>
#include <QList>
#include <QString>
#include <QUrl>

namespace pomelark {

/// What one run of setting failed files aside did.
struct AsideReport {
    /// One file that could not be copied.
    struct Problem {
        QString fileName;
        QString reason; ///< why, in the display language; the system's own words may follow
    };

    QString destination;
    int copied = 0;
    QList<Problem> problems;
};

/// Copies the files that failed validation into a folder the user chose, so they
/// can be looked at or sent for repair elsewhere. Every file lands directly in the
/// folder under its own name; a name that is taken there gets a free " (N)"
/// suffix, so nothing already in the folder is ever replaced (including the
/// source itself when the folder is where the file lies). Sources are only read.
class FailedFilesAside {
    Q_DECLARE_TR_FUNCTIONS(pomelark::FailedFilesAside)

public:
    /// Copies each of `sources`, in order, into `destination`. Only regular files
    /// are copied: a pipe or a device named like a photo is reported, never waited
    /// on or read without end. A file that cannot be copied is logged, listed in
    /// the report and does not stop the others; every run ends with a report.
    /// Blocks; safe on any thread.
    static AsideReport copyAll(const QList<QUrl> &sources, const QString &destination);

    /// Runs copyAll() on a worker thread of its own (runs queue one after
    /// another) and returns at once.
    static QFuture<AsideReport> start(QList<QUrl> sources, QString destination);
};

} // namespace pomelark
