#include "ScreenGallery.h"

#include "app/ElidedLabel.h"
#include "app/FailureList.h"
#include "app/Paragraph.h"
#include "app/ValidationScreen.h"
#include "look/PomelarkButton.h"

#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

namespace {

ValidationFailure failureAt(const QString &path, ValidationFailure::Reason reason = ValidationFailure::Reason::corruptPhoto)
{
    return {QUuid::createUuid(), QUrl::fromLocalFile(path), reason};
}

ValidationOutcome outcome(int valid, QList<ValidationFailure> failed)
{
    ValidationOutcome result;
    for (int i = 0; i < valid; ++i)
        result.valid.append(MediaItem{QUuid::createUuid(), QUrl::fromLocalFile(QStringLiteral("/p/%1.jpg").arg(i)),
                                      MediaItem::Kind::photo});
    result.failed = std::move(failed);
    result.totalScanned = valid + int(result.failed.size());
    return result;
}

QStringList textsOf(const QWidget &screen)
{
    QStringList texts;
    for (const QLabel *label : screen.findChildren<QLabel *>())
        if (label->isVisibleTo(&screen))
            texts << label->text();
    for (const Paragraph *paragraph : screen.findChildren<Paragraph *>())
        if (paragraph->isVisibleTo(&screen))
            texts << paragraph->text();
    return texts;
}

struct Calls {
    int proceed = 0;
    int retry = 0;
    QList<QList<QUrl>> revealed;
    QStringList chooserAnswers;
    int asked = 0;
};

ValidationScreen::Inputs inputsFor(ValidationOutcome result, Calls &calls)
{
    ValidationScreen::Inputs inputs;
    inputs.phase = ValidationScreen::Phase::result(std::move(result));
    inputs.onProceed = [&calls] { ++calls.proceed; };
    inputs.onRetry = [&calls] { ++calls.retry; };
    inputs.chooseFolder = [&calls] {
        ++calls.asked;
        return calls.chooserAnswers.isEmpty() ? QString() : calls.chooserAnswers.takeFirst();
    };
    inputs.reveal = [&calls](const QList<QUrl> &items) { calls.revealed.append(items); };
    return inputs;
}

void showAt(QWidget &screen, QSize size = {720, 560})
{
    screen.resize(size);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
}

} // namespace

TEST(ValidationScreen, SomeValidAndOneFailedShowsTheSummaryListAndBothWaysOn)
{
    Calls calls;
    ValidationScreen screen(inputsFor(outcome(2, {failureAt(u"/card/DCIM/IMG_0001.JPG"_qs)}), calls));
    showAt(screen);

    EXPECT_FALSE(screen.showsEmptyState());
    const QStringList texts = textsOf(screen);
    EXPECT_TRUE(texts.contains(u"3 scanned · 2 ready"_qs));
    EXPECT_TRUE(texts.contains(u"1 couldn't be imported"_qs));
    ASSERT_NE(screen.failureList(), nullptr);
    EXPECT_EQ(screen.failureList()->rowCount(), 1);
    EXPECT_EQ(screen.failureList()->dividerCount(), 0);
    ASSERT_NE(screen.proceedButton(), nullptr);
    EXPECT_EQ(screen.retryButton()->buttonStyle().fill, ButtonStyle::secondary().fill);
    EXPECT_EQ(screen.proceedButton()->buttonStyle().fill, ButtonStyle::primary().fill);
    ASSERT_NE(screen.asideButton(), nullptr);
    EXPECT_EQ(screen.asideButton()->symbol(), u"tray.and.arrow.down"_qs);
    saveToGallery(screen, u"validation-result"_qs);

    QTest::mouseClick(screen.proceedButton(), Qt::LeftButton);
    EXPECT_EQ(calls.proceed, 1);
    QTest::mouseClick(screen.retryButton(), Qt::LeftButton);
    EXPECT_EQ(calls.retry, 1);
    QTest::mouseClick(screen.failureList()->revealButton(0), Qt::LeftButton);
    ASSERT_EQ(calls.revealed.size(), 1);
    EXPECT_EQ(calls.revealed[0], QList<QUrl>{QUrl::fromLocalFile(u"/card/DCIM/IMG_0001.JPG"_qs)});
    EXPECT_EQ(calls.proceed, 1);
    EXPECT_EQ(calls.retry, 1);
}

