#include "services/FFmpegRunner.h"

#include "platform/CpuBudget.h"
#include "platform/MediaProbe.h"
#include "services/CacheKey.h"
#include "services/PlaybackService.h"
#include "services/ThumbnailService.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/ReadFault.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTranslator>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <poll.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace pomelark;
using pomelark::test::awaitTask;
using pomelark::test::contentOf;
using pomelark::test::TempFolder;

namespace {

FFmpegRunner fakeRunner()
{
    return FFmpegRunner([] { return std::optional<QString>(QStringLiteral(POMELARK_FAKE_FFMPEG)); });
}

FFmpegError runFailure(FFmpegRunner &runner, QStringList arguments = {},
                       std::shared_ptr<FFmpegStopper> stopper = {})
{
    try {
        awaitTask(runner.run(arguments, std::move(stopper)));
    } catch (const FFmpegError &error) {
        return error;
    }
    throw std::runtime_error("the run did not fail");
}

/// The argument lists the fake received, one per run.
QList<QStringList> receivedArguments(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> runs;
    for (const QByteArray &line : in.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        QStringList arguments;
        for (const QByteArray &argument : line.split('\0'))
            arguments << QString::fromUtf8(argument);
        arguments.removeLast(); // after the last NUL
        runs << arguments;
    }
    return runs;
}

/// The CPUs a thread may run on, as its status file at `path` lists them.
QByteArray cpusAllowed(const QString &path)
{
    const QByteArray status = contentOf(path);
    const qsizetype at = status.indexOf("Cpus_allowed_list:") + 18;
    return status.mid(at, status.indexOf('\n', at) - at).trimmed();
}

/// The process ids of this process's children.
QStringList children()
{
    QStringList found;
    const QByteArray parent = QByteArray::number(::getpid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs)) {
        // "pid (name) state ppid …"; the name may hold spaces and parentheses.
        const QByteArray stat = contentOf(QStringLiteral("/proc/%1/stat").arg(pid));
        if (stat.mid(stat.lastIndexOf(')') + 2).split(' ').value(1) == parent)
            found << pid;
    }
    return found;
}

class FakeFFmpegTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        argsFile = folder.filePath(QStringLiteral("args"));
        qputenv("FAKE_FFMPEG_ARGS_FILE", argsFile.toUtf8());
    }
    void TearDown() override
    {
        for (const char *name : {"FAKE_FFMPEG_ARGS_FILE", "FAKE_FFMPEG_MODE", "FAKE_FFMPEG_LOG", "FAKE_FFMPEG_EXIT",
                                 "FAKE_FFMPEG_GATE_DIR", "FAKE_FFMPEG_SIGNAL", "FAKE_FFMPEG_SWAP",
                                 "FAKE_FFMPEG_SWAP_WITH"})
            qunsetenv(name);
    }

    TempFolder folder;
    QString argsFile;
    FFmpegRunner runner = fakeRunner();
};

} // namespace

TEST(FFmpegRunner, AMissingProgramFailsEveryTimeAndIsLookedUpOnce)
{
    int lookups = 0;
    FFmpegRunner runner([&] {
        ++lookups;
        return std::optional<QString>();
    });
    for (int i = 0; i < 2; ++i) {
        const FFmpegError error = runFailure(runner);
        EXPECT_EQ(error.kind(), FFmpegError::Kind::binaryNotFound);
        EXPECT_EQ(error.description(), QStringLiteral("ffmpeg not found. Install the ffmpeg package."));
    }
    EXPECT_EQ(lookups, 1);
}

TEST(FFmpegRunner, AProgramThatCannotBeStartedFailsToLaunch)
{
    TempFolder folder;
    const QString notExecutable = test::makeTextFile(folder.filePath(QStringLiteral("ffmpeg")), "#!/bin/sh\n");
    FFmpegRunner runner([&] { return std::optional<QString>(notExecutable); });
    const FFmpegError error = runFailure(runner);
    EXPECT_EQ(error.kind(), FFmpegError::Kind::launchFailed);
    EXPECT_TRUE(error.description().startsWith(QStringLiteral("Failed to launch ffmpeg: ")));
    EXPECT_GT(error.description().size(), QStringLiteral("Failed to launch ffmpeg: ").size());
}

