#include "services/PlaybackService.h"

#include "services/PlaybackPrewarmer.h"

#include "services/CacheKey.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <gtest/gtest.h>

#include <QScopeGuard>

#include <condition_variable>
#include <mutex>

#include <utime.h>

using namespace pomelark;
using namespace pomelark::test;
using QuickCheckResult = PlaybackPreparation::QuickCheckResult;

namespace {

/// A playability test that answers "convert it" and, once armed, holds the
/// chosen call until the test opens it, as a probe of a slow card takes its time.
class HeldProbe {
public:
    /// Holds the call after the next `passing` ones.
    void holdAfter(int passing)
    {
        std::lock_guard lock(m_mutex);
        m_holdAt = m_calls + passing + 1;
        m_held = false;
        m_open = false;
    }
    bool answer()
    {
        std::unique_lock lock(m_mutex);
        if (++m_calls == m_holdAt) {
            m_held = true;
            m_opened.wait(lock, [this] { return m_open; });
        }
        return false;
    }
    bool isHolding() const
    {
        std::lock_guard lock(m_mutex);
        return m_held && !m_open;
    }
    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_opened;
    int m_calls = 0;
    int m_holdAt = 0;
    bool m_held = false;
    bool m_open = false;
};

/// A playable-video cache over a fresh folder, run by the fake ffmpeg, where
/// every file whose name starts with "ok" plays as it is.
class PlaybackServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        output = makeTextFile(folder.filePath(QStringLiteral("converted")), "a converted copy");
        argsFile = folder.filePath(QStringLiteral("args"));
        gate = folder.makeFolder(QStringLiteral("gate"));
        qputenv("FAKE_FFMPEG_ARGS_FILE", argsFile.toUtf8());
        qputenv("FAKE_FFMPEG_POSTER", output.toUtf8());
    }
    void TearDown() override
    {
        for (const char *name : {"FAKE_FFMPEG_ARGS_FILE", "FAKE_FFMPEG_POSTER", "FAKE_FFMPEG_EXIT", "FAKE_FFMPEG_MODE",
                                 "FAKE_FFMPEG_GATE_DIR"})
            qunsetenv(name);
    }

    void useGate()
    {
        qputenv("FAKE_FFMPEG_MODE", "gate");
        qputenv("FAKE_FFMPEG_GATE_DIR", gate.toUtf8());
    }
    void release(const QString &name) { makeTextFile(gate + QStringLiteral("/release/") + name, ""); }
    int startedRuns() const
    {
        QFile file(gate + QStringLiteral("/started"));
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }
    int runs() const
    {
        QFile file(argsFile);
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }
    QUrl video(const QString &name) const
    {
        return QUrl::fromLocalFile(makeTextFile(folder.filePath(QStringLiteral("card/") + name), "video bytes"));
    }
    QString copyOf(const QUrl &source) const
    {
        return cache.filePath(*CacheKey::of(source.toLocalFile()) + QStringLiteral(".mov"));
    }
    QStringList cacheFiles() const { return QDir(cache.path()).entryList(QDir::Files); }

    TempFolder folder;
    TempFolder cache;
    QString output;
    QString argsFile;
    QString gate;
    FFmpegRunner runner{[] { return std::optional<QString>(QStringLiteral(POMELARK_FAKE_FFMPEG)); }};
    PlaybackService service{cache.path(), runner,
                            [](const QString &path) { return QFileInfo(path).fileName().startsWith(QLatin1String("ok")); }};
};

} // namespace

TEST_F(PlaybackServiceTest, PlayableFilesComeBackUnchangedWithoutAConversion)
{
    const QUrl source = video(QStringLiteral("ok.mov"));
    EXPECT_EQ(awaitTask(service.playableURL(source)), source);
    EXPECT_EQ(awaitTask(service.quickCheck(source)), QuickCheckResult::alreadyPlayable);
    // Even a file that is gone: no cache key is needed for it.
    const QUrl gone = QUrl::fromLocalFile(folder.filePath(QStringLiteral("ok-gone.mov")));
    EXPECT_EQ(awaitTask(service.playableURL(gone)), gone);
    EXPECT_EQ(runs(), 0);
}

