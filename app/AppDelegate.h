#pragma once

#include "services/WorkingFolders.h"

#include <QObject>

#include <functional>

class QCoreApplication;

namespace pomelark {

/// What the application does as it ends: it removes the working folders, so
/// nothing of a session stays in the cache folder.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    /// Runs `applicationWillTerminate` when `app` is about to quit.
    /// `stopWriters` stops the work that writes into the folders (the send's
    /// conversions) before they are removed; it is the last chance to let a
    /// writer end, as the program ends without waiting once its loop returns.
    explicit AppDelegate(QCoreApplication &app, WorkingFolders folders = WorkingFolders::standard(),
                         std::function<void()> stopWriters = {});

    /// Stops the writers, then removes the four working folders before
    /// returning. Never fails; running it again, or with no folders there,
    /// does nothing.
    void applicationWillTerminate();

private:
    WorkingFolders m_folders;
    std::function<void()> m_stopWriters;
};

} // namespace pomelark
