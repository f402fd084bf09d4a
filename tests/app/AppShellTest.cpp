#include "MessageBoxButtons.h"
#include "support/TestSettings.h"

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "app/PomelarkApp.h"
#include "app/UpdatePrompt.h"
#include "platform/Updater.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/ReadFault.h"
#include "support/WidgetEvents.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

using namespace pomelark;
using Kind = Updater::CheckResult::Kind;

namespace {

/// Catches the pages the app asks the desktop to open.
class PageCatcher : public QObject {
    Q_OBJECT
public:
    PageCatcher()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
    }
    ~PageCatcher() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened << url; }
};

/// Serves one feed to every request on the loopback.
class OneFeedServer {
public:
    explicit OneFeedServer(QByteArray body) : m_body(std::move(body))
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: "
                                  + QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
                    socket->disconnectFromHost();
                });
        });
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/feed").arg(m_server.serverPort())); }

private:
    QTcpServer m_server;
    QByteArray m_body;
};

Updater::CheckResult available(const char *notes)
{
    Updater::CheckResult result;
    result.kind = Kind::updateAvailable;
    result.feed.version = QVersionNumber(0, 3);
    result.feed.releasePage = QUrl(QStringLiteral("https://example.org/releases/0.3"));
    result.feed.notes = QString::fromUtf8(notes);
    return result;
}

} // namespace

TEST(MainWindow, ContentFillsTheWindowBelowTheMenuAndIsReplacedWhole)
{
    MainWindow window;
    auto *first = new QWidget;
    QPointer<QWidget> firstGuard(first);
    window.setContent(first);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.resize(100, 100); // the minimum holds
    QCoreApplication::processEvents();
    EXPECT_GE(first->width(), 600);
    EXPECT_GE(first->height(), 500);
    EXPECT_EQ(first->window(), &window);

    auto *second = new QWidget;
    window.setContent(second);
    EXPECT_TRUE(firstGuard.isNull());
    EXPECT_EQ(window.content(), second);
    window.setContent(nullptr);
    EXPECT_EQ(window.content(), nullptr);
}

TEST(MainWindow, StaysLightUnderADarkDesktopScheme)
{
    const QPalette before = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x10, 0x10, 0x10));
    QApplication::setPalette(dark);
    {
        MainWindow window;
        auto *content = new QWidget;
        window.setContent(content);
        EXPECT_GT(content->palette().color(QPalette::Window).lightness(), 200);
        EXPECT_GT(content->palette().color(QPalette::Base).lightness(), 200);
        EXPECT_LT(content->palette().color(QPalette::WindowText).lightness(), 100);
    }
    {
        // The app's alerts and menus are windows of their own: they are light too.
        test::TestSettings settings;
        settings.setValue(QStringLiteral("settings.language"), QStringLiteral("en"));
        PomelarkApp app(*qApp, QVersionNumber(0, 1));
        QMessageBox alert(QMessageBox::NoIcon, QStringLiteral("t"), QStringLiteral("t"), QMessageBox::Ok,
                          app.window());
        EXPECT_TRUE(alert.isWindow());
        EXPECT_GT(alert.palette().color(QPalette::Window).lightness(), 200);
        EXPECT_LT(alert.palette().color(QPalette::WindowText).lightness(), 100);
        EXPECT_GT(app.window()->helpMenu()->palette().color(QPalette::Window).lightness(), 200);
    }
    QApplication::setPalette(before);
}

TEST(UpdateCommand, FollowsTheAboutItemAndTheUpdatersState)
{
    MainWindow window;
    Updater none{QUrl(), QVersionNumber(0, 1)};
    QAction *disabled = PomelarkApp::addUpdaterCommands(window, none);
    const QList<QAction *> items = window.helpMenu()->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items.at(0), window.aboutAction());
    EXPECT_EQ(items.at(1), disabled);
    EXPECT_FALSE(disabled->isEnabled());

    OneFeedServer server(R"({"version":"0.1","url":"https://example.org/"})");
    Updater updater(server.url(), QVersionNumber(0, 1));
    QAction *command = PomelarkApp::addUpdaterCommands(window, updater);
    EXPECT_TRUE(command->isEnabled());
    QCoro::Task<Updater::CheckResult> check = updater.checkForUpdates();
    EXPECT_FALSE(command->isEnabled()); // no second check while one runs
    EXPECT_EQ(test::awaitTask(std::move(check)).kind, Kind::upToDate);
    EXPECT_TRUE(command->isEnabled());
}

