#include "MessageBoxButtons.h"
#include "support/TestSettings.h"

#include "app/AppLanguage.h"
#include "app/SegmentedControl.h"
#include "app/SettingsRow.h"
#include "app/SettingsScreen.h"
#include "look/IconBtn.h"

#include "support/AsyncTest.h"
#include "support/GalleryPictures.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace pomelark;

namespace {

class SettingsScreenTest : public ::testing::Test {
protected:
    SettingsScreen *open(int width = 700, int height = 560)
    {
        SettingsScreen::Inputs inputs;
        inputs.onBack = [this] { ++backs; };
        inputs.relaunchApp = [this] { ++relaunches; };
        screen = std::make_unique<SettingsScreen>(std::move(inputs));
        screen->resize(width, height);
        screen->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
        return screen.get();
    }

    static void click(SegmentedControl *control, int segment)
    {
        QTest::mouseClick(control, Qt::LeftButton, {}, control->segmentRect(segment).center());
    }

    QString stored(const char *key) const { return settings.value(QLatin1String(key)).toString(); }

    test::TestSettings settings;
    std::unique_ptr<SettingsScreen> screen;
    int backs = 0;
    int relaunches = 0;
};

void saveGallery(QWidget *widget, const QString &name)
{
    widget->grab().save(test::galleryPath(name + QStringLiteral(".png")));
}

} // namespace

TEST_F(SettingsScreenTest, WithNothingStoredShowsTheDefaultsAndTheSystemLanguage)
{
    open(700, 760);
    EXPECT_EQ(screen->dateModePicker()->selectedIndex(), 0); // Keep capture date
    EXPECT_EQ(screen->qualityPicker()->selectedIndex(), 0);  // Smaller size
    const int system = AppLanguage::systemDefault() == AppLanguage::ko ? 1 : 0;
    EXPECT_EQ(screen->languagePicker()->selectedIndex(), system);
    EXPECT_FALSE(settings.contains(QStringLiteral("settings.dateMode"))); // showing is not storing
    saveGallery(screen.get(), QStringLiteral("settings-defaults"));
}

TEST_F(SettingsScreenTest, AChoiceIsStoredAtOnceAndKeptAfterGoingBack)
{
    open();
    click(screen->dateModePicker(), 1);
    EXPECT_EQ(stored("settings.dateMode"), QStringLiteral("now"));
    EXPECT_EQ(screen->dateModePicker()->selectedIndex(), 1);
    click(screen->qualityPicker(), 1);
    EXPECT_EQ(stored("settings.quality"), QStringLiteral("quality"));

    IconBtn *back = screen->findChild<IconBtn *>();
    ASSERT_TRUE(back);
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(backs, 1);
    screen.reset();

    open();
    EXPECT_EQ(screen->dateModePicker()->selectedIndex(), 1);
    EXPECT_EQ(screen->qualityPicker()->selectedIndex(), 1);
    EXPECT_FALSE(screen->pendingRestart());
}

TEST_F(SettingsScreenTest, TheHighlightEasesToTheNewSegment)
{
    open();
    SegmentedControl *picker = screen->dateModePicker();
    click(picker, 1);
    EXPECT_LT(picker->selectionProgress(1), 1.0); // still moving
    EXPECT_TRUE(test::spinUntil([&] { return picker->selectionProgress(1) == 1.0 && picker->selectionProgress(0) == 0.0; }));

    // A drag that ends outside the segment it began on picks nothing.
    QTest::mousePress(picker, Qt::LeftButton, {}, picker->segmentRect(0).center());
    QTest::mouseRelease(picker, Qt::LeftButton, {}, picker->segmentRect(1).center());
    EXPECT_EQ(stored("settings.dateMode"), QStringLiteral("now"));
}

