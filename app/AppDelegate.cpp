#include "app/AppDelegate.h"

#include "services/CacheJanitor.h"

#include <QCoreApplication>

namespace pomelark {

AppDelegate::AppDelegate(QCoreApplication &app, WorkingFolders folders)
    : QObject(&app), m_folders(std::move(folders))
{
    connect(&app, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
}

void AppDelegate::applicationWillTerminate()
{
    CacheJanitor::purgeOnTerminate(m_folders);
}

} // namespace pomelark
