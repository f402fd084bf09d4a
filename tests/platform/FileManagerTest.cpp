#include "platform/FileManager.h"

#include "support/AsyncTest.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

/// A stand-in file manager that records what it was asked to show.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shownUris;
    QString startupId;
    int calls = 0;

public Q_SLOTS:
    void ShowItems(const QStringList &uris, const QString &startUpId)
    {
        shownUris = uris;
        startupId = startUpId;
        ++calls;
    }
};

/// A private session bus for one test, ended with it.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        m_process.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                 QStringLiteral("--print-address")});
        if (!m_process.waitForStarted() || !m_process.waitForReadyRead(10000))
            return;
        const QString address = QString::fromUtf8(m_process.readLine()).trimmed();
        m_connection = QDBusConnection::connectToBus(address, QStringLiteral("pomelark-test-bus"));
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("pomelark-test-bus"));
        m_process.kill();
        m_process.waitForFinished();
    }
    bool isConnected() const { return m_connection.isConnected(); }
    QDBusConnection connection() const { return m_connection; }

private:
    QProcess m_process;
    QDBusConnection m_connection{QStringLiteral("none")};
};

} // namespace

TEST(FileManager, AsksTheFileManagerToSelectTheItems)
{
    PrivateBus bus;
    if (!bus.isConnected())
        GTEST_SKIP() << "dbus-daemon is not available";
    FakeFileManager fake;
    const QString service = QStringLiteral("org.pomelark.test.FileManager");
    ASSERT_TRUE(bus.connection().registerService(service));
    ASSERT_TRUE(bus.connection().registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fake,
                                                QDBusConnection::ExportAllSlots));
    int fallbacks = 0;

    FileManager::showItems({QUrl::fromLocalFile(QStringLiteral("/media/card/DCIM/a b#1.jpg")),
                            QUrl(QStringLiteral("https://example.org/x.jpg"))},
                           [&](const QUrl &) { ++fallbacks; }, service, bus.connection());

    ASSERT_TRUE(spinUntil([&] { return fake.calls == 1; }));
    // Only local files, as URIs the file manager can parse back.
    EXPECT_EQ(fake.shownUris, QStringList{QStringLiteral("file:///media/card/DCIM/a%20b%231.jpg")});
    EXPECT_TRUE(fake.startupId.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(fallbacks, 0);
}

TEST(FileManager, WithoutAFileManagerTheParentFolderIsOpened)
{
    PrivateBus bus;
    QList<QUrl> opened;
    const QUrl item = QUrl::fromLocalFile(QStringLiteral("/media/card/DCIM/100/a.jpg"));
    const QDBusConnection connection = bus.isConnected() ? bus.connection() : QDBusConnection(QStringLiteral("none"));

    FileManager::showItems({item}, [&](const QUrl &folder) { opened.append(folder); },
                           QStringLiteral("org.pomelark.test.NobodyHere"), connection);

    ASSERT_TRUE(spinUntil([&] { return !opened.isEmpty(); }));
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/media/card/DCIM/100"))});

    // Nothing local to show: nothing happens at all.
    FileManager::showItems({QUrl(QStringLiteral("https://example.org/x.jpg"))},
                           [&](const QUrl &folder) { opened.append(folder); }, QStringLiteral("org.x"), connection);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened.size(), 1);
}

#include "FileManagerTest.moc"