TEST_F(FakeFFmpegTest, SuccessReturnsTheWholeLogUntrimmed)
{
    qputenv("FAKE_FFMPEG_LOG", "\n  Duration: 00:00:01.00, start\n\n");
    EXPECT_EQ(awaitTask(runner.run({})), QStringLiteral("\n  Duration: 00:00:01.00, start\n\n"));
    qputenv("FAKE_FFMPEG_LOG", "");
    EXPECT_EQ(awaitTask(runner.run({})), QString());
}

TEST_F(FakeFFmpegTest, FailureCarriesTheCodeAndTheTrimmedLog)
{
    qputenv("FAKE_FFMPEG_LOG", "  in.mov: Invalid data found\n");
    qputenv("FAKE_FFMPEG_EXIT", "1");
    const FFmpegError error = runFailure(runner);
    EXPECT_EQ(error.kind(), FFmpegError::Kind::nonZeroExit);
    EXPECT_EQ(error.code(), 1);
    EXPECT_EQ(error.stderrText(), QStringLiteral("in.mov: Invalid data found"));
    EXPECT_EQ(error.description(), QStringLiteral("ffmpeg exited with code 1: in.mov: Invalid data found"));
    EXPECT_STREQ(error.what(), "ffmpeg exited with code 1: in.mov: Invalid data found");
}

// Our working file's path means nothing to the user; a failure to write it is
// told as a photo's is, in the system's words, from whichever line gives them.
TEST_F(FakeFFmpegTest, AnOutputThatCannotBeWrittenFailsInThePhotosWordsWithoutItsPath)
{
    const QString output = folder.filePath(QStringLiteral("export-staging/5D5F/9E60.mov"));
    const QList<std::pair<QString, QString>> cases{
        {u"Could not write header for output file #0 (incorrect codec parameters ?): No space left on device\n"
         u"Error initializing output stream 0:1 -- \n"_qs, u"Conversion failed: The disk is full"_qs},
        {u"av_interleaved_write_frame(): Disk quota exceeded\n    Last message repeated 22 times\n"
         u"Error writing trailer of "_qs + output + u": Disk quota exceeded\n"_qs,
         u"Conversion failed: Your disk quota is used up"_qs},
        {output + u": Permission denied\n"_qs, u"Conversion failed: No permission"_qs},
        {u"[mov @ 0x55d0c0ffee00] Cannot open '"_qs + output + u"'\n"_qs, u"Conversion failed"_qs},
        {u"/card/MVI.MOV: Permission denied\n"_qs, u"ffmpeg exited with code 1: /card/MVI.MOV: Permission denied"_qs},
    };
    qputenv("FAKE_FFMPEG_EXIT", "1");
    for (const auto &[log, description] : cases) {
        qputenv("FAKE_FFMPEG_LOG", log.toUtf8());
        const FFmpegError error = runFailure(runner, {QStringLiteral("-y"), output});
        EXPECT_EQ(error.description(), description);
        EXPECT_FALSE(error.inputDamaged()) << qPrintable(log); // the muxer's complaint ends one
    }

    QTranslator korean;
    ASSERT_TRUE(korean.load(QStringLiteral(POMELARK_QM_DIR "/pomelark_ko.qm")));
    QCoreApplication::installTranslator(&korean);
    qputenv("FAKE_FFMPEG_LOG", cases[0].first.toUtf8());
    EXPECT_EQ(runFailure(runner, {output}).description(), u"변환에 실패했어요: 디스크가 가득 찼어요"_qs);
    QCoreApplication::removeTranslator(&korean);
}

TEST_F(FakeFFmpegTest, BytesThatAreNotUtf8AreReplacedAndTheRestKept)
{
    qputenv("FAKE_FFMPEG_MODE", "invalid");
    qputenv("FAKE_FFMPEG_LOG", "  Duration: 00:00:12.50, start: 0.000000\n");
    const QString log = awaitTask(runner.run({}));
    EXPECT_TRUE(log.contains(QStringLiteral("Duration: 00:00:12.50")));
    EXPECT_TRUE(log.contains(QChar::ReplacementCharacter));

    qputenv("FAKE_FFMPEG_LOG", "broken input\n");
    qputenv("FAKE_FFMPEG_EXIT", "1");
    const FFmpegError error = runFailure(runner);
    EXPECT_TRUE(error.stderrText().startsWith(QStringLiteral("title : caf")));
    EXPECT_TRUE(error.stderrText().endsWith(QStringLiteral("broken input")));
}