TEST_F(SettingsScreenTest, PickingTheOtherLanguageStoresItAndOffersARestart)
{
    settings.setValue(QStringLiteral("settings.language"), QStringLiteral("en"));
    open();
    click(screen->languagePicker(), 0); // the one already chosen
    EXPECT_FALSE(screen->pendingRestart());
    EXPECT_FALSE(screen->restartAlert());

    click(screen->languagePicker(), 1);
    EXPECT_EQ(stored("settings.language"), QStringLiteral("ko"));
    EXPECT_EQ(settings.value(QStringLiteral("AppleLanguages")).toStringList(), QStringList{QStringLiteral("ko")});
    ASSERT_TRUE(screen->pendingRestart());
    QMessageBox *alert = screen->restartAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->text(), QStringLiteral("Restart to apply the language"));
    EXPECT_EQ(alert->informativeText(), QStringLiteral("Pomelark will reopen in the language you picked."));

    QPushButton *later = test::buttonNamed(alert, QStringLiteral("Later"));
    ASSERT_TRUE(later);
    later->click();
    EXPECT_FALSE(screen->pendingRestart());
    EXPECT_EQ(relaunches, 0);
    EXPECT_EQ(stored("settings.language"), QStringLiteral("ko")); // applies at the next start

    click(screen->languagePicker(), 0);
    ASSERT_TRUE(test::spinUntil([&] { return screen->restartAlert() != nullptr; }));
    QPushButton *restart = test::buttonNamed(screen->restartAlert(), QStringLiteral("Restart now"));
    ASSERT_TRUE(restart);
    restart->click();
    EXPECT_EQ(relaunches, 1);
    EXPECT_FALSE(screen->pendingRestart());
    EXPECT_EQ(stored("settings.language"), QStringLiteral("en"));
}

TEST_F(SettingsScreenTest, AnUnknownStoredLanguageSelectsNothingUntilOneIsPicked)
{
    settings.setValue(QStringLiteral("settings.language"), QStringLiteral("ja"));
    open();
    EXPECT_EQ(screen->languagePicker()->selectedIndex(), -1);
    EXPECT_EQ(screen->languagePicker()->selectionProgress(0), 0.0);
    EXPECT_EQ(screen->languagePicker()->selectionProgress(1), 0.0);
    screen->languageChanged(QStringLiteral("fr")); // not a language of ours: nothing happens
    EXPECT_FALSE(screen->pendingRestart());
    EXPECT_EQ(stored("settings.language"), QStringLiteral("ja"));

    click(screen->languagePicker(), 0);
    EXPECT_EQ(stored("settings.language"), QStringLiteral("en"));
    EXPECT_TRUE(screen->pendingRestart());
}

TEST_F(SettingsScreenTest, CardColumnIsFullWidthAndCentredAtEveryAllowedWidth)
{
    for (int width : {600, 760, 1400}) {
        open(width, 500);
        QWidget *column = screen->cardColumn();
        QWidget *viewport = screen->findChild<QScrollArea *>()->viewport();
        EXPECT_EQ(column->width(), SettingsScreen::columnWidth) << width;
        const int centre = column->mapTo(viewport, column->rect().center()).x();
        EXPECT_NEAR(centre, viewport->width() / 2, 1) << width;
        EXPECT_EQ(screen->findChild<QScrollArea *>()->verticalScrollBar()->value(), 0);
        saveGallery(screen.get(), QStringLiteral("settings-%1").arg(width));
    }
}

TEST_F(SettingsScreenTest, ALongDescriptionWrapsAndTheControlStaysCentredBesideIt)
{
    open(600, 500);
    const QList<SettingsRow *> rows = screen->findChildren<SettingsRow *>();
    ASSERT_EQ(rows.size(), 5);
    SettingsRow *shortRow = rows.at(0); // one line at any width
    SettingsRow *longRow = rows.at(4);
    ASSERT_TRUE(longRow->isLast());
    const int oneLine = shortRow->descLabel()->height();
    EXPECT_GE(longRow->descLabel()->height(), oneLine * 2 - 4);
    EXPECT_GT(longRow->height(), shortRow->height());
    const QRect control = longRow->control()->geometry();
    EXPECT_NEAR(control.center().y(), longRow->rect().center().y(), 1);
    // The text never runs under the control.
    EXPECT_LE(longRow->descLabel()->geometry().right(), control.left());
}