TEST(ValidationScreen, NothingValidShowsTheEmptyStateWithOnlyChooseAnotherFolder)
{
    Calls calls;
    QList<ValidationFailure> failed;
    for (int i = 0; i < 4; ++i)
        failed.append(failureAt(QStringLiteral("/card/f%1.mov").arg(i), ValidationFailure::Reason::corruptVideo));
    ValidationScreen screen(inputsFor(outcome(0, failed), calls));
    showAt(screen);

    EXPECT_TRUE(screen.showsEmptyState());
    const QStringList texts = textsOf(screen);
    EXPECT_TRUE(texts.contains(u"No files to import"_qs));
    EXPECT_TRUE(texts.contains(u"The SD card may be damaged, or the file format isn't supported."_qs));
    EXPECT_TRUE(texts.contains(ValidationFailure::message(ValidationFailure::Reason::corruptVideo)));
    EXPECT_EQ(screen.failureList()->rowCount(), 4);
    EXPECT_EQ(screen.failureList()->dividerCount(), 3);
    // The list spans the column; the message gets the height its lines need.
    EXPECT_EQ(screen.failureList()->width(), FailureList::maxWidth);
    const auto *message = screen.findChild<Paragraph *>();
    ASSERT_NE(message, nullptr);
    EXPECT_GE(message->height(), message->heightForWidth(message->width()));
    EXPECT_LE(message->width(), ValidationScreen::columnMaxWidth);
    EXPECT_NE(screen.asideButton(), nullptr);
    EXPECT_EQ(screen.proceedButton(), nullptr);
    EXPECT_EQ(screen.retryButton()->buttonStyle().fill, ButtonStyle::primary().fill);
    saveToGallery(screen, u"validation-empty-with-failures"_qs);

    QTest::mouseClick(screen.retryButton(), Qt::LeftButton);
    EXPECT_EQ(calls.retry, 1);
}

TEST(ValidationScreen, AnEmptyOutcomeOffersNothingButAnotherFolder)
{
    Calls calls;
    ValidationScreen screen(inputsFor({}, calls));
    showAt(screen);
    EXPECT_TRUE(screen.showsEmptyState());
    EXPECT_EQ(screen.failureList(), nullptr);
    EXPECT_EQ(screen.asideButton(), nullptr);
    EXPECT_EQ(screen.findChildren<PomelarkButton *>().size(), 1);
    saveToGallery(screen, u"validation-empty"_qs);
}

TEST(ValidationScreen, ALongListScrollsInsideItsCardAndLongNamesKeepTheirExtension)
{
    Calls calls;
    QList<ValidationFailure> failed;
    failed.append(failureAt(u"/card/"_qs + QString(200, u'x') + u"_END.JPG"_qs));
    for (int i = 0; i < 30; ++i)
        failed.append(failureAt(QStringLiteral("/card/IMG_%1.JPG").arg(i)));
    ValidationScreen screen(inputsFor(outcome(1, failed), calls));
    showAt(screen);

    FailureList *list = screen.failureList();
    EXPECT_LE(list->height(), FailureList::maxHeight);
    EXPECT_LE(list->width(), FailureList::maxWidth);
    EXPECT_GT(list->scrollArea()->verticalScrollBar()->maximum(), 0);
    // The buttons under the list stay inside the window, also at its smallest.
    EXPECT_LE(screen.proceedButton()->geometry().bottom(), screen.height());
    screen.resize(600, 500);
    QCoreApplication::processEvents();
    EXPECT_LE(screen.proceedButton()->geometry().bottom(), screen.height() - 40);
    screen.resize(720, 560);
    QCoreApplication::processEvents();

    const auto names = list->findChildren<ElidedLabel *>();
    ASSERT_FALSE(names.isEmpty());
    ElidedLabel *longName = names.first();
    EXPECT_NE(longName->shownText(), longName->fullText());
    EXPECT_TRUE(longName->shownText().endsWith(u"_END.JPG"_qs));
    EXPECT_TRUE(longName->shownText().contains(u'…'));
    EXPECT_EQ(longName->height(), longName->sizeHint().height()); // one line, never wrapped
    saveToGallery(screen, u"validation-long-list"_qs);
}