TEST_F(PlaybackServiceTest, TwoRequestsForOneSourceShareOneConversion)
{
    useGate();
    const QUrl source = video(QStringLiteral("clip.avi"));
    auto first = service.playableURL(source);
    auto second = service.playableURL(source);
    ASSERT_TRUE(spinUntil([&] { return startedRuns() == 1; }));
    EXPECT_EQ(awaitTask(service.quickCheck(source)), QuickCheckResult::needsTranscode);
    EXPECT_TRUE(service.isConverting(source));
    release(QStringLiteral("clip.avi"));
    const QUrl a = awaitTask(std::move(first));
    const QUrl b = awaitTask(std::move(second));
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.toLocalFile(), copyOf(source));
    EXPECT_EQ(startedRuns(), 1);
    EXPECT_EQ(service.conversionsInFlight(), 0);
    EXPECT_EQ(cacheFiles(), QStringList({QFileInfo(copyOf(source)).fileName()}));
    EXPECT_EQ(awaitTask(service.quickCheck(source)), QuickCheckResult::alreadyPlayable);
    // A finished copy is found without another run.
    EXPECT_EQ(awaitTask(service.playableURL(source)), a);
    EXPECT_EQ(runs(), 1);
}

TEST_F(PlaybackServiceTest, AFailedConversionLeavesItsPartialFileAndTheNextTryStartsClean)
{
    const QUrl source = video(QStringLiteral("clip.mov"));
    qputenv("FAKE_FFMPEG_EXIT", "1");
    EXPECT_THROW(awaitTask(service.playableURL(source)), FFmpegError);
    EXPECT_EQ(cacheFiles(), QStringList({QFileInfo(copyOf(source)).fileName() + QStringLiteral(".partial")}));
    EXPECT_EQ(service.conversionsInFlight(), 0);

    qunsetenv("FAKE_FFMPEG_EXIT");
    EXPECT_EQ(awaitTask(service.playableURL(source)).toLocalFile(), copyOf(source));
    EXPECT_EQ(cacheFiles(), QStringList({QFileInfo(copyOf(source)).fileName()}));
    EXPECT_EQ(runs(), 2);
}

TEST_F(PlaybackServiceTest, AVideoReadOnlyInPartLeavesNoPlayableCopy)
{
    // What ffmpeg leaves, with exit status 0, when its source ends early: a
    // third of the video.
    const QUrl source = QUrl::fromLocalFile(
        makeVideo(folder.filePath(QStringLiteral("card/MVI_0001.AVI")), {.format = VideoFormat::aviMjpeg, .seconds = 3.0}));
    qputenv("FAKE_FFMPEG_POSTER", makeVideo(folder.filePath(QStringLiteral("cut.mov")), {.seconds = 1.0}).toUtf8());
    try {
        awaitTask(service.playableURL(source));
        FAIL() << "a copy of a third of the video was kept as its playable copy";
    } catch (const FFmpegError &error) {
        EXPECT_EQ(error.description(), QStringLiteral("ffmpeg read only 1.0 of the video's 3.0 seconds"));
    }
    EXPECT_FALSE(QFileInfo::exists(copyOf(source)));
    EXPECT_EQ(awaitTask(service.quickCheck(source)), QuickCheckResult::needsTranscode);
}

TEST_F(PlaybackServiceTest, ATouchedSourceIsConvertedAgainUnderANewKey)
{
    const QUrl source = video(QStringLiteral("clip.mov"));
    const QString before = awaitTask(service.playableURL(source)).toLocalFile();
    utimbuf later{1700000000, 1700000000};
    ASSERT_EQ(::utime(QFile::encodeName(source.toLocalFile()).constData(), &later), 0);
    const QString after = awaitTask(service.playableURL(source)).toLocalFile();
    EXPECT_NE(before, after);
    EXPECT_EQ(runs(), 2);
}

TEST_F(PlaybackServiceTest, AnUnreadableSourceFailsAndQuickCheckSaysItNeedsWork)
{
    const QUrl missing = QUrl::fromLocalFile(folder.filePath(QStringLiteral("missing.avi")));
    EXPECT_THROW(awaitTask(service.playableURL(missing)), PlaybackError);
    EXPECT_EQ(awaitTask(service.quickCheck(missing)), QuickCheckResult::needsTranscode);
}

