#include "SessionHarness.h"

#include <QSettings>
#include <QTranslator>
#include <QSignalSpy>

using namespace pomelark;
using namespace pomelark::test;
using Screen = ContentView::Screen;
using InfoAlert = ContentView::InfoAlert;

namespace {

class ContentViewState : public SessionHarness {
protected:
    void showGrid()
    {
        a = photo(QStringLiteral("a.jpg"));
        b = photo(QStringLiteral("b.jpg"));
        v = video(QStringLiteral("v.mov"));
        view->enterGrid({a, v, b}, false);
    }
    MediaItem a, b, v;
};

} // namespace

TEST_F(ContentViewState, StartsOnWelcomeAndSettingsReturnWhereTheyWereOpened)
{
    EXPECT_EQ(view->screen(), Screen::welcome);
    EXPECT_EQ(view->settingsReturn(), Screen::grid);
    EXPECT_LT(view->preparingStartedAt().date().year(), 2000);

    view->openSettings(Screen::welcome);
    EXPECT_EQ(view->screen(), Screen::settings);
    view->closeSettings();
    EXPECT_EQ(view->screen(), Screen::welcome);

    showGrid();
    view->openSettings(Screen::grid);
    view->closeSettings();
    EXPECT_EQ(view->screen(), Screen::grid);
}

TEST_F(ContentViewState, EnterGridSplitsItemsByKindKeepingTheirOrder)
{
    showGrid();
    EXPECT_EQ(view->photos(), (MediaItems{a, b}));
    EXPECT_EQ(view->videos(), MediaItems{v});
    EXPECT_EQ(view->allItems(), (MediaItems{a, b, v}));
    EXPECT_EQ(view->screen(), Screen::grid);
}

TEST_F(ContentViewState, EveryWayOutOfSelectModeEmptiesTheSelection)
{
    showGrid();
    QSignalSpy selectionChanges(view.get(), &SessionState::selectedIDsChanged);

    view->selectAll();
    EXPECT_TRUE(view->selectMode());
    EXPECT_EQ(view->selectedIDs(), (SessionState::IDSet{a.id, b.id, v.id}));

    view->clearSelection();
    EXPECT_TRUE(view->selectMode());
    EXPECT_TRUE(view->selectedIDs().isEmpty());

    view->selectedIDsBinding().set({a.id});
    view->toggleSelectMode();
    EXPECT_FALSE(view->selectMode());
    EXPECT_TRUE(view->selectedIDs().isEmpty());

    view->toggleSelectMode();
    EXPECT_TRUE(view->selectMode());
    view->selectedIDsBinding().set({b.id});
    EXPECT_EQ(view->selectedIDsBinding().get(), SessionState::IDSet{b.id});
    view->finishSelecting();
    EXPECT_FALSE(view->selectMode());
    EXPECT_TRUE(view->selectedIDs().isEmpty());
    EXPECT_EQ(selectionChanges.size(), 6);   // one per real change, none for a repeat
}

TEST_F(ContentViewState, ViewerBindingReadsZeroWhileClosedAndWritesTheIndex)
{
    auto index = view->viewerIndexBinding();
    EXPECT_EQ(index.get(), 0);
    view->openViewer(2);
    EXPECT_EQ(index.get(), 2);
    index.set(1);
    EXPECT_EQ(view->viewerIndex(), 1);
    view->closeViewer();
    EXPECT_FALSE(view->viewerIndex());
    EXPECT_EQ(index.get(), 0);
}

TEST_F(ContentViewState, RotationsWrittenThroughTheBindingStayWithinATurn)
{
    const QUuid id = QUuid::createUuid();
    view->rotationsBinding().set({{id, 450}});
    EXPECT_EQ(view->rotations().value(id), 90);
    view->rotationsBinding().set({{id, -90}});
    EXPECT_EQ(view->rotations().value(id), 270);
}

TEST_F(ContentViewState, AnAlertIsDismissedOnlyByWritingFalse)
{
    auto presented = view->infoAlertPresentedBinding();
    EXPECT_FALSE(presented.get());
    EXPECT_TRUE(view->infoAlertTitle().isEmpty());
    EXPECT_TRUE(view->infoAlertMessage().isEmpty());

    view->autoRotateTapped();   // no photos
    ASSERT_EQ(view->infoAlert(), InfoAlert::noPhotosToRotate);
    EXPECT_TRUE(presented.get());
    EXPECT_EQ(view->infoAlertTitle(), QStringLiteral("No photos to straighten"));
    presented.set(true);
    EXPECT_EQ(view->infoAlert(), InfoAlert::noPhotosToRotate);
    presented.set(false);
    EXPECT_FALSE(view->infoAlert());
}

TEST_F(ContentViewState, EveryAlertHasItsOwnTitleAndMessage)
{
    QSet<QString> texts;
    for (InfoAlert alert : {InfoAlert::allUpright, InfoAlert::noPhotosToRotate, InfoAlert::noBestShotGroups,
                            InfoAlert::notEnoughPhotos}) {
        texts.insert(ContentView::title(alert));
        texts.insert(ContentView::message(alert));
    }
    EXPECT_EQ(texts.size(), 8);
    EXPECT_FALSE(texts.contains(QString()));

    QTranslator korean;
    ASSERT_TRUE(korean.load(QStringLiteral(POMELARK_QM_DIR "/pomelark_ko.qm")));
    QCoreApplication::installTranslator(&korean);
    EXPECT_EQ(ContentView::title(InfoAlert::allUpright), QStringLiteral("모두 똑바로 서 있어요!"));
    EXPECT_EQ(ContentView::progressCountText(3, 7), QStringLiteral("3 / 7"));
    QCoreApplication::removeTranslator(&korean);
}

TEST_F(ContentViewState, BindingsOutliveTheControllerHarmlessly)
{
    auto selected = view->selectedIDsBinding();
    auto index = view->viewerIndexBinding();
    view.reset();
    selected.set({QUuid::createUuid()});
    EXPECT_TRUE(selected.get().isEmpty());
    index.set(3);
    EXPECT_EQ(index.get(), 0);
}

TEST_F(ContentViewState, StoredChoicesOutsideTheKnownTextsCountAsTheDefaults)
{
    EXPECT_EQ(view->dateMode(), QStringLiteral("keep"));
    EXPECT_EQ(view->quality(), QStringLiteral("size"));
    EXPECT_TRUE(view->autoCleanup());
    {
        QSettings store(settingsFile(), QSettings::IniFormat);
        store.setValue(SessionDefaults::dateModeKey, QStringLiteral("Now"));
        store.setValue(SessionDefaults::qualityKey, QStringLiteral("best"));
    }
    EXPECT_EQ(view->dateMode(), QStringLiteral("Now"));
    EXPECT_EQ(view->dateModeChoice(), DateMode::keep);
    const SessionDefaults defaults(settingsFile());
    EXPECT_EQ(defaults.exportSettings(), (ExportSettings{DateMode::keep, QualityMode::size, true}));
    {
        QSettings store(settingsFile(), QSettings::IniFormat);
        store.setValue(SessionDefaults::dateModeKey, QStringLiteral("now"));
        store.setValue(SessionDefaults::qualityKey, QStringLiteral("quality"));
        store.setValue(SessionDefaults::autoCleanupKey, false);
    }
    EXPECT_EQ(defaults.exportSettings(), (ExportSettings{DateMode::now, QualityMode::quality, false}));
}