TEST_F(FakeFFmpegTest, ALogLargerThanThePipeDoesNotStallTheRun)
{
    qputenv("FAKE_FFMPEG_MODE", "large");
    const QString log = awaitTask(runner.run({}));
    EXPECT_EQ(log.size(), 4194300);
}

// A signal leaves no exit status and, mostly, no log: its name is the reason,
// and a file-size limit's is a photo's words for a file too large.
TEST_F(FakeFFmpegTest, ACrashIsAFailedExitWithTheSignalInWords)
{
    qputenv("FAKE_FFMPEG_MODE", "crash");
    const QString output = folder.filePath(QStringLiteral("export-staging/5D5F/9E60.mov"));
    // ffmpeg catches TERM and INT and exits with 255.
    const QList<std::tuple<int, int, QString, QString>> cases{
        {SIGSEGV, SIGSEGV, u"ffmpeg was ended by signal SIGSEGV"_qs, u"ffmpeg가 SIGSEGV 신호로 종료되었어요"_qs},
        {SIGXFSZ, SIGXFSZ, u"Conversion failed: The file is too large"_qs, u"변환에 실패했어요: 파일이 너무 커요"_qs},
        {SIGTERM, 255, u"ffmpeg was stopped"_qs, u"ffmpeg가 중지되었어요"_qs},
        {SIGINT, 255, u"ffmpeg was stopped"_qs, u"ffmpeg가 중지되었어요"_qs},
    };
    QTranslator korean;
    ASSERT_TRUE(korean.load(QStringLiteral(POMELARK_QM_DIR "/pomelark_ko.qm")));
    for (const auto &[signal, code, description, inKorean] : cases) {
        qputenv("FAKE_FFMPEG_SIGNAL", QByteArray::number(signal));
        const FFmpegError error = runFailure(runner, {output});
        EXPECT_EQ(error.kind(), FFmpegError::Kind::nonZeroExit);
        EXPECT_EQ(error.code(), code);
        EXPECT_EQ(error.description(), description);
        QCoreApplication::installTranslator(&korean);
        EXPECT_EQ(error.description(), inKorean);
        QCoreApplication::removeTranslator(&korean);
    }
}

TEST_F(FakeFFmpegTest, TheOwnerCanEndARunningProcess)
{
    qputenv("FAKE_FFMPEG_MODE", "hang");
    auto stopper = std::make_shared<FFmpegStopper>();
    bool finished = false;
    std::optional<FFmpegError> failure;
    auto watch = [&]() -> QCoro::Task<void> {
        try {
            co_await runner.run({QStringLiteral("hang")}, stopper);
        } catch (const FFmpegError &error) {
            failure = error;
        }
        finished = true;
    };
    QCoro::Task<void> running = watch();
    ASSERT_TRUE(test::spinUntil([&] { return receivedArguments(argsFile).size() == 1; }));
    EXPECT_FALSE(finished);
    stopper->stop();
    ASSERT_TRUE(test::spinUntil([&] { return finished; }));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind(), FFmpegError::Kind::nonZeroExit);
    EXPECT_EQ(failure->code(), SIGKILL);

    // A stopped stopper starts no further process.
    EXPECT_EQ(runFailure(runner, {}, stopper).code(), SIGKILL);
    EXPECT_EQ(receivedArguments(argsFile).size(), 1);
}

TEST_F(FakeFFmpegTest, ARunDiesWithTheProgramThatStartedIt)
{
    // A stand-in app starts a run; the fake notes its process id and waits.
    const QString gate = folder.makeFolder(QStringLiteral("gate"));
    qputenv("FAKE_FFMPEG_MODE", "gate");
    qputenv("FAKE_FFMPEG_GATE_DIR", gate.toUtf8());
    QProcess app;
    app.start(QStringLiteral(POMELARK_FFMPEG_PARENT), {QStringLiteral(POMELARK_FAKE_FFMPEG)});
    QStringList running;
    ASSERT_TRUE(test::spinUntil([&] {
        running = QDir(gate + QStringLiteral("/running")).entryList(QDir::Files);
        return !running.isEmpty();
    }));
    const pid_t child = running.first().toInt();
    const int childEnded = int(::syscall(SYS_pidfd_open, child, 0));
    ASSERT_GE(childEnded, 0);

    app.kill();
    ASSERT_TRUE(app.waitForFinished(30000));
    pollfd ended{childEnded, POLLIN, 0};
    const bool died = ::poll(&ended, 1, 30000) == 1;
    if (!died)
        ::kill(child, SIGKILL);
    ::close(childEnded);
    EXPECT_TRUE(died) << "ffmpeg outlived the app that started it";
}

