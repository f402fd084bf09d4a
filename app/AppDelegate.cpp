#include "app/AppDelegate.h"

#include "services/CacheJanitor.h"

#include <QCoreApplication>

namespace pomelark {

AppDelegate::AppDelegate(QCoreApplication &app, WorkingFolders folders, std::function<void()> stopWriters)
    : QObject(&app), m_folders(std::move(folders)), m_stopWriters(std::move(stopWriters))
{
    connect(&app, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
}

void AppDelegate::applicationWillTerminate()
{
    // A file begun while its folder is removed could outlive the removal.
    if (m_stopWriters)
        m_stopWriters();
    CacheJanitor::purgeOnTerminate(m_folders);
}

} // namespace pomelark
