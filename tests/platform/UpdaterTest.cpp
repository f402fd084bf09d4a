#include "platform/UpdateFeed.h"
#include "platform/Updater.h"

#include "support/AsyncTest.h"
#include "support/TempFolder.h"
#include "support/TestSettings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace pomelark;
using Kind = Updater::CheckResult::Kind;

namespace {

QVersionNumber v(const char *text)
{
    return QVersionNumber::fromString(QLatin1String(text));
}

QByteArray feedJson(const char *version, const char *url = "https://example.org/releases/x",
                    const char *notes = "Faster.")
{
    return QByteArrayLiteral("{\"version\":\"") + version + "\",\"url\":\"" + url + "\",\"notes\":\"" + notes + "\"}";
}

/// Answers every HTTP request on the loopback with one canned response, or
/// never answers at all (`silent`).
class FeedServer : public QObject {
public:
    explicit FeedServer(int status = 200, QByteArray body = {}) : m_status(status), m_body(std::move(body))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
    }

    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/feed.json").arg(m_server.serverPort())); }
    int requests() const { return m_requests; }
    bool silent = false;

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &seen = m_pending[socket];
        seen += socket->readAll();
        if (!seen.contains("\r\n\r\n"))
            return;
        ++m_requests;
        m_pending.remove(socket);
        if (silent)
            return;
        socket->write("HTTP/1.1 " + QByteArray::number(m_status) + " Canned\r\nContent-Type: application/json\r\n"
                      "Connection: close\r\nContent-Length: " + QByteArray::number(m_body.size()) + "\r\n\r\n"
                      + m_body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    int m_status;
    QByteArray m_body;
    QHash<QTcpSocket *, QByteArray> m_pending;
    int m_requests = 0;
};

} // namespace

TEST(UpdateFeed, ComparesVersionsAsNumbersIgnoringTrailingZeros)
{
    EXPECT_TRUE(UpdateFeed::isNewer(v("0.10.0"), v("0.9.9")));
    EXPECT_TRUE(UpdateFeed::isNewer(v("1"), v("0.99")));
    EXPECT_TRUE(UpdateFeed::isNewer(v("0.1.1"), v("0.1")));
    EXPECT_FALSE(UpdateFeed::isNewer(v("0.1"), v("0.1.0")));
    EXPECT_FALSE(UpdateFeed::isNewer(v("0.1.0.0"), v("0.1")));
    EXPECT_FALSE(UpdateFeed::isNewer(v("0.9"), v("0.10")));
    EXPECT_FALSE(UpdateFeed::isNewer(v("1.2.3"), v("1.2.3")));
}

TEST(UpdateFeed, AcceptsOnlyPlainDottedVersions)
{
    EXPECT_EQ(UpdateFeed::parseVersion(QStringLiteral("2.10.1")), v("2.10.1"));
    EXPECT_EQ(UpdateFeed::parseVersion(QStringLiteral("7")), v("7"));
    for (const char *bad : {"", "v1.2", "1.2-beta", "1..2", "1.2.", " 1.2", "-1", "1.x", "99999999999"})
        EXPECT_FALSE(UpdateFeed::parseVersion(QLatin1String(bad))) << bad;
}

