#include "platform/SerialExecutor.h"

#include "support/AsyncTest.h"

#include <QDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>

using namespace pomelark;
using pomelark::test::awaitTask;

namespace {

struct CustomError : std::exception {
    explicit CustomError(int code) : code(code) {}
    int code;
};

} // namespace

TEST(SerialExecutor, RunsJobsOneAtATimeInSubmissionOrder)
{
    SerialExecutor executor(QStringLiteral("test"));
    std::mutex lock;
    std::vector<int> order;
    std::atomic<int> running{0};
    std::atomic<int> mostAtOnce{0};
    std::vector<QCoro::Task<int>> tasks;
    for (int i = 0; i < 20; ++i) {
        tasks.push_back(executor.run([&, i] {
            const int now = ++running;
            mostAtOnce = std::max(mostAtOnce.load(), now);
            QThread::usleep(200);
            {
                std::lock_guard guard(lock);
                order.push_back(i);
            }
            --running;
            return i * 2;
        }));
    }
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(awaitTask(std::move(tasks[size_t(i)])), i * 2);
    EXPECT_EQ(mostAtOnce.load(), 1);
    std::vector<int> expected(20);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(order, expected);
}

TEST(SerialExecutor, WorkRunsOffTheMainThreadAndResumesOnIt)
{
    SerialExecutor executor(QStringLiteral("test"));
    QThread *main = QThread::currentThread();
    auto probe = [&]() -> QCoro::Task<std::pair<bool, bool>> {
        const bool workerWasOther = co_await executor.run([main] { return QThread::currentThread() != main; });
        co_return std::pair{workerWasOther, QThread::currentThread() == main};
    };
    const auto [offMain, backOnMain] = awaitTask(probe());
    EXPECT_TRUE(offMain);
    EXPECT_TRUE(backOnMain);
}

TEST(SerialExecutor, ExceptionReachesTheAwaiterWithItsType)
{
    SerialExecutor executor(QStringLiteral("test"));
    try {
        awaitTask(executor.run([]() -> int { throw CustomError(42); }));
        FAIL() << "no exception";
    } catch (const CustomError &error) {
        EXPECT_EQ(error.code, 42);
    }
    EXPECT_THROW(awaitTask(executor.run([] { throw std::runtime_error("void job"); })), std::runtime_error);
    // The executor keeps working after a job threw.
    EXPECT_EQ(awaitTask(executor.run([] { return 7; })), 7);
}

TEST(SerialExecutor, MainThreadAnswersQuestionsBetweenStepsWithoutDeadlock)
{
    // A run that alternates worker steps with questions answered on the main
    // thread, as validation asks whether the card is still there before each file.
    SerialExecutor executor(QStringLiteral("test"));
    QThread *main = QThread::currentThread();
    int questions = 0;
    auto ask = [&] {
        EXPECT_EQ(QThread::currentThread(), main);
        return ++questions < 4;
    };
    auto run = [&]() -> QCoro::Task<int> {
        int steps = 0;
        while (ask())
            steps += co_await executor.run([] { return 1; });
        co_return steps;
    };
    EXPECT_EQ(awaitTask(run()), 3);
    EXPECT_EQ(questions, 4);
}

TEST(SerialExecutor, AnAbandonedExecutorGoesAtOnceAndItsThreadEndsWithItsJob)
{
    const auto entries = [](const char *folder) { return QDir(QString::fromLatin1(folder)).count(); };
    const qsizetype threadsBefore = entries("/proc/self/task");
    const qsizetype descriptorsBefore = entries("/proc/self/fd");
    std::mutex gate;
    std::unique_lock closed(gate);
    std::atomic<int> ended{0};
    // Abandoned, none of them resumes: kept, as their awaiter would keep them.
    static auto *never = new std::vector<QCoro::Task<void>>;
    for (int i = 0; i < 20; ++i) {
        SerialExecutor executor(QStringLiteral("test"));
        never->push_back(executor.run([&] {
            const std::lock_guard wait(gate);
            ++ended;
        }));
        executor.abandon();
    }
    EXPECT_GE(entries("/proc/self/task"), threadsBefore + 20);
    closed.unlock();
    // Each thread, and the descriptors its event dispatcher held, go once its job has ended.
    EXPECT_TRUE(pomelark::test::spinUntil([&] {
        return ended == 20 && entries("/proc/self/task") <= threadsBefore
               && entries("/proc/self/fd") <= descriptorsBefore;
    }, std::chrono::seconds(20)));
}
