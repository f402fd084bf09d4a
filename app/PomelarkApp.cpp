#include "app/PomelarkApp.h"

#include "app/AppDelegate.h"
#include "app/AppLanguage.h"
#include "app/AppTranslations.h"
#include "app/ContentView.h"
#include "app/FolderPanel.h"
#include "app/MainView.h"
#include "app/MainWindow.h"
#include "app/UpdatePrompt.h"
#include "platform/TerminationSignals.h"
#include "platform/Updater.h"
#include "services/ConvertService.h"
#include "services/PhotosService.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSettings>

#include <qcoro/qcorotask.h>

namespace pomelark {

PomelarkApp::PomelarkApp(QApplication &app, QVersionNumber version)
    : m_delegate(new AppDelegate(app, WorkingFolders::standard(),
                                 [] {
                                     ConvertService::shared().stop();
                                     // The program ends right after: an add cut
                                     // short could leave part of a file in Photos.
                                     PhotosService::shared().finishAdds();
                                 })),
      m_updater(new Updater(Updater::configuredFeed(), std::move(version), this))
{
    // A logout or kill ends the app through its ordinary quit, so the delegate still cleans up.
    new TerminationSignals([] { QCoreApplication::quit(); }, this);
    {
        QSettings settings;
        AppLanguage::applyDefaultIfNeeded(settings);
        AppTranslations::install(AppLanguage::atLaunch(settings), app);
    }
    // Light whatever the desktop's scheme, and not only inside the window: its
    // menus, alerts and panels are windows of their own, which take the
    // application's palette rather than the window's.
    QApplication::setPalette(MainWindow::lightPalette());
    m_window = new MainWindow;
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    SessionServices services = SessionServices::standard();
    QPointer<MainWindow> window = m_window;
    services.chooseFolder = [window](const FolderPanelRequest &request) {
        return chooseFolderInPanel(window, request);
    };
    // Made after the window's content frame, so it is deleted after the view that shows it.
    auto *controller = new ContentView(std::move(services), m_window);
    m_window->setContent(new MainView(controller));
    m_checkForUpdates = addUpdaterCommands(*m_window, *m_updater);
    connect(m_checkForUpdates, &QAction::triggered, this, &PomelarkApp::checkForUpdates);
}

PomelarkApp::~PomelarkApp()
{
    delete m_window.data();
}

QAction *PomelarkApp::addUpdaterCommands(MainWindow &window, Updater &updater)
{
    // The key is the Korean text; each catalogue gives its language's words.
    auto *action = new QAction(QCoreApplication::translate("PomelarkApp", "업데이트 확인…"), &window);
    action->setMenuRole(QAction::ApplicationSpecificRole);
    action->setEnabled(updater.canCheckForUpdates());
    connect(&updater, &Updater::canCheckForUpdatesChanged, action, &QAction::setEnabled);
    QMenu *menu = window.helpMenu();
    const QList<QAction *> items = menu->actions();
    const qsizetype about = items.indexOf(window.aboutAction());
    menu->insertAction(about + 1 < items.size() ? items.at(about + 1) : nullptr, action);
    return action;
}

void PomelarkApp::checkForUpdates()
{
    if (!m_updater->canCheckForUpdates())
        return;
    QCoro::connect(m_updater->checkForUpdates(), this, [this](const Updater::CheckResult &result) {
        UpdatePrompt::show(result, m_updater->runningVersion(), m_window);
    });
}

} // namespace pomelark
