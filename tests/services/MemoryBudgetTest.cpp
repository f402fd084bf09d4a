#include "services/MemoryBudget.h"

#include "support/CameraLikePhotos.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>

using namespace pomelark;

namespace {

/// A claim that never comes fails the test instead of hanging it.
template <typename Future>
bool done(Future &future)
{
    return future.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
}

} // namespace

TEST(MemoryBudget, AYieldingClaimWaitsInLineAndGivesWayToAClaimThatMustComeToPass)
{
    MemoryBudget budget(100);
    std::stop_source never;

    // A yielding claim waits for the place taken before its own, even when it
    // would fit, and then for room beside what that place claimed.
    MemoryBudget::Place first = budget.line(), second = budget.line();
    std::atomic_bool firstGranted = false;
    auto behind = std::async(std::launch::async, [&] {
        return budget.claimYielding(std::move(second), 30, never.get_token(), [] {}) && firstGranted;
    });
    std::optional<MemoryBudget::Claim> held = budget.claim(std::move(first), 80, never.get_token());
    firstGranted = held.has_value();
    held->shrinkTo(70);
    ASSERT_TRUE(done(behind));
    EXPECT_TRUE(behind.get());
    held.reset();

    // Taken in either order, a yielding claim held never keeps a claim that
    // must come to pass waiting: asked, it lets go, and that one is granted.
    std::optional<MemoryBudget::Claim> ahead;
    std::atomic_int asked = 0;
    ahead.emplace(*budget.claimYielding(budget.line(), 60, never.get_token(), [&] {
        ++asked;
        ahead.reset();
    }));
    const std::optional<MemoryBudget::Claim> conversion = budget.claim(budget.line(), 90, never.get_token());
    ASSERT_TRUE(conversion);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(budget.held(), 90);

    // While one waits, no yielding claim is granted, even one that would fit,
    // nor one behind a place not yet claimed; a stop ends the wait, and a
    // place let go unclaimed frees the line.
    std::promise<void> askedToLetGo;
    const std::optional<MemoryBudget::Claim> stubborn =
        budget.claimYielding(budget.line(), 5, never.get_token(), [&] { askedToLetGo.set_value(); });
    std::stop_source stopConversion;
    auto waiting = std::async(std::launch::async,
                              [&] { return budget.claim(budget.line(), 50, stopConversion.get_token()).has_value(); });
    askedToLetGo.get_future().wait();
    std::optional<MemoryBudget::Place> unclaimed = budget.line();
    std::atomic_bool conversionStopped = false, placeLeft = false;
    auto readAhead = std::async(std::launch::async, [&] {
        return budget.claimYielding(budget.line(), 5, never.get_token(), [] {}) && conversionStopped && placeLeft;
    });
    conversionStopped = true;
    stopConversion.request_stop();
    ASSERT_TRUE(done(waiting));
    EXPECT_FALSE(waiting.get());
    placeLeft = true;
    unclaimed.reset();
    ASSERT_TRUE(done(readAhead));
    EXPECT_TRUE(readAhead.get());
}

TEST(MemoryBudget, BothKindsOfClaimRefuseAfterAStopAndALetGoThatThrowsLeavesTheBudgetWhole)
{
    MemoryBudget budget(100);
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(budget.claim(budget.line(), 10, stopped.get_token()));
    EXPECT_FALSE(budget.claimYielding(budget.line(), 10, stopped.get_token(), [] {}));
    EXPECT_EQ(budget.held(), 0);

    // The claim that asked fails with the exception; the yielding claim stays
    // held, and later claims of both kinds go on as before.
    std::stop_source never;
    std::optional<MemoryBudget::Claim> ahead =
        budget.claimYielding(budget.line(), 60, never.get_token(), [] { throw std::runtime_error("let go"); });
    EXPECT_THROW(budget.claim(budget.line(), 90, never.get_token()), std::runtime_error);
    EXPECT_EQ(budget.held(), 60);
    ahead.reset();
    std::stop_source giveUp;
    auto later = std::async(std::launch::async, [&] {
        return budget.claimYielding(budget.line(), 10, giveUp.get_token(), [] {}).has_value();
    });
    const bool granted = done(later);
    giveUp.request_stop();
    EXPECT_TRUE(granted && later.get());
}

