#pragma once

#include <QObject>
#include <QPointer>
#include <QVersionNumber>

class QAction;
class QApplication;
class QSettings;

namespace pomelark {

class AppDelegate;
class MainWindow;
class Updater;

/// The application's top: the quit handling, the updater, the display
/// language and the one window with its update command.
class PomelarkApp : public QObject {
    Q_OBJECT
public:
    /// In this order: installs the delegate (working folders removed at quit,
    /// also when the quit comes as SIGTERM, SIGINT or SIGHUP),
    /// makes the updater on the configured feed, stores the display language at
    /// first launch and loads its texts, makes the light palette the application's,
    /// then builds the window with the update command under the about item. The
    /// window is not shown yet.
    PomelarkApp(QApplication &app, QVersionNumber version);
    ~PomelarkApp() override;

    MainWindow *window() const { return m_window; }
    Updater *updater() const { return m_updater; }
    AppDelegate *delegate() const { return m_delegate; }
    /// "업데이트 확인…": enabled exactly while the updater can check.
    QAction *checkForUpdatesAction() const { return m_checkForUpdates; }

    /// Starts a check and tells the user what it found. Does nothing while a
    /// check runs or without a feed.
    void checkForUpdates();

    /// Adds the update command to `window`'s Help menu, right after the about
    /// item, following `updater`'s state.
    static QAction *addUpdaterCommands(MainWindow &window, Updater &updater);

private:
    AppDelegate *m_delegate;
    Updater *m_updater;
    QPointer<MainWindow> m_window;
    QAction *m_checkForUpdates;
};

} // namespace pomelark
