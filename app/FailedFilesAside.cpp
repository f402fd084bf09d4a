#include "app/FailedFilesAside.h"

#include "platform/NoReplaceCopy.h"
#include "platform/SystemLog.h"
#include "services/ImportService.h"

#include <QFileInfo>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

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

} // namespace

AsideReport FailedFilesAside::copyAll(const QList<QUrl> &sources, const QString &destination)
{
    AsideReport report;
    report.destination = destination;
    for (const QUrl &source : sources) {
        const QString fileName = source.fileName();
        const std::optional<QString> path = ImportService::openablePath(source);
        QString reason;
        if (!source.isLocalFile()) {
            reason = QStringLiteral("Not a local file");
        } else if (!path) {
            // Text would name another file, or none.
            reason = QStringLiteral("Cannot copy a file whose name is not valid UTF-8");
        } else {
            try {
                NoReplaceCopy::copy(*path, destination, fileName);
                ++report.copied;
                continue;
            } catch (const std::exception &error) {
                // Whatever happens, the run ends with a report.
                reason = QString::fromUtf8(error.what());
            }
        }
        SystemLog::write(QStringLiteral("[ValidationScreen] archive copy FAILED for ") + fileName +
                         QStringLiteral(": ") + reason);
        report.problems.append({fileName, reason});
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