TEST_F(PlaybackServiceTest, StoppingAnUnsharedConversionLeavesNothingBehind)
{
    useGate();
    const QUrl source = video(QStringLiteral("long.avi"));
    const auto request = std::make_shared<PlaybackRequest>();
    auto converting = service.playableURL(source, request);
    ASSERT_TRUE(spinUntil([&] { return startedRuns() == 1; }));
    request->withdraw();
    EXPECT_THROW(awaitTask(std::move(converting)), FFmpegError);
    EXPECT_TRUE(cacheFiles().isEmpty());
    EXPECT_EQ(service.conversionsInFlight(), 0); // nothing runs now
}

TEST_F(PlaybackServiceTest, AConversionSomeoneJoinedIsNotStopped)
{
    useGate();
    const QUrl source = video(QStringLiteral("shared.avi"));
    const auto request = std::make_shared<PlaybackRequest>();
    auto prewarm = service.playableURL(source, request);
    auto viewer = service.playableURL(source);
    ASSERT_TRUE(spinUntil([&] { return startedRuns() == 1; }));
    request->withdraw(); // the withdrawn request waits on with the viewer
    release(QStringLiteral("shared.avi"));
    EXPECT_EQ(awaitTask(std::move(viewer)).toLocalFile(), copyOf(source));
    EXPECT_EQ(awaitTask(std::move(prewarm)).toLocalFile(), copyOf(source));
}

TEST_F(PlaybackServiceTest, APrewarmerStoppedMidConversionLeavesNoPartialAndNoCopy)
{
    useGate();
    PlaybackPrewarmer prewarmer(service);
    const QUrl source = video(QStringLiteral("long.avi"));
    prewarmer.start({{QUuid::createUuid(), source, MediaItem::Kind::video}});
    ASSERT_TRUE(spinUntil([&] { return startedRuns() == 1; }));
    awaitTask(prewarmer.stop()); // returns without the gate ever opening
    EXPECT_TRUE(cacheFiles().isEmpty());
    EXPECT_TRUE(prewarmer.states().isEmpty());
    EXPECT_EQ(service.conversionsInFlight(), 0);
}

TEST_F(PlaybackServiceTest, APrewarmerStoppedWhileItsRequestIsProbedEndsItAndSparesTheViewersConversion)
{
    useGate();
    HeldProbe probe;
    PlaybackService slow(cache.path(), runner, [&probe](const QString &) { return probe.answer(); });
    const auto openAtEnd = qScopeGuard([&] { probe.open(); });
    bool stopped = false;
    auto stopping = [&stopped](PlaybackPrewarmer &prewarmer) -> QCoro::Task<void> {
        stopped = false;
        co_await prewarmer.stop();
        stopped = true;
    };

    // The viewer converts a video; the prewarmer's request for it is still probed.
    const QUrl shared = video(QStringLiteral("shared.avi"));
    auto viewer = slow.playableURL(shared);
    ASSERT_TRUE(spinUntil([&] { return startedRuns() == 1; }));
    probe.holdAfter(1); // the prewarmer's quick check passes, its request's probe is held
    {
        PlaybackPrewarmer prewarmer(slow);
        prewarmer.start({{QUuid::createUuid(), shared, MediaItem::Kind::video}});
        ASSERT_TRUE(spinUntil([&] { return probe.isHolding(); }));
        auto stop = stopping(prewarmer);
        EXPECT_TRUE(spinUntil([&] { return stopped; })); // before the held probe answers
        probe.open();
        release(QStringLiteral("shared.avi"));
        EXPECT_EQ(awaitTask(std::move(viewer)).toLocalFile(), copyOf(shared)); // not stopped
        awaitTask(std::move(stop));
    }

    // Alone: once the held probe answers, no conversion starts for the stopped prewarmer.
    const QUrl alone = video(QStringLiteral("alone.avi"));
    probe.holdAfter(1);
    PlaybackPrewarmer prewarmer(slow);
    prewarmer.start({{QUuid::createUuid(), alone, MediaItem::Kind::video}});
    ASSERT_TRUE(spinUntil([&] { return probe.isHolding(); }));
    auto stop = stopping(prewarmer);
    EXPECT_TRUE(spinUntil([&] { return stopped; }));
    probe.open();
    awaitTask(std::move(stop));
    EXPECT_EQ(awaitTask(slow.quickCheck(alone)), QuickCheckResult::needsTranscode); // after the probe's answer
    EXPECT_EQ(startedRuns(), 1);
    EXPECT_EQ(slow.conversionsInFlight(), 0);
}
