#include "ScreenGallery.h"

#include "app/ElidedLabel.h"
#include "app/ToolbarView.h"
#include "look/CountLabel.h"
#include "look/IconBtn.h"
#include "look/PomelarkButton.h"
#include "look/SelectToggle.h"
#include "look/ToolIconBtn.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace pomelark;
using pomelark::test::saveToGallery;

namespace {

struct Presses {
    QStringList calls;
};

ToolbarView::Inputs toolbarInputs(Presses &presses, bool hasMedia)
{
    ToolbarView::Inputs inputs;
    inputs.folderPath = u"/media/card/DCIM/100CANON"_qs;
    inputs.photoCount = hasMedia ? 120 : 0;
    inputs.videoCount = hasMedia ? 4 : 0;
    inputs.hasMedia = hasMedia;
    auto record = [&presses](const char *name) { return [&presses, name] { presses.calls << QString::fromLatin1(name); }; };
    inputs.onPickFolder = record("pick");
    inputs.onAutoRotate = record("rotate");
    inputs.onBestShot = record("best");
    inputs.onToggleSelect = record("select");
    inputs.onSendToPhotos = record("send");
    inputs.onSettings = record("settings");
    return inputs;
}

void showAt(QWidget &widget, int width)
{
    widget.resize(width, widget.sizeHint().height());
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

void clickAll(ToolbarView &bar)
{
    for (QAbstractButton *button : QList<QAbstractButton *>{bar.sendButton(), bar.settingsButton(), bar.folderButton(),
                                                            bar.autoRotateButton(), bar.bestShotButton(),
                                                            bar.selectToggle()})
        QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

TEST(ToolbarView, EveryControlCallsItsOwnAction)
{
    Presses presses;
    ToolbarView bar(toolbarInputs(presses, true));
    showAt(bar, 800);
    clickAll(bar);
    EXPECT_EQ(presses.calls,
              (QStringList{u"send"_qs, u"settings"_qs, u"pick"_qs, u"rotate"_qs, u"best"_qs, u"select"_qs}));
    EXPECT_EQ(bar.photoLabel()->text(), u"120 photos"_qs);
    EXPECT_EQ(bar.videoLabel()->text(), u"4 videos"_qs);
    EXPECT_EQ(bar.folderLine()->fullText(), u"Source folder · /media/card/DCIM/100CANON"_qs);
    saveToGallery(bar, u"toolbar"_qs);
}

TEST(ToolbarView, WithoutMediaOnlyTheGearAndTheFolderButtonWork)
{
    Presses presses;
    ToolbarView bar(toolbarInputs(presses, false));
    showAt(bar, 800);
    EXPECT_EQ(bar.photoLabel()->text(), u"0 photos"_qs);
    EXPECT_EQ(bar.videoLabel()->text(), u"0 videos"_qs);
    EXPECT_FALSE(bar.sendButton()->isEnabled());
    EXPECT_FALSE(bar.autoRotateButton()->isEnabled());
    EXPECT_FALSE(bar.bestShotButton()->isEnabled());
    EXPECT_FALSE(bar.selectToggle()->isEnabled());
    clickAll(bar);
    EXPECT_EQ(presses.calls, (QStringList{u"settings"_qs, u"pick"_qs}));
    saveToGallery(bar, u"toolbar-no-media"_qs);

    bar.setHasMedia(true);
    presses.calls.clear();
    clickAll(bar);
    EXPECT_EQ(presses.calls.size(), 6);
}

TEST(ToolbarView, TheSkippedLabelAndTheMessageLineShowOnlyWhenGiven)
{
    Presses presses;
    ToolbarView bar(toolbarInputs(presses, true));
    showAt(bar, 800);
    const int plainHeight = bar.sizeHint().height();
    EXPECT_FALSE(bar.skippedLabel()->isVisible());
    EXPECT_FALSE(bar.errorLine()->isVisible());

    bar.setSkippedCount(3);
    bar.setErrorMessage(u"Something went sideways"_qs);
    QCoreApplication::processEvents();
    EXPECT_TRUE(bar.skippedLabel()->isVisible());
    EXPECT_TRUE(bar.skippedLabel()->isMuted());
    EXPECT_EQ(bar.skippedLabel()->text(), u"3 skipped"_qs);
    EXPECT_EQ(bar.skippedLabel()->icon(), u"questionmark"_qs);
    EXPECT_GT(bar.skippedLabel()->x(), bar.videoLabel()->x());
    EXPECT_TRUE(bar.errorLine()->isVisible());
    EXPECT_EQ(bar.errorLine()->text(), u"Something went sideways"_qs);
    EXPECT_GT(bar.errorLine()->y(), bar.folderLine()->y());
    EXPECT_LT(bar.errorLine()->y(), bar.photoLabel()->y());
    EXPECT_GT(bar.sizeHint().height(), plainHeight);
    bar.resize(800, bar.sizeHint().height());
    saveToGallery(bar, u"toolbar-skipped-and-message"_qs);

    bar.setErrorMessage(std::nullopt);
    bar.setSkippedCount(0);
    EXPECT_EQ(bar.sizeHint().height(), plainHeight);
    EXPECT_FALSE(bar.skippedLabel()->isVisible());
}

TEST(ToolbarView, ALongPathGivesWayBeforeTheFolderButton)
{
    Presses presses;
    ToolbarView::Inputs inputs = toolbarInputs(presses, true);
    inputs.folderPath = u"/media/someone/"_qs + QString(300, u'd') + u"/100CANON"_qs;
    ToolbarView bar(std::move(inputs));
    showAt(bar, 640);
    EXPECT_EQ(bar.folderButton()->size(), bar.folderButton()->sizeHint());
    EXPECT_LE(bar.folderButton()->geometry().right(), bar.width());
    EXPECT_TRUE(bar.folderLine()->shownText().startsWith(u"Source folder · /media"_qs));
    EXPECT_TRUE(bar.folderLine()->shownText().endsWith(u"/100CANON"_qs));
    EXPECT_NE(bar.folderLine()->shownText(), bar.folderLine()->fullText());
}

TEST(ToolbarView, SettersUpdateWhatIsShown)
{
    Presses presses;
    ToolbarView bar(toolbarInputs(presses, true));
    showAt(bar, 800);
    bar.setSelectMode(true);
    EXPECT_TRUE(bar.selectToggle()->isActive());
    QTest::mouseClick(bar.selectToggle(), Qt::LeftButton);
    EXPECT_EQ(presses.calls, QStringList{u"select"_qs});
    bar.setSelectMode(false);
    EXPECT_FALSE(bar.selectToggle()->isActive());

    bar.setPhotoCount(7);
    bar.setVideoCount(1);
    bar.setFolderPath(u"/home/me/Pictures/trip"_qs);
    EXPECT_EQ(bar.photoLabel()->text(), u"7 photos"_qs);
    EXPECT_EQ(bar.videoLabel()->text(), u"1 videos"_qs);
    EXPECT_EQ(bar.folderLine()->fullText(), u"Source folder · /home/me/Pictures/trip"_qs);
}
