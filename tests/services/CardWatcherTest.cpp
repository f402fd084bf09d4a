#include "services/CardWatcher.h"

#include "platform/SharedOutcome.h"
#include "platform/SystemLog.h"
#include "support/AsyncTest.h"
#include "support/FakeVolumeTable.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>

using namespace pomelark;
using pomelark::test::spinUntil;
using pomelark::test::FakeVolumeTable;
using pomelark::test::TempFolder;

namespace {

using Mount = FakeVolumeTable::Mount;
using std::chrono::milliseconds;

/// Sleeps that end only when the test moves time past them.
class SteppedSleeps {
public:
    QCoro::Task<void> sleep(milliseconds duration)
    {
        auto wake = std::make_shared<SharedOutcome<bool>>();
        m_sleepers.append({m_now + duration, wake});
        co_await wake->wait();
    }

    /// Moves time on by `span`, letting each sleeper due run in turn.
    void step(milliseconds span)
    {
        const milliseconds target = m_now + span;
        for (;;) {
            const auto due = std::min_element(m_sleepers.begin(), m_sleepers.end(),
                                              [](const Sleeper &a, const Sleeper &b) { return a.wake < b.wake; });
            if (due == m_sleepers.end() || due->wake > target)
                break;
            m_now = due->wake;
            const auto wake = due->outcome;
            m_sleepers.erase(due);
            wake->setValue(true);
            QCoreApplication::processEvents();
        }
        m_now = target;
    }

    qsizetype pending() const { return m_sleepers.size(); }

private:
    struct Sleeper {
        milliseconds wake;
        std::shared_ptr<SharedOutcome<bool>> outcome;
    };
    milliseconds m_now{0};
    QList<Sleeper> m_sleepers;
};

class CardWatcherTest : public ::testing::Test {
protected:
    CardWatcherTest() : table(folder.path())
    {
        table.addInternalDevice(QStringLiteral("sda1"), QStringLiteral("8:1"));
        table.addCardDevice(QStringLiteral("sdb1"), QStringLiteral("8:17"), QStringLiteral("1111-AAAA"));
        table.addCardDevice(QStringLiteral("sdc1"), QStringLiteral("8:33"), QStringLiteral("2222-BBBB"));
        cardPath = table.root() + QStringLiteral("/media/CARD");
        QDir().mkpath(cardPath + QStringLiteral("/DCIM/100CANON"));
        rootMount = {1, QStringLiteral("/"), QStringLiteral("8:1"), QStringLiteral("/dev/sda1"), QStringLiteral("ext4")};
        card = {40, cardPath, QStringLiteral("8:17"), QStringLiteral("/dev/sdb1")};
        otherCard = {50, table.root() + QStringLiteral("/media/OTHER"), QStringLiteral("8:33"),
                     QStringLiteral("/dev/sdc1")};
        table.writeTable({rootMount, card});
        monitor = std::make_unique<VolumeMonitor>(Volumes(table.roots()));
        watcher = std::make_unique<CardWatcher>(monitor.get());
    }

    void mountTable(const QList<Mount> &mounts)
    {
        table.writeTable(mounts);
        monitor->rescan();
    }

    QUrl cardFolder() const { return QUrl::fromLocalFile(cardPath + QStringLiteral("/DCIM/100CANON")); }

    TempFolder folder;
    FakeVolumeTable table;
    QString cardPath;
    Mount rootMount, card, otherCard;
    std::unique_ptr<VolumeMonitor> monitor;
    std::unique_ptr<CardWatcher> watcher;
};

} // namespace

TEST_F(CardWatcherTest, ArmingOnAnInternalFolderLogsAndNeverReportsMissing)
{
    SystemLog::Capture log;
    const QString internal = table.root() + QStringLiteral("/home/Pictures");
    watcher->arm(QUrl::fromLocalFile(internal));
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("[CardWatcher] not armed \u2014 volume of ") + internal
                                       + QStringLiteral(" is not removable/ejectable")});
    EXPECT_FALSE(watcher->volumePath());
    EXPECT_EQ(watcher->subscriptionCount(), 0);

    mountTable({rootMount});
    EXPECT_FALSE(watcher->cardMissing());
}