TEST_F(FakeFFmpegTest, ArgumentListsReachTheProgramWholeWithoutAShell)
{
    const QString input = test::makeTextFile(folder.filePath(QStringLiteral("DCIM/my clip; rm -rf $HOME.mov")), "");
    const QString output = folder.filePath(QStringLiteral("poster 1.jpg"));
    awaitTask(runner.extractFrame(input, output));
    awaitTask(runner.convertToHEVC(input, QStringLiteral("/out/a b.mov"), QStringLiteral("1M"), std::nullopt));
    awaitTask(runner.convertToHEVC(input, QStringLiteral("/out/c.mov"), QStringLiteral("2M"),
                                   QStringLiteral("2024-05-01T10:20:30Z")));

    const QList<QStringList> runs = receivedArguments(argsFile);
    ASSERT_EQ(runs.size(), 3);
    // The input is the file the runner opened, by the descriptor ffmpeg inherits.
    QStringList held;
    for (const QStringList &run : runs) {
        held << run.value(run.indexOf(QStringLiteral("-i")) + 1);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^/proc/self/fd/[0-9]+$")).match(held.last()).hasMatch())
            << held.last().toStdString();
    }
    EXPECT_EQ(runs[0], (QStringList{"-hide_banner", "-loglevel", "info", "-y", "-i", held[0], "-vframes", "1", "-q:v",
                                    "2", output}));
    QStringList hevc{"-hide_banner", "-loglevel", "error", "-xerror", "-y", "-i", held[1], "-c:v", "libx265", "-preset",
                     QString::fromLatin1(FFmpegRunner::hevcPreset), "-pix_fmt", "yuv420p", "-x265-params",
                     QStringLiteral("log-level=error:pools=%1").arg(CpuBudget().cpus()), "-tag:v", "hvc1",
                     "-b:v", "1M", "-c:a", "aac", "-b:a", "128k", "-f", "mov", "/out/a b.mov"};
    EXPECT_EQ(runs[1], hevc);
    QStringList stamped = hevc;
    stamped[6] = held[2];
    stamped[18] = QStringLiteral("2M");
    stamped.removeLast();
    stamped << "-metadata" << "creation_time=2024-05-01T10:20:30Z" << "/out/c.mov";
    EXPECT_EQ(runs[2], stamped);
}

TEST_F(FakeFFmpegTest, ASourceThatIsNoFileStartsNoProcess)
{
    // ffmpeg's own open of a named pipe would wait for a writer; a missing file
    // gives a pipe made there meanwhile the same chance.
    const QString pipe = test::makeFifo(folder.filePath(QStringLiteral("MVI_0001.MOV")));
    const test::PipeReleaser stuck(pipe);
    const QString output = folder.filePath(QStringLiteral("out.jpg"));
    for (const QString &input : {pipe, folder.filePath(QStringLiteral("MVI_0002.MOV"))}) {
        for (int run = 0; run < 2; ++run) {
            try {
                awaitTask(run == 0 ? runner.extractFrame(input, output)
                                   : runner.convertToHEVC(input, output, QStringLiteral("1M"), std::nullopt));
                ADD_FAILURE() << "ffmpeg ran";
            } catch (const FFmpegError &error) {
                EXPECT_EQ(error.description(), QStringLiteral("Couldn't read the source file"));
            }
        }
    }
    EXPECT_TRUE(receivedArguments(argsFile).isEmpty());
    EXPECT_EQ(stuck.released(), 0) << "the runner waited on a named pipe";
}

