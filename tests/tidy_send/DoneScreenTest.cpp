#include "tidy_send/DoneScreen.h"

#include "Gallery.h"
#include "support/Fixtures.h"
#include "support/ScopedEnv.h"
#include "support/SteppedTime.h"
#include "support/TempFolder.h"

#include "look/PomelarkButton.h"
#include "tidy_send/RoundedBox.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

using Mode = DoneScreen::Mode;
using Phase = ExportCoordinator::Phase;

TEST(DoneScreenModeTest, OnlyAFinishedOrRefusedSendMakesAScreen)
{
    const ExportCoordinator::FailedItem failure{QUuid::createUuid(), {}, QStringLiteral("Conversion failed")};
    EXPECT_EQ(Mode::fromPhase(Phase::finished(3, 2, {failure, failure})), Mode::success(3, 2, 2));
    EXPECT_EQ(Mode::fromPhase(Phase::finished(0, 0, {})), Mode::success(0, 0, 0));
    EXPECT_EQ(Mode::fromPhase(Phase::of(Phase::Kind::permissionDenied)), Mode::permissionDenied());
    EXPECT_EQ(Mode::fromPhase(Phase::running(1, QStringLiteral("A.JPG"))), std::nullopt);
    EXPECT_EQ(Mode::fromPhase(Phase::of(Phase::Kind::idle)), std::nullopt);
    EXPECT_EQ(Mode::fromPhase(Phase::of(Phase::Kind::requestingPermission)), std::nullopt);
}

TEST(DoneScreenFolderTest, OpensTheLibraryOrTheNearestFolderAboveIt)
{
    test::TempFolder temp;
    const QString pictures = temp.makeFolder(QStringLiteral("Pictures"));
    EXPECT_EQ(DoneScreen::folderToOpen(pictures + QStringLiteral("/Photos")), pictures);
    EXPECT_EQ(DoneScreen::folderToOpen(pictures + QStringLiteral("/Photos/2024/")), pictures);
    const QString library = temp.makeFolder(QStringLiteral("Pictures/Photos"));
    EXPECT_EQ(DoneScreen::folderToOpen(library), library);
    EXPECT_EQ(DoneScreen::folderToOpen(QString()), QString());
}

class DoneScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(900, 700);
        // As a Korean desktop's folder settings name the Pictures folder.
        test::makeTextFile(home.filePath(u".config/user-dirs.dirs"_qs), "XDG_PICTURES_DIR=\"$HOME/사진\"\n");
        home.makeFolder(u"사진"_qs);
    }

    DoneScreen *show(Mode mode)
    {
        auto *screen = new DoneScreen({mode, [this] { ++restarts; }, [this] { ++backs; }}, &window,
                                      [this](const QUrl &folder) {
                                          opened.append(folder);
                                          return true;
                                      },
                                      time.ticker);
        window.show();
        screen->show();
        return screen;
    }

    static PomelarkButton *button(const DoneScreen &screen, const QString &text)
    {
        for (PomelarkButton *candidate : screen.findChildren<PomelarkButton *>())
            if (candidate->text() == text)
                return candidate;
        return nullptr;
    }

    static int dividers(const DoneScreen &screen)
    {
        int count = 0;
        for (const RoundedBox *box : screen.findChildren<RoundedBox *>())
            count += box->objectName() == QStringLiteral("divider");
        return count;
    }

    /// A desktop of our own: the user's real folders are never named or opened.
    test::TempFolder home;
    test::ScopedEnv homeEnv{"HOME", home.path().toUtf8()};
    test::ScopedEnv configEnv{"XDG_CONFIG_HOME", home.filePath(u".config"_qs).toUtf8()};
    test::ScopedEnv libraryEnv{"POMELARK_PHOTOS_DIR", {}};
    test::SteppedTime time;
    QWidget window;
    int restarts = 0;
    int backs = 0;
    QList<QUrl> opened;
};

TEST_F(DoneScreenTest, SuccessShowsOnlyTheRowsItsCountsCallFor)
{
    const QString title = QStringLiteral("All set in your Photos folder");
    const QString line = QStringLiteral("Nothing was left on your computer · SD card originals untouched");
    const QString photosLine = QStringLiteral("Went into Photos · in your 사진 folder");
    const QString videosLine = QStringLiteral("Converted to iPhone format and sent");
    const QString back = QStringLiteral("Back to start");
    struct Case {
        Mode mode;
        QStringList texts;
        int dividers;
    };
    const QList<Case> cases = {
        {Mode::success(0, 0, 0), {title, line, back}, 0},
        {Mode::success(3, 0, 0), {title, line, QStringLiteral("3 photos"), photosLine, back}, 0},
        {Mode::success(0, 2, 0), {title, line, QStringLiteral("2 videos"), videosLine, back}, 0},
        {Mode::success(3, 2, 1),
         {title, line, QStringLiteral("3 photos"), photosLine, QStringLiteral("2 videos"), videosLine,
          QStringLiteral("1 couldn't be sent"), back},
         1},
        {Mode::success(0, 0, 4), {title, line, QStringLiteral("4 couldn't be sent"), back}, 0},
    };
    for (const Case &c : cases) {
        DoneScreen *screen = show(c.mode);
        EXPECT_EQ(test::shownTexts(*screen), c.texts) << c.mode.photos << c.mode.videos << c.mode.failed;
        EXPECT_EQ(dividers(*screen), c.dividers);
        if (c.mode == Mode::success(3, 2, 1)) {
            time.step(1s);
            EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("done-success")));
        }
        delete screen;
    }
}