TEST_F(CardWatcherTest, ArmingDeepInsideACardWatchesTheCardRoot)
{
    SystemLog::Capture log;
    watcher->arm(cardFolder());
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("[CardWatcher] armed for volume ") + cardPath});
    EXPECT_EQ(watcher->volumePath(), cardPath);
    EXPECT_EQ(watcher->subscriptionCount(), 2);
}

TEST_F(CardWatcherTest, UnmountSetsMissingAndTheSameCardAtTheSamePathClearsIt)
{
    watcher->arm(cardFolder());
    QSignalSpy changes(watcher.get(), &CardWatcher::cardMissingChanged);

    mountTable({rootMount});
    EXPECT_TRUE(watcher->cardMissing());
    EXPECT_TRUE(watcher->property("cardMissing").toBool());

    Mount back = card;
    back.id = 41;
    mountTable({rootMount, back});
    EXPECT_FALSE(watcher->cardMissing());
    ASSERT_EQ(changes.size(), 2);
    EXPECT_TRUE(changes.at(0).at(0).toBool());
    EXPECT_FALSE(changes.at(1).at(0).toBool());
}

TEST_F(CardWatcherTest, TheCardBackAtAnotherPathStaysMissing)
{
    watcher->arm(cardFolder());
    mountTable({rootMount});
    Mount moved = card;
    moved.id = 41;
    moved.path = cardPath + QStringLiteral("1");
    mountTable({rootMount, moved});
    EXPECT_TRUE(watcher->cardMissing());
}

TEST_F(CardWatcherTest, ADifferentCardAtTheSamePathIsNotTheCardComingBack)
{
    watcher->arm(cardFolder());
    mountTable({rootMount});
    Mount stranger = otherCard;
    stranger.path = cardPath;
    mountTable({rootMount, stranger});
    EXPECT_TRUE(watcher->cardMissing());

    // Pulling the stranger again and putting ours back clears it.
    mountTable({rootMount});
    Mount back = card;
    back.id = 42;
    mountTable({rootMount, back});
    EXPECT_FALSE(watcher->cardMissing());
}

TEST_F(CardWatcherTest, ACardBackBeforeItsUuidLinkIsKnownByItOnceTheLinkAppears)
{
    SteppedSleeps time;
    watcher->setSleep([&time](milliseconds duration) { return time.sleep(duration); });
    watcher->arm(cardFolder());

    // udev drops the link with the card and makes it again a moment after the mount.
    table.setUuid(QStringLiteral("1111-AAAA"), {});
    mountTable({rootMount});
    Mount back = card;
    back.id = 41;
    mountTable({rootMount, back});
    time.step(CardWatcher::uuidRecheckInterval);
    EXPECT_TRUE(watcher->cardMissing());
    table.setUuid(QStringLiteral("1111-AAAA"), QStringLiteral("sdb1"));
    time.step(CardWatcher::uuidRecheckInterval);
    EXPECT_FALSE(watcher->cardMissing());

    // Another card at that path is still another card once its link appears.
    table.setUuid(QStringLiteral("2222-BBBB"), {});
    mountTable({rootMount});
    Mount stranger = otherCard;
    stranger.path = cardPath;
    mountTable({rootMount, stranger});
    table.setUuid(QStringLiteral("2222-BBBB"), QStringLiteral("sdc1"));
    time.step(CardWatcher::uuidRecheckInterval);
    EXPECT_TRUE(watcher->cardMissing());
    EXPECT_EQ(time.pending(), 0); // no more reads once the UUID is known
}