// Put in a video's place between its check and ffmpeg's open of it, a named
// pipe would hold that open, and the send, poster or playable copy with it, for
// ever; a folder or a socket would fail it. ffmpeg reads the file checked.
TEST_F(FakeFFmpegTest, AVideoSwappedAfterItsCheckIsStillTheOneFFmpegReads)
{
    qputenv("FAKE_FFMPEG_MODE", "swap");
    qputenv("FAKE_FFMPEG_LOG", "  Duration: 00:00:01.00, start: 0.000000\n");
    ThumbnailService posters(folder.makeFolder(QStringLiteral("posters")), runner);
    PlaybackService playback(folder.makeFolder(QStringLiteral("playback")), runner,
                             [](const QString &) { return false; });
    // Each runs ffmpeg on the video and gives the file ffmpeg wrote.
    using Use = std::function<QCoro::Task<QString>(QString video)>;
    const std::pair<QString, Use> uses[]{
        {u"send"_qs,
         [&](QString video) -> QCoro::Task<QString> {
             const QString sent = folder.filePath(QStringLiteral("sent.mov"));
             co_await runner.convertToHEVC(video, sent, QStringLiteral("1M"), std::nullopt);
             co_return sent;
         }},
        {u"poster"_qs,
         [&](QString video) -> QCoro::Task<QString> {
             const QString poster = posters.cacheDir() + u"/"_qs + *CacheKey::of(video) + u".jpg"_qs;
             co_await posters.ensureCached(QUrl::fromLocalFile(video));
             co_return poster;
         }},
        {u"playable copy"_qs,
         [&](QString video) -> QCoro::Task<QString> {
             co_return (co_await playback.playableURL(QUrl::fromLocalFile(video))).toLocalFile();
         }},
    };
    for (const QString &with : {u"pipe"_qs, u"folder"_qs, u"socket"_qs}) {
        for (const auto &[use, read] : uses) {
            const std::string row = QStringLiteral("%1 of a video swapped for a %2").arg(use, with).toStdString();
            const QString video = test::makeVideo(folder.filePath(QStringLiteral("card/%1 %2.MOV").arg(use, with)));
            const QByteArray checked = contentOf(video);
            qputenv("FAKE_FFMPEG_SWAP", QFile::encodeName(video));
            qputenv("FAKE_FFMPEG_SWAP_WITH", with.toUtf8());
            const test::PipeReleaser stuck(video);
            try {
                EXPECT_EQ(contentOf(awaitTask(read(video))), checked) << row;
            } catch (const std::exception &error) {
                ADD_FAILURE() << row << ": " << error.what();
            }
            EXPECT_EQ(stuck.released(), 0) << row << ": ffmpeg waited on a named pipe";
        }
    }
}

TEST(FFmpegRunnerWithFFmpeg, GrabsAFrameAndConvertsToHevcWithTheCreationTime)
{
    TempFolder folder;
    const QString source = test::makeVideo(folder.filePath(QStringLiteral("clip one.avi")),
                                           {test::VideoFormat::aviMjpeg, true, 1.0, {160, 120}});
    FFmpegRunner runner;

    const QString poster = folder.filePath(QStringLiteral("poster.jpg"));
    const QString log = awaitTask(runner.extractFrame(source, poster));
    EXPECT_TRUE(log.contains(QStringLiteral("Duration: 00:00:01.0")));
    EXPECT_EQ(QImage(poster).size(), QSize(160, 120));

    const QString copy = folder.filePath(QStringLiteral("copy.mp4"));
    awaitTask(runner.convertToHEVC(source, copy, QStringLiteral("1M"), QStringLiteral("2024-05-01T10:20:30Z")));
    const std::optional<MediaInfo> info = MediaProbe::probe(copy);
    ASSERT_TRUE(info);
    // QuickTime whatever the extension says, HEVC in 8-bit, AAC audio.
    ASSERT_EQ(info->tracks.size(), 2);
    EXPECT_EQ(info->tracks[0].codec, QStringLiteral("hevc"));
    EXPECT_EQ(info->tracks[1].codec, QStringLiteral("aac"));
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("stream=pix_fmt,codec_tag_string:format=format_name:format_tags=creation_time"),
                 QStringLiteral("-of"), QStringLiteral("default=nw=1"), copy});
    ASSERT_TRUE(probe.waitForFinished(60000));
    const QString facts = QString::fromUtf8(probe.readAllStandardOutput());
    EXPECT_TRUE(facts.contains(QStringLiteral("pix_fmt=yuv420p"))) << facts.toStdString();
    EXPECT_TRUE(facts.contains(QStringLiteral("codec_tag_string=hvc1"))) << facts.toStdString();
    EXPECT_TRUE(facts.contains(QStringLiteral("TAG:creation_time=2024-05-01T10:20:30"))) << facts.toStdString();
}