TEST(UpdateCommand, ChoosingItChecksOnceAndTellsTheUser)
{
    test::TestSettings settings;
    settings.setValue(QStringLiteral("settings.language"), QStringLiteral("en"));
    OneFeedServer server(R"({"version":"9.0","url":"https://example.org/r/9","notes":"Big"})");
    qputenv("POMELARK_UPDATE_FEED", server.url().toString().toUtf8());
    PomelarkApp app(*qApp, QVersionNumber(0, 1));
    qunsetenv("POMELARK_UPDATE_FEED");
    ASSERT_TRUE(app.checkForUpdatesAction()->isEnabled());

    app.checkForUpdatesAction()->trigger();
    app.checkForUpdatesAction()->trigger(); // disabled by then: ignored
    QMessageBox *prompt = nullptr;
    ASSERT_TRUE(test::spinUntil([&] {
        prompt = app.window()->findChild<QMessageBox *>();
        return prompt != nullptr && app.checkForUpdatesAction()->isEnabled();
    }));
    EXPECT_EQ(app.window()->findChildren<QMessageBox *>().size(), 1);
    EXPECT_EQ(prompt->text(), QStringLiteral("A new version of Pomelark is available"));
    prompt->reject();
}

TEST(UpdatePrompt, OffersTheReleasePageAndOpensItOnlyWhenAsked)
{
    PageCatcher pages;
    QWidget parent;
    QMessageBox *later = UpdatePrompt::show(available("Fixes"), QVersionNumber(0, 2), &parent);
    ASSERT_TRUE(later);
    EXPECT_TRUE(later->informativeText().contains(QStringLiteral("Pomelark 0.3 is out. You have 0.2.")));
    test::buttonNamed(later, QStringLiteral("Later"))->click();
    EXPECT_TRUE(pages.opened.isEmpty());

    QMessageBox *open = UpdatePrompt::show(available("Fixes"), QVersionNumber(0, 2), &parent);
    test::buttonNamed(open, QStringLiteral("Open Release Page"))->click();
    ASSERT_EQ(pages.opened.size(), 1);
    EXPECT_EQ(pages.opened.at(0), QUrl(QStringLiteral("https://example.org/releases/0.3")));
}

TEST(UpdatePrompt, ShowsFeedNotesAsPlainTextAndEachOutcomeItsOwnWords)
{
    QWidget parent;
    QMessageBox *box = UpdatePrompt::show(available("<img src=\"file:///etc/passwd\"> & <b>bold</b>"),
                                          QVersionNumber(0, 2), &parent);
    EXPECT_FALSE(box->informativeText().contains(QStringLiteral("<img")));
    EXPECT_TRUE(box->informativeText().contains(QStringLiteral("&lt;img")));
    box->reject();

    Updater::CheckResult result;
    result.kind = Kind::upToDate;
    box = UpdatePrompt::show(result, QVersionNumber(0, 2), &parent);
    EXPECT_EQ(box->text(), QStringLiteral("Pomelark is up to date"));
    box->reject();

    result.kind = Kind::unreachable;
    result.error = QStringLiteral("Connection refused");
    box = UpdatePrompt::show(result, QVersionNumber(0, 2), &parent);
    EXPECT_EQ(box->text(), QStringLiteral("Couldn't check for updates"));
    EXPECT_EQ(box->detailedText(), QStringLiteral("Connection refused"));
    box->reject();

    result.kind = Kind::notPossible;
    EXPECT_EQ(UpdatePrompt::show(result, QVersionNumber(0, 2), &parent), nullptr);
}

TEST(QuitCommand, CtrlQQuitsAsClosingTheWindowDoesAndTheWorkingFoldersGo)
{
    test::TestSettings settings;
    settings.setValue(QStringLiteral("settings.language"), QStringLiteral("en"));
    // The delegate takes the caches folder of this program's tests, never the user's.
    PomelarkApp app(*qApp, QVersionNumber(0, 1));
    const WorkingFolders folders = WorkingFolders::standard();
    ASSERT_TRUE(folders.workspace().startsWith(QDir::tempPath())) << folders.workspace().toStdString();
    ASSERT_TRUE(QDir().mkpath(folders.workspace()));
    QPointer<MainWindow> window = app.window();
    ASSERT_TRUE(test::showActive(*window, window->size()));

    QTimer::singleShot(0, window, [window] { QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier); });
    // Only a bound, should the key not quit: the app's own loop ends at once when it does.
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    bound.start(std::chrono::seconds(60));
    EXPECT_EQ(QApplication::exec(), 0);
    bound.stop();
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(QFileInfo::exists(folders.workspace()));
}

TEST(QuitCommand, ATerminationEndsTheProgramWhileItsReadsAreHeldAndTheWorkingFoldersGo)
{
    test::TempFolder card, gate, home;
    const QString photo = test::makeJpeg(card.filePath(QStringLiteral("IMG_0001.JPG")));
    const WorkingFolders folders(home.filePath(QStringLiteral("cache/Pomelark")));
    ASSERT_TRUE(QDir().mkpath(folders.workspace()));
    // Every read of the photo waits at the gate, which opens only as the test ends.
    const test::ReadFault held(photo, 0, gate.path());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    // The read fault comes first among the libraries, before a sanitizer's.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(POMELARK_READS_AT_QUIT));
    ASSERT_TRUE(test::spinUntil([&] { return QFileInfo::exists(gate.filePath(QStringLiteral("reached"))); },
                                std::chrono::minutes(2)));

    program.terminate();
    // Only a bound, should it hang: without the gate opening, nothing else ends it.
    const bool ended = program.waitForFinished(60'000);
    QFile(gate.filePath(QStringLiteral("pulled"))).open(QIODevice::WriteOnly);
    EXPECT_TRUE(ended);
    if (!ended)
        program.waitForFinished(-1);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(folders.workspace()));
}

TEST(AppDelegate, QuittingRemovesTheWorkingFoldersAndAgainIsHarmless)
{
    test::TempFolder cache;
    WorkingFolders folders(cache.path());
    for (const QString &folder :
         {folders.videoPlayback(), folders.videoThumbnails(), folders.exportStaging(), folders.workspace()}) {
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile file(folder + QStringLiteral("/left.bin"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QCoreApplication *app = QCoreApplication::instance();
    // What writes into them stops first, while they still stand.
    bool stoppedBeforeRemoval = false;
    AppDelegate delegate(*app, folders, [&] { stoppedBeforeRemoval = QFileInfo::exists(folders.exportStaging()); });
    delegate.applicationWillTerminate();
    EXPECT_TRUE(stoppedBeforeRemoval);
    for (const QString &folder :
         {folders.videoPlayback(), folders.videoThumbnails(), folders.exportStaging(), folders.workspace()})
        EXPECT_FALSE(QFileInfo::exists(folder)) << folder.toStdString();
    delegate.applicationWillTerminate();
    EXPECT_TRUE(QFileInfo::exists(cache.path()));
}

#include "AppShellTest.moc"