TEST_F(CardWatcherTest, ACardWaitingLongForItsUuidLinkIsWatchedUntilTheLinkAppears)
{
    SteppedSleeps time;
    watcher->setSleep([&time](milliseconds duration) { return time.sleep(duration); });
    watcher->arm(cardFolder());
    auto backWithoutLink = [&](int mountId) {
        table.setUuid(QStringLiteral("1111-AAAA"), {});
        mountTable({rootMount});
        Mount back = card;
        back.id = mountId;
        mountTable({rootMount, back});
    };

    // A slow system: the link comes long after the first quick reads.
    backWithoutLink(41);
    time.step(std::chrono::minutes(5));
    ASSERT_TRUE(watcher->cardMissing());
    EXPECT_EQ(time.pending(), 1);
    table.setUuid(QStringLiteral("1111-AAAA"), QStringLiteral("sdb1"));
    time.step(std::chrono::seconds(10));
    EXPECT_FALSE(watcher->cardMissing());

    // The link folder's own change tells at once, without waiting for a read.
    backWithoutLink(42);
    table.setUuid(QStringLiteral("1111-AAAA"), QStringLiteral("sdb1"));
    EXPECT_TRUE(spinUntil([&] { return !watcher->cardMissing(); }));
    time.step(std::chrono::seconds(10));
    EXPECT_EQ(time.pending(), 0);
}

TEST_F(CardWatcherTest, ACardWithoutUuidIsJudgedByItsPath)
{
    table.setUuid(QStringLiteral("1111-AAAA"), {});
    watcher->arm(cardFolder());
    mountTable({rootMount});
    ASSERT_TRUE(watcher->cardMissing());
    Mount back = card;
    back.id = 41;
    mountTable({rootMount, back});
    EXPECT_FALSE(watcher->cardMissing());
}

TEST_F(CardWatcherTest, OtherVolumesComingAndGoingChangeNothing)
{
    watcher->arm(cardFolder());
    QSignalSpy changes(watcher.get(), &CardWatcher::cardMissingChanged);
    mountTable({rootMount, card, otherCard});
    mountTable({rootMount, card});
    EXPECT_FALSE(watcher->cardMissing());
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(CardWatcherTest, ArmingTwiceKeepsOnlyTheSecondSubscriptions)
{
    watcher->arm(cardFolder());
    watcher->arm(cardFolder());
    EXPECT_EQ(watcher->subscriptionCount(), 2);
    QSignalSpy changes(watcher.get(), &CardWatcher::cardMissingChanged);
    int calls = 0;
    QObject::connect(monitor.get(), &VolumeMonitor::volumeUnmounted, [&] { ++calls; });
    mountTable({rootMount});
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(changes.size(), 1);

    // Re-arming on an internal folder drops the card's watch and its flag.
    watcher->arm(QUrl::fromLocalFile(table.root() + QStringLiteral("/home")));
    EXPECT_FALSE(watcher->cardMissing());
    EXPECT_EQ(watcher->subscriptionCount(), 0);
}

TEST_F(CardWatcherTest, DisarmWhileTheCardIsOutClearsMissingAtOnce)
{
    watcher->arm(cardFolder());
    mountTable({rootMount});
    ASSERT_TRUE(watcher->cardMissing());
    QSignalSpy changes(watcher.get(), &CardWatcher::cardMissingChanged);
    watcher->disarm();
    EXPECT_FALSE(watcher->cardMissing());
    EXPECT_EQ(changes.size(), 1);
    EXPECT_FALSE(watcher->volumePath());

    // Nothing is watched any more.
    Mount back = card;
    back.id = 41;
    mountTable({rootMount, back});
    mountTable({rootMount});
    EXPECT_FALSE(watcher->cardMissing());
}

TEST_F(CardWatcherTest, LogLinesKeepPercentSignsAsText)
{
    SystemLog::Capture log;
    const QString odd = table.root() + QStringLiteral("/home/%s %n");
    watcher->arm(QUrl::fromLocalFile(odd));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().at(0).contains(QStringLiteral("/home/%s %n is not")));
}