TEST(ValidationScreen, SetAsideCopiesIntoTheChosenFolderShowsItAndReports)
{
    TempFolder card;
    TempFolder keep;
    makeTextFile(keep.filePath(u"a.jpg"_qs), "already here");
    const QList<ValidationFailure> failed{failureAt(makeTextFile(card.filePath(u"x/a.jpg"_qs), "x")),
                                          failureAt(makeTextFile(card.filePath(u"y/a.jpg"_qs), "y")),
                                          failureAt(card.filePath(u"missing.jpg"_qs))};
    Calls calls;
    calls.chooserAnswers << keep.path();
    ValidationScreen screen(inputsFor(outcome(1, failed), calls));
    showAt(screen);
    QSignalSpy done(&screen, &ValidationScreen::failedFilesSetAside);

    QTest::mouseClick(screen.asideButton(), Qt::LeftButton);
    EXPECT_EQ(calls.asked, 1);
    ASSERT_TRUE(spinUntil([&] { return done.count() == 1; }));

    EXPECT_EQ(QDir(keep.path()).entryList(QDir::Files).size(), 3);
    ASSERT_EQ(calls.revealed.size(), 1);
    EXPECT_EQ(calls.revealed[0], QList<QUrl>{QUrl::fromLocalFile(keep.path())});
    QMessageBox *box = screen.reportBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), u"Set 2 files aside"_qs);
    EXPECT_TRUE(box->informativeText().startsWith(keep.path()));
    EXPECT_TRUE(box->informativeText().contains(u"missing.jpg"_qs));
    EXPECT_TRUE(screen.asideButton()->isEnabled());
    box->close();

    // Cancelling the chooser copies, shows and reports nothing.
    QTest::mouseClick(screen.asideButton(), Qt::LeftButton);
    EXPECT_EQ(calls.asked, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(calls.revealed.size(), 1);
    EXPECT_EQ(calls.proceed + calls.retry, 0);
}

TEST(ValidationScreen, SetAsideCopiesOnlyRegularFilesAndTheButtonComesBack)
{
    TempFolder card;
    TempFolder keep;
    const QString pipe = card.filePath(u"stuck.jpg"_qs);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString device = makeLink(card.filePath(u"null.mov"_qs), u"/dev/null"_qs);
    // A name that is not valid UTF-8, kept in its URL as the scan keeps it.
    const QByteArray latin1 = QFile::encodeName(card.path()) + "/caf\xe9.jpg";
    makeTextFile(QFile::decodeName(latin1), "a different file that text would name");
    const QList<ValidationFailure> failed{
        failureAt(pipe, ValidationFailure::Reason::emptyFile),
        failureAt(device, ValidationFailure::Reason::emptyFile),
        {QUuid::createUuid(), QUrl::fromEncoded("file://" + latin1.toPercentEncoding("/")),
         ValidationFailure::Reason::unreadable},
        failureAt(makeTextFile(card.filePath(u"ok.jpg"_qs), "ok")),
    };
    Calls calls;
    calls.chooserAnswers << keep.path();
    ValidationScreen screen(inputsFor(outcome(0, failed), calls));
    QSignalSpy done(&screen, &ValidationScreen::failedFilesSetAside);

    screen.setFailedFilesAside();
    const bool finished = spinUntil([&] { return done.count() == 1; });
    if (!finished) {
        // Let a copy stuck on the pipe go, so the test program can end.
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        ::close(writer);
    }
    ASSERT_TRUE(finished) << "the copy waits on the pipe";

    const AsideReport report = done.first().first().value<AsideReport>();
    EXPECT_EQ(report.copied, 1);
    QStringList notCopied;
    for (const AsideReport::Problem &problem : report.problems) {
        notCopied << problem.fileName;
        EXPECT_FALSE(problem.reason.isEmpty());
    }
    EXPECT_EQ(notCopied, (QStringList{u"stuck.jpg"_qs, u"null.mov"_qs, u"caf\uFFFD.jpg"_qs}));
    EXPECT_EQ(QDir(keep.path()).entryList(QDir::Files | QDir::System), QStringList{u"ok.jpg"_qs});
    EXPECT_TRUE(screen.asideButton()->isEnabled());
}

TEST(ValidationScreen, AScreenClosedDuringACopyDropsTheReport)
{
    TempFolder card;
    TempFolder keep;
    Calls calls;
    calls.chooserAnswers << keep.path();
    auto *screen = new ValidationScreen(
        inputsFor(outcome(0, {failureAt(makeTextFile(card.filePath(u"a.jpg"_qs), "a"))}), calls));
    screen->setFailedFilesAside();
    EXPECT_TRUE(screen->isSettingAside());
    delete screen;
    // The copy itself still finishes; nothing is shown for it.
    ASSERT_TRUE(spinUntil([&] { return QFileInfo::exists(keep.filePath(u"a.jpg"_qs)); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(calls.revealed.isEmpty());
}