TEST(FFmpegRunnerWithFFmpeg, ADamagedVideoFailsWithFFmpegsMessage)
{
    TempFolder folder;
    const QString source = test::makeVideo(folder.filePath(QStringLiteral("broken.mov")));
    test::truncateFile(source, 2000);
    FFmpegRunner runner;
    try {
        awaitTask(runner.extractFrame(source, folder.filePath(QStringLiteral("p.jpg"))));
        FAIL() << "a damaged video gave a poster";
    } catch (const FFmpegError &error) {
        EXPECT_EQ(error.kind(), FFmpegError::Kind::nonZeroExit);
        EXPECT_NE(error.code(), 0);
        EXPECT_FALSE(error.stderrText().isEmpty());
        EXPECT_FALSE(error.stderrText().endsWith(QLatin1Char('\n')));
        // ffmpeg is given the file by its descriptor; its words name it by its path.
        EXPECT_EQ(FFmpegError::reasonLine(error.stderrText()),
                  source + QStringLiteral(": Invalid data found when processing input"));
        EXPECT_TRUE(error.inputDamaged());
    }
}

TEST(FFmpegRunnerWithFFmpeg, AReadThatFailsMidwayIsNoConversion)
{
    TempFolder folder;
    const QString source = test::makeVideo(folder.filePath(QStringLiteral("MVI_0001.MOV")), {.seconds = 3.0});
    const test::ReadFault cardPulled(source, QFileInfo(source).size() / 3);
    FFmpegRunner runner;
    try {
        awaitTask(runner.convertToHEVC(source, folder.filePath(QStringLiteral("copy.mov")), QStringLiteral("1M"),
                                       std::nullopt));
        FAIL() << "a video read only in part counted as converted";
    } catch (const FFmpegError &error) {
        EXPECT_EQ(error.kind(), FFmpegError::Kind::nonZeroExit) << error.what();
    }
}

// x265 in ffmpeg moves each of its threads onto every CPU of its NUMA node. A
// conversion started from a thread held to two CPUs keeps every thread of the
// child on them, and a library the user preloads stays preloaded beside ours.
TEST(FFmpegRunnerWithFFmpeg, EveryThreadOfTheChildStaysOnTheCpusItWasStartedOn)
{
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof(allowed), &allowed), 0);
    if (CPU_COUNT(&allowed) < 3)
        GTEST_SKIP() << "needs a CPU to leave out besides the two given";
    cpu_set_t two;
    CPU_ZERO(&two);
    for (int cpu = 0; CPU_COUNT(&two) < 2; ++cpu) {
        if (CPU_ISSET(cpu, &allowed))
            CPU_SET(cpu, &two);
    }
    TempFolder folder;
    const QString source = test::makeVideo(folder.filePath(QStringLiteral("MVI_0001.MOV")),
                                           {.seconds = 2.0, .size = {640, 480}});
    const test::ReadFault usersOwn(folder.filePath(QStringLiteral("never read")), 0);
    const QByteArray usersPreload = qgetenv("LD_PRELOAD");

    ASSERT_EQ(sched_setaffinity(0, sizeof(two), &two), 0);
    const QByteArray given = cpusAllowed(QStringLiteral("/proc/thread-self/status"));
    FFmpegRunner runner;
    QCoro::Task<QString> converting =
        runner.convertToHEVC(source, folder.filePath(QStringLiteral("copy.mov")), QStringLiteral("1M"), std::nullopt);
    qsizetype mostThreads = 0;
    QSet<QByteArray> escaped;
    QByteArray preload;
    test::spinUntil([&] {
        for (const QString &child : children()) {
            const QString proc = QStringLiteral("/proc/") + child;
            for (const QByteArray &variable : contentOf(proc + QStringLiteral("/environ")).split('\0')) {
                if (variable.startsWith("LD_PRELOAD="))
                    preload = variable.mid(11);
            }
            const QStringList threads = QDir(proc + QStringLiteral("/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            mostThreads = std::max(mostThreads, threads.size());
            for (const QString &thread : threads) {
                const QByteArray cpus = cpusAllowed(proc + QStringLiteral("/task/") + thread + QStringLiteral("/status"));
                if (!cpus.isEmpty() && cpus != given)
                    escaped << cpus;
            }
        }
        return converting.isReady();
    }, std::chrono::minutes(2));
    sched_setaffinity(0, sizeof(allowed), &allowed);
    awaitTask(std::move(converting));

    EXPECT_GT(mostThreads, 2) << "x265's threads were never seen";
    EXPECT_TRUE(escaped.isEmpty()) << "threads moved to CPUs " << escaped.values().join(' ').toStdString();
    EXPECT_TRUE(preload.startsWith(QByteArray(usersPreload + ":"))) << preload.toStdString();
}