TEST_F(DoneScreenTest, BackToStartCallsOnlyRestart)
{
    DoneScreen *screen = show(Mode::success(1, 0, 0));
    QTest::mouseClick(button(*screen, QStringLiteral("Back to start")), Qt::LeftButton);
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(backs, 0);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(DoneScreenTest, RefusedSendOffersThePicturesFolderAndTheWayBackToTheGrid)
{
    DoneScreen *screen = show(Mode::permissionDenied());
    EXPECT_EQ(test::shownTexts(*screen),
              (QStringList{QStringLiteral("Photos access needed"), QStringLiteral("Let Pomelark write to 사진 → Photos"),
                           QStringLiteral("Open 사진 Folder"), QStringLiteral("Back to grid")}));
    EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("done-permission-denied")));

    QTest::mouseClick(button(*screen, QStringLiteral("Open 사진 Folder")), Qt::LeftButton);
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(home.filePath(u"사진"_qs))});
    EXPECT_EQ(restarts + backs, 0);
    QTest::mouseClick(button(*screen, QStringLiteral("Back to grid")), Qt::LeftButton);
    EXPECT_EQ(backs, 1);
    EXPECT_EQ(restarts, 0);
}

TEST_F(DoneScreenTest, NamesTheFoldersThePhotosReallyWentInto)
{
    struct Case {
        QString root;
        QString library;
        QString holder;
        QString opens;
    };
    const QString backup = home.makeFolder(u"Backup"_qs);
    const QList<Case> cases = {
        {backup + u"/Family"_qs, u"Family"_qs, u"the Backup"_qs, u"Backup"_qs},
        {home.filePath(u"Photos"_qs), u"Photos"_qs, u"your Home"_qs, u"Home"_qs},
    };
    for (const Case &c : cases) {
        const test::ScopedEnv elsewhere("POMELARK_PHOTOS_DIR", c.root.toUtf8());
        DoneScreen *screen = show(Mode::success(3, 0, 0));
        EXPECT_EQ(test::shownTexts(*screen),
                  (QStringList{u"All set in your %1 folder"_qs.arg(c.library),
                               u"Nothing was left on your computer · SD card originals untouched"_qs, u"3 photos"_qs,
                               u"Went into %1 · in %2 folder"_qs.arg(c.library, c.holder), u"Back to start"_qs}));
        delete screen;
        screen = show(Mode::permissionDenied());
        const QString writeTo = c.holder.section(u' ', 1);
        EXPECT_EQ(test::shownTexts(*screen),
                  (QStringList{u"Photos access needed"_qs, u"Let Pomelark write to %1 → %2"_qs.arg(writeTo, c.library),
                               u"Open %1 Folder"_qs.arg(c.opens), u"Back to grid"_qs}));
        delete screen;
    }
}

TEST_F(DoneScreenTest, CheckMarkPopsInOnTheSpringAfterTheScreenAppears)
{
    DoneScreen *screen = show(Mode::success(1, 1, 0));
    EXPECT_EQ(screen->checkScale(), 0.0);
    time.step(48ms);
    EXPECT_EQ(screen->checkScale(), 0.0) << "the pop waits 0.05 s";
    qreal largest = 0;
    for (int frame = 0; frame < 120; ++frame) {
        time.step(16ms);
        largest = std::max(largest, screen->checkScale());
    }
    EXPECT_GT(largest, 1.0) << "an underdamped spring overshoots";
    EXPECT_DOUBLE_EQ(screen->checkScale(), 1.0);

    // Shown anew, it pops again from nothing.
    screen->hide();
    screen->show();
    EXPECT_EQ(screen->checkScale(), 0.0);
}

TEST_F(DoneScreenTest, StatsCardIsAtMost440WideAndKeepsItsTitlesWhole)
{
    DoneScreen *screen = show(Mode::success(12345, 678, 0));
    QApplication::processEvents();
    RoundedBox *card = nullptr;
    for (RoundedBox *box : screen->findChildren<RoundedBox *>())
        if (box->maximumWidth() == 440)
            card = box;
    ASSERT_TRUE(card);
    EXPECT_EQ(card->width(), 440);
    EXPECT_NEAR(card->geometry().center().x(), window.width() / 2, 1);

    window.resize(420, 700);
    QApplication::processEvents();
    EXPECT_LE(card->width(), 420 - 2 * SendScreenFrame::padding);
    for (QLabel *label : card->findChildren<QLabel *>())
        if (label->text().endsWith(QStringLiteral("photos")) || label->text().endsWith(QStringLiteral("videos")))
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
}

} // namespace
} // namespace pomelark