TEST(MemoryBudget, TheSettingIsAWholeNumberOfMegabytesUpToTheComputersMemory)
{
    constexpr qint64 megabyte = 1024 * 1024, computer = 24 * 1024 * megabyte;
    const auto bytes = [](const char *text, qint64 physical = computer) {
        return MemoryBudget::settingFrom(text, physical).bytes;
    };
    const auto noted = [](const char *text) { return !MemoryBudget::settingFrom(text, computer).note.isEmpty(); };

    EXPECT_EQ(bytes(""), computer / 2);
    EXPECT_FALSE(noted(" "));
    EXPECT_EQ(bytes(" 6144 "), 6144 * megabyte);
    EXPECT_FALSE(noted("6144"));
    // Anything but a whole number above 0 is said, and the default used.
    for (const char *unusable : {"64MB", "abc", "0", "-5", "+5", "1e3"}) {
        EXPECT_EQ(bytes(unusable), computer / 2) << unusable;
        EXPECT_TRUE(noted(unusable)) << unusable;
    }
    // More than the computer has, however many digits, is the computer's all,
    // and said: never a budget of 0 or one without bound.
    for (const char *huge : {"99999999999", "9999999999999", "99999999999999999999999"}) {
        EXPECT_EQ(bytes(huge), computer) << huge;
        EXPECT_TRUE(noted(huge)) << huge;
        EXPECT_GT(bytes(huge, 0), qint64(1) << 50) << huge;
    }
    EXPECT_EQ(MemoryBudget::settingFrom("64MB", computer).note,
              u"POMELARK_MEMORY_MB=\"64MB\" is not a whole number of megabytes above 0: a send may hold 12288 MB, "
              u"half this computer's memory"_qs);
}

// Each conversion claims what it holds at its peak; between photos the process
// must not go on holding what they freed (the allocator keeps it, in an arena
// for each of the encoder's threads), or a send of many small photos passes
// its budget by far on a computer of many CPUs.
TEST(MemoryBudget, AWholeSendHoldsNoMoreThanItsBudgetAboveWhereItStarted)
{
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's own memory hides the send's";
#endif
#endif
    test::TempFolder card, staging, pictures;
    // Small and coarse: little of what their conversions hold is their pictures'.
    const QList<QImage> photographs = test::samplePhotographs();
    const QImage shots[] = {test::cameraLikePicture(photographs, 1, QSize(640, 480)),
                            test::cameraLikePicture(photographs, 2, QSize(1024, 768))};
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(shots[i % 2].save(card.filePath(u"IMG_%1.JPG"_qs.arg(i, 4, 10, QLatin1Char('0'))), "JPG", 10));
    const QString tiny = test::makeJpeg(pictures.filePath(u"tiny.jpg"_qs), {.size = QSize(64, 64)});
    constexpr qint64 budgetMB = 40;
    QProcess send;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"POMELARK_MEMORY_MB"_qs, QString::number(budgetMB));
    send.setProcessEnvironment(environment);
    send.start(QStringLiteral(POMELARK_CONVERSION_PEAK),
               {u"--send"_qs, card.path(), pictures.filePath(u"Photos"_qs), staging.path(), tiny});
    ASSERT_TRUE(send.waitForFinished(-1));
    ASSERT_EQ(send.exitCode(), 0) << send.readAllStandardError().constData();
    const QList<QByteArray> figures = send.readAllStandardOutput().trimmed().split(' ');
    EXPECT_EQ(figures.value(1).toInt(), 12);
    EXPECT_LE(figures.value(0).toLongLong(), budgetMB << 20) << "took " << (figures.value(0).toLongLong() >> 20)
                                                             << " MB above its idle start";
}
