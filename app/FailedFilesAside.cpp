#include "app/FailedFilesAside.h"

#include "platform/NoReplaceCopy.h"
#include "platform/SystemErrorText.h"
#include "platform/SystemLog.h"
#include "services/ImportService.h"

#include <QFileInfo>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <optional>

namespace pomelark {

namespace {

QThreadPool &copyThread()
{
    // One thread: two runs never copy into one folder at the same time.
    static QThreadPool pool;
    static const bool configured = [] {
        pool.setMaxThreadCount(1);
        return true;
    }();
    Q_UNUSED(configured);
    return pool;
}

/// Why one file was not copied: our own words (in English for the log, looked
/// up for the report), and what the system reported, which follows them.
struct Why {
    const char *text;
    int systemError = 0;
    QString detail; ///< when the system gave no errno

    QString forLog() const
    {
        return joined(QString::fromUtf8(text), systemError ? SystemErrorText::systemDescription(systemError) : detail);
    }
    QString forReport() const
    {
        return joined(FailedFilesAside::tr(text), systemError ? SystemErrorText::of(systemError) : detail);
    }

    static QString joined(const QString &text, const QString &system)
    {
        return system.isEmpty() ? text : text + QStringLiteral(": ") + system;
    }
};

const char *textFor(NoReplaceCopy::Error::Kind kind)
{
    using Kind = NoReplaceCopy::Error::Kind;
    switch (kind) {
    case Kind::openFile:
        return QT_TRANSLATE_NOOP("pomelark::FailedFilesAside", "Couldn't open the file");
    case Kind::notRegularFile:
        return QT_TRANSLATE_NOOP("pomelark::FailedFilesAside", "It isn't a regular file");
    case Kind::readFile:
        return QT_TRANSLATE_NOOP("pomelark::FailedFilesAside", "Couldn't read the file");
    case Kind::openFolder:
    case Kind::makeFolder:
        return QT_TRANSLATE_NOOP("pomelark::FailedFilesAside", "Couldn't open the folder");
    case Kind::writeFolder:
    case Kind::finishFile:
        return QT_TRANSLATE_NOOP("pomelark::FailedFilesAside", "Couldn't write into the folder");
    case Kind::nameFile:
    case Kind::noFreeName:
        return QT_TRANSLATE_NOOP("pomelark::FailedFilesAside", "Couldn't give the copy a name");
    case Kind::other:
        break;
    }
    return QT_TRANSLATE_NOOP("pomelark::FailedFilesAside", "Couldn't copy the file");
}

std::optional<Why> copyOne(const QUrl &source, const QString &destination)
{
    if (!source.isLocalFile())
        return Why{QT_TRANSLATE_NOOP("pomelark::FailedFilesAside", "It isn't a file on this computer")};
    const std::optional<QString> path = ImportService::openablePath(source);
    if (!path) {
        // Text would name another file, or none.
        return Why{QT_TRANSLATE_NOOP("pomelark::FailedFilesAside", "Its name can't be read")};
    }
    try {
        NoReplaceCopy::copy(*path, destination, source.fileName());
        return std::nullopt;
    } catch (const NoReplaceCopy::Error &error) {
        return Why{textFor(error.kind()), error.systemError(), {}};
    } catch (const std::exception &error) {
        // Whatever happens, the run ends with a report.
        return Why{textFor(NoReplaceCopy::Error::Kind::other), 0, QString::fromUtf8(error.what())};
    }
}

} // namespace

AsideReport FailedFilesAside::copyAll(const QList<QUrl> &sources, const QString &destination)
{
    AsideReport report;
    report.destination = destination;
    for (const QUrl &source : sources) {
        const std::optional<Why> why = copyOne(source, destination);
        if (!why) {
            ++report.copied;
            continue;
        }
        SystemLog::write(QStringLiteral("[ValidationScreen] archive copy FAILED for ") + source.fileName()
                         + QStringLiteral(": ") + why->forLog());
        report.problems.append({source.fileName(), why->forReport()});
    }
    return report;
}

QFuture<AsideReport> FailedFilesAside::start(QList<QUrl> sources, QString destination)
{
    return QtConcurrent::run(&copyThread(), [sources = std::move(sources), destination = std::move(destination)] {
        return copyAll(sources, destination);
    });
}

} // namespace pomelark