TEST(UpdateFeed, ReadsTheAgreedShapeAndRejectsUnsafeOrBrokenFeeds)
{
    const std::optional<UpdateFeed> feed = UpdateFeed::parse(feedJson("1.4", "https://example.org/r/1.4", "New\\nthings"));
    ASSERT_TRUE(feed);
    EXPECT_EQ(feed->version, v("1.4"));
    EXPECT_EQ(feed->releasePage, QUrl(QStringLiteral("https://example.org/r/1.4")));
    EXPECT_EQ(feed->notes, QStringLiteral("New\nthings"));

    const std::optional<UpdateFeed> bare = UpdateFeed::parse(R"({"version":"2","url":"http://example.org/"})");
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->notes.isEmpty());

    // The page is opened by the desktop: only web pages may come from a feed.
    EXPECT_FALSE(UpdateFeed::parse(feedJson("2", "file:///home/user/run.sh")));
    EXPECT_FALSE(UpdateFeed::parse(feedJson("2", "javascript:alert(1)")));
    EXPECT_FALSE(UpdateFeed::parse(feedJson("2", "/releases/2")));
    EXPECT_FALSE(UpdateFeed::parse(feedJson("2.0-rc1")));
    EXPECT_FALSE(UpdateFeed::parse(R"({"version":2,"url":"https://example.org/"})"));
    EXPECT_FALSE(UpdateFeed::parse(R"({"version":"2","url":"https://example.org/","notes":["a"]})"));
    EXPECT_FALSE(UpdateFeed::parse(R"(["2","https://example.org/"])"));
    EXPECT_FALSE(UpdateFeed::parse("<html>not found</html>"));
}

TEST(Updater, ReportsANewerReleaseWithItsPageAndNotes)
{
    FeedServer server(200, feedJson("0.2.0", "https://example.org/releases/0.2.0", "Korean fixes"));
    Updater updater(server.url(), v("0.1.0"));
    const Updater::CheckResult result = test::awaitTask(updater.checkForUpdates());
    EXPECT_EQ(result.kind, Kind::updateAvailable);
    EXPECT_EQ(result.feed.version, v("0.2.0"));
    EXPECT_EQ(result.feed.releasePage, QUrl(QStringLiteral("https://example.org/releases/0.2.0")));
    EXPECT_EQ(result.feed.notes, QStringLiteral("Korean fixes"));
    EXPECT_EQ(server.requests(), 1);
}

TEST(Updater, SameOrOlderReleaseIsUpToDate)
{
    for (const char *published : {"0.1", "0.1.0", "0.0.9"}) {
        FeedServer server(200, feedJson(published));
        Updater updater(server.url(), v("0.1.0"));
        EXPECT_EQ(test::awaitTask(updater.checkForUpdates()).kind, Kind::upToDate) << published;
    }
}

TEST(Updater, FailuresComeBackAsResults)
{
    {
        FeedServer server(404, "missing");
        Updater updater(server.url(), v("0.1.0"));
        const Updater::CheckResult result = test::awaitTask(updater.checkForUpdates());
        EXPECT_EQ(result.kind, Kind::unreachable);
        EXPECT_FALSE(result.error.isEmpty());
    }
    {
        FeedServer server(200, "<html>a portal page</html>");
        Updater updater(server.url(), v("0.1.0"));
        EXPECT_EQ(test::awaitTask(updater.checkForUpdates()).kind, Kind::unreadable);
    }
    {
        // A valid feed buried in an answer far too long to be one.
        QByteArray huge = feedJson("9.9");
        huge.append(Updater::maximumFeedBytes * 3, ' ');
        FeedServer server(200, huge);
        Updater updater(server.url(), v("0.1.0"));
        EXPECT_EQ(test::awaitTask(updater.checkForUpdates()).kind, Kind::unreachable);
    }
    {
        FeedServer server;
        server.silent = true;
        Updater updater(server.url(), v("0.1.0"));
        updater.setTransferTimeout(std::chrono::milliseconds(200));
        EXPECT_EQ(test::awaitTask(updater.checkForUpdates()).kind, Kind::unreachable);
        EXPECT_TRUE(updater.canCheckForUpdates());
    }
}

TEST(Updater, CanCheckOnlyWithAFeedAndNoCheckRunning)
{
    for (const char *address : {"", "relative/feed.json", "ftp://example.org/feed", "https://"})
        EXPECT_FALSE(Updater(QUrl(QLatin1String(address)), v("1")).canCheckForUpdates()) << address;
    Updater none{QUrl(), v("1")};
    EXPECT_EQ(test::awaitTask(none.checkForUpdates()).kind, Kind::notPossible);

    FeedServer server(200, feedJson("0.1.0"));
    Updater updater(server.url(), v("0.1.0"));
    EXPECT_TRUE(updater.canCheckForUpdates());
    QSignalSpy changes(&updater, &Updater::canCheckForUpdatesChanged);

    QCoro::Task<Updater::CheckResult> first = updater.checkForUpdates();
    EXPECT_FALSE(updater.canCheckForUpdates());
    EXPECT_EQ(test::awaitTask(updater.checkForUpdates()).kind, Kind::notPossible);
    EXPECT_EQ(test::awaitTask(std::move(first)).kind, Kind::upToDate);
    EXPECT_TRUE(updater.canCheckForUpdates());
    ASSERT_EQ(changes.count(), 2);
    EXPECT_FALSE(changes.at(0).at(0).toBool());
    EXPECT_TRUE(changes.at(1).at(0).toBool());
    EXPECT_EQ(server.requests(), 1);
}

TEST(Updater, ReadsAFeedFromAFile)
{
    test::TempFolder folder;
    QFile file(folder.filePath(QStringLiteral("feed.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(feedJson("3.0"));
    file.close();
    Updater updater(QUrl::fromLocalFile(file.fileName()), v("2.9"));
    EXPECT_EQ(test::awaitTask(updater.checkForUpdates()).kind, Kind::updateAvailable);
}

TEST(Updater, TakesTheFeedFromTheEnvironmentThenUserThenSystemSettings)
{
    const test::TestSettings settings;
    qunsetenv("POMELARK_UPDATE_FEED");
    const QString key = QStringLiteral("updates/feedURL");

    EXPECT_TRUE(Updater::configuredFeed().isEmpty());

    QSettings(QSettings::SystemScope).setValue(key, QStringLiteral("https://example.org/site.json"));
    EXPECT_EQ(Updater::configuredFeed(), QUrl(QStringLiteral("https://example.org/site.json")));

    QSettings().setValue(key, QStringLiteral("https://example.org/mine.json"));
    EXPECT_EQ(Updater::configuredFeed(), QUrl(QStringLiteral("https://example.org/mine.json")));

    qputenv("POMELARK_UPDATE_FEED", "http://127.0.0.1:9/env.json");
    EXPECT_EQ(Updater::configuredFeed(), QUrl(QStringLiteral("http://127.0.0.1:9/env.json")));
    qunsetenv("POMELARK_UPDATE_FEED");
}
