// Built into a copy of the app's program for the test of its quit. Once its
// event loop runs, the grid's thumbnail, the viewer's decode and the
// validation's check each start reading the photo named by
// POMELARK_READ_FAULT_FILE, whose reads the read fault holds at its gate, as a
// card that stopped answering holds them (see read_fault.cpp).
#include "platform/ImageSource.h"
#include "services/ThumbnailMemoryCache.h"
#include "services/ValidationService.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <QTimer>

using namespace pomelark;

namespace {

void startReads()
{
    const QString path = qEnvironmentVariable("POMELARK_READ_FAULT_FILE");
    const QUrl url = QUrl::fromLocalFile(path);
    // Never resumed: the program ends while they read.
    new QCoro::Task<std::optional<QImage>>(ThumbnailMemoryCache::shared().thumbnail(url));
    new QCoro::Task<bool>(ValidationService::shared().checkFile(url, MediaItem::Kind::photo));
    QThreadPool::globalInstance()->start([path] { ImageSource(path).decode(4096, true); });
}

// After the program's own start, its signal handlers in place.
void startReadsOnceRunning()
{
    QTimer::singleShot(0, QCoreApplication::instance(), startReads);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startReadsOnceRunning)
