// Walks every screen and overlay of the window in each display language with
// the real catalogue loaded, and fails on any text the program looks up at
// run time and does not find. The catalogue check alone cannot see a context
// that the program names differently from the catalogue tools.

#include "SessionHarness.h"
#include "support/Fixtures.h"
#include "support/GalleryPictures.h"
#include "support/ScopedEnv.h"
#include "support/ShownTexts.h"
#include "support/SteppedTime.h"
#include "support/TestSettings.h"
#include "support/WidgetEvents.h"

#include "app/AppLanguage.h"
#include "app/AppTranslations.h"
#include "app/FolderPanel.h"
#include "app/GridScreen.h"
#include "app/MainView.h"
#include "app/MainWindow.h"
#include "app/SegmentedControl.h"
#include "app/SettingsScreen.h"
#include "app/ToolbarView.h"
#include "app/UpdatePrompt.h"
#include "app/ValidationScreen.h"
#include "app/WelcomeView.h"
#include "browsing/MediaGridView.h"
#include "browsing/VideoPlayerPanel.h"
#include "browsing/ViewerView.h"
#include "look/CountLabel.h"
#include "look/ScrollIndicators.h"
#include "look/ToolIconBtn.h"
#include "platform/SystemErrorText.h"
#include "tidy_send/BestShotConfirmView.h"
#include "tidy_send/DoneScreen.h"

#include <QAbstractButton>
#include <QAbstractProxyModel>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

using namespace pomelark;
using namespace pomelark::test;
using Screen = ContentView::Screen;
using namespace std::chrono_literals;

namespace {

/// Our catalogue of one language, noting every lookup of ours that finds
/// nothing. Qt's own contexts (its classes all begin with Q) are not ours.
class MissRecorder : public QTranslator {
public:
    /// In English only plural texts and texts whose key is not English need the catalogue.
    explicit MissRecorder(AppLanguage language) : m_language(language) {}

    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        const QString found = QTranslator::translate(context, sourceText, disambiguation, n);
        if (found.isEmpty() && isOurs(context) && needsCatalogue(QString::fromUtf8(sourceText), n))
            misses.insert(QString::fromUtf8(context) + QStringLiteral(" | ") + QString::fromUtf8(sourceText));
        return found;
    }

    mutable QSet<QString> misses;

private:
    static bool isOurs(const char *context) { return !(context[0] == 'Q' && QChar(context[1]).isUpper()); }

    bool needsCatalogue(const QString &source, int n) const
    {
        static const QRegularExpression placeholders(QStringLiteral("%L?(\\d+|n)"));
        const QString words = QString(source).remove(placeholders);
        const bool hasLetters = std::any_of(words.begin(), words.end(), [](QChar c) { return c.isLetter(); });
        if (m_language == AppLanguage::ko || !hasLetters)
            return hasLetters;
        const bool koreanKey = std::any_of(words.begin(), words.end(), [](QChar c) { return c.script() == QChar::Script_Hangul; });
        return n >= 0 || koreanKey;
    }

    AppLanguage m_language;
};

class ShownLanguageTest : public SessionHarness, public testing::WithParamInterface<AppLanguage::Code> {
protected:
    ShownLanguageTest() : recorder(GetParam())
    {
        // Qt's own texts and the language's locale, as the app puts them in place at start.
        AppTranslations::install(GetParam(), translations, QStringLiteral(POMELARK_QM_DIR));
        // Asked before the catalogues above, so it sees every lookup of ours.
        EXPECT_TRUE(recorder.load(QStringLiteral("pomelark_") + AppLanguage(GetParam()).code(),
                                  QStringLiteral(POMELARK_QM_DIR)));
        QCoreApplication::installTranslator(&recorder);
        main = std::make_unique<MainView>(view.get(), nullptr, time.ticker);
        main->resize(900, 640);
        main->show();
    }
    ~ShownLanguageTest() override
    {
        main.reset();
        QCoreApplication::removeTranslator(&recorder);
    }

    /// Lets fades finish and saves a picture of `widget` (the window when none)
    /// under app-gallery/<language>/ for a person to look at.
    void snap(const QString &name, QWidget *widget = nullptr)
    {
        drainEvents();
        time.step(400ms);
        drainEvents();
        QWidget &shown = widget ? *widget : *main;
        // A label longer in this language must still fit its button or control.
        for (QWidget *control : shown.findChildren<QWidget *>()) {
            const bool holdsText = qobject_cast<QAbstractButton *>(control) || qobject_cast<SegmentedControl *>(control)
                                   || qobject_cast<CountLabel *>(control);
            if (holdsText && control->isVisibleTo(&shown))
                EXPECT_GE(control->width(), control->sizeHint().width())
                    << name.toStdString() << ": " << control->metaObject()->className();
        }
        // Every scroll view that shows indicators shows the thin ones of our own.
        for (const QAbstractScrollArea *area : shown.findChildren<QAbstractScrollArea *>())
            if (area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
                EXPECT_LE(area->verticalScrollBar()->sizeHint().width(), ScrollIndicators::thickness) << name.toStdString();
        const QImage image = shown.grab().toImage();
        EXPECT_TRUE(showsSomething(image, 2)) << name.toStdString();
        image.save(galleryPath(AppLanguage(GetParam()).code() + u'/' + name + QStringLiteral(".png")));
    }

    template <typename T>
    T *screenAs() const
    {
        return qobject_cast<T *>(main->screenWidget());
    }

    void walkStartAndSettings();
    void walkValidation();
    void walkFolderChooser();
    void walkGrid(const MediaItems &items);
    void walkTools(const MediaItems &photos);
    void walkSend();
    void walkPromptsAndMenu();

    TestSettings settings;
    QObject translations;
    MissRecorder recorder;
    SteppedTime time;
    std::unique_ptr<MainView> main;
};

void ShownLanguageTest::walkStartAndSettings()
{
    ASSERT_NE(screenAs<WelcomeView>(), nullptr);
    snap(QStringLiteral("welcome"));

    view->openSettings(Screen::welcome);
    auto *screen = screenAs<SettingsScreen>();
    ASSERT_NE(screen, nullptr);
    snap(QStringLiteral("settings"));
    const SegmentedControl *picker = screen->languagePicker();
    const int other = picker->selectedIndex() == 0 ? 1 : 0;
    QTest::mouseClick(screen->languagePicker(), Qt::LeftButton, {}, picker->segmentRect(other).center());
    ASSERT_NE(screen->restartAlert(), nullptr);
    snap(QStringLiteral("settings-restart"), screen->restartAlert());
    screen->restartAlert()->reject();
    view->closeSettings();

    // The wait while the folder is read, with a few of its changing captions.
    outcomes = {{{photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.jpg"))}, {}, 2}};
    betweenFiles = std::make_shared<SharedOutcome<bool>>();
    view->spawnMainActorTask([this] { return view->runImportSession(cardFolder()); });
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::validating; }));
    snap(QStringLiteral("preparing"));
    time.step(6s);
    betweenFiles->setValue(true);
    betweenFiles.reset();
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::grid; }));
}

void ShownLanguageTest::walkValidation()
{
    QList<ValidationFailure> failed;
    for (auto reason : {ValidationFailure::Reason::emptyFile, ValidationFailure::Reason::corruptPhoto,
                        ValidationFailure::Reason::corruptVideo, ValidationFailure::Reason::unknownFormat,
                        ValidationFailure::Reason::unreadable})
        failed.append({QUuid::createUuid(), photo(QStringLiteral("missing-%1.jpg").arg(int(reason))).url, reason});
    outcomes = {{{photo(QStringLiteral("good.jpg"))}, failed, 6}};
    runSession();
    ASSERT_NE(screenAs<ValidationScreen>(), nullptr);
    snap(QStringLiteral("validation"));

    // Setting the failed files aside: none of them can be copied, one is no regular file.
    TempFolder keep;
    ValidationOutcome asideOutcome = *view->validationOutcome();
    const QString device = makeLink(keep.filePath(u"card/null.mov"_qs), u"/dev/null"_qs);
    asideOutcome.failed.append({QUuid::createUuid(), QUrl::fromLocalFile(device), ValidationFailure::Reason::emptyFile});
    ValidationScreen::Inputs inputs{ValidationScreen::Phase::result(asideOutcome)};
    inputs.chooseFolder = [&keep] { return keep.path(); };
    inputs.reveal = [](const QList<QUrl> &) {};
    ValidationScreen aside(std::move(inputs));
    aside.setFailedFilesAside();
    ASSERT_TRUE(settle([&] { return aside.reportBox() != nullptr; }));
    snap(QStringLiteral("validation-aside-report"), aside.reportBox());
    // Each file's reason is in the shown language through and through: the
    // system's cause (here, files that are gone) in our words too.
    const QStringList reasons = aside.reportBox()->informativeText().split(u'\n').filter(u" — "_qs);
    EXPECT_EQ(reasons.size(), asideOutcome.failed.size());
    static const QRegularExpression latin(u"[A-Za-z]"_qs);
    for (const QString &line : reasons)
        EXPECT_TRUE(GetParam() == AppLanguage::en || !line.section(u" — "_qs, 1).contains(latin)) << line.toStdString();
    aside.reportBox()->close();
    for (int error = 1; error < 134; ++error)
        SystemErrorText::of(error);

    outcomes = {{{}, failed.mid(0, 1), 1}};
    runSession();
    ASSERT_NE(screenAs<ValidationScreen>(), nullptr);
    snap(QStringLiteral("validation-nothing-valid"));
}

void ShownLanguageTest::walkFolderChooser()
{
    // Qt's own dialog speaks the display language too: its list's types and dates.
    TempFolder place;
    const QString folder = place.makeFolder(u"DCIM"_qs);
    for (int i = 1; i <= 20; ++i) // enough for a scroll bar, which takes room from the columns
        place.makeFolder(u"%1"_qs.arg(i));
    // Over the smallest window, which it must not outgrow.
    const QSize windowSize = main->size();
    main->resize(MainWindow::minimumContentSize);
    const std::unique_ptr<QFileDialog> chooser =
        makeFolderChooser(main.get(), ContentView::folderPanelMessage(), ContentView::folderPanelPrompt());
    QAbstractProxyModel *list = chooser->proxyModel();
    const auto *files = qobject_cast<const QFileSystemModel *>(list->sourceModel());
    ASSERT_NE(files, nullptr);
    const QSignalSpy listed(files, &QFileSystemModel::directoryLoaded);
    chooser->setViewMode(QFileDialog::Detail);
    chooser->setDirectory(place.path());
    chooser->show();
    const auto cell = [&](int column) { return list->mapFromSource(files->index(folder, column)).data().toString(); };
    ASSERT_TRUE(settle([&] { return !cell(2).isEmpty() && listed.contains(QVariantList{place.path()}); }));
    // Qt's own look, not ours: only its picture is kept.
    chooser->grab().save(galleryPath(AppLanguage(GetParam()).code() + u"/folder-chooser.png"_qs));
    const bool korean = GetParam() == AppLanguage::ko;
    EXPECT_EQ(QLocale().language(), korean ? QLocale::Korean : QLocale::English);
    EXPECT_EQ(cell(2), korean ? u"폴더"_qs : u"Folder"_qs);
    EXPECT_EQ(cell(3), QLocale().toString(QFileInfo(folder).lastModified(), QLocale::ShortFormat));

    // Its dates, longer in Korean, are shown whole, with no sideways scrolling to reach them.
    EXPECT_LE(chooser->width(), MainWindow::minimumContentSize.width());
    const auto *tree = chooser->findChild<QTreeView *>();
    ASSERT_NE(tree, nullptr);
    const QHeaderView *header = tree->header();
    const int textMargin = tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1;
    const auto dateWidth = [&] { return tree->fontMetrics().horizontalAdvance(cell(3)) + 2 * textMargin; };
    const auto dateEnd = [&] { return header->sectionViewportPosition(3) + header->sectionSize(3); };
    // The list lays itself out a little after it is listed.
    settle([&] { return dateWidth() <= header->sectionSize(3) && dateEnd() <= tree->viewport()->width(); });
    EXPECT_LE(dateWidth(), header->sectionSize(3));
    EXPECT_LE(dateEnd(), tree->viewport()->width());
    main->resize(windowSize);
}

void ShownLanguageTest::walkGrid(const MediaItems &items)
{
    view->enterGrid(items, true);
    auto *grid = screenAs<GridScreen>();
    ASSERT_NE(grid, nullptr);
    snap(QStringLiteral("grid"));
    sendEnter(grid->toolbar()->bestShotButton());
    snap(QStringLiteral("grid-tooltip"));
    sendLeave(grid->toolbar()->bestShotButton());

    view->enterSelectMode();
    snap(QStringLiteral("grid-select-none"));
    view->selectedIDsBinding().set({items.at(0).id, items.at(1).id});
    grid->grid()->marqueeChanged({2, 2}, {300, 200});
    snap(QStringLiteral("grid-selecting"));
    grid->grid()->marqueeEnded();
    view->setShowingExcludeConfirm(true);
    snap(QStringLiteral("exclude-confirm"));
    view->applyExclude();
    view->enterSelectMode();
    view->selectedIDsBinding().set({items.at(0).id});
    view->setShowingIncludeConfirm(true);
    snap(QStringLiteral("include-confirm"));
    view->setShowingIncludeConfirm(false);
    view->finishSelecting();

    // The first video's copy for playing fails: its tile says it won't play.
    const MediaItem &clip = items.at(items.size() - 2);
    preparation.finish(clip.url, false);
    snap(QStringLiteral("grid-video-wont-play"));

    view->openViewer(0);
    snap(QStringLiteral("viewer"));
    view->openViewer(int(items.size()) - 2);
    snap(QStringLiteral("player"));
    view->openViewer(int(items.size()) - 1); // a video that is gone
    ASSERT_TRUE(settle([&] { return main->viewer()->videoPanel()->phase() == VideoPlayerPanel::Phase::failed; }));
    snap(QStringLiteral("player-failed"));
    view->closeViewer();

    pullCard();
    ASSERT_TRUE(settle([&] { return main->cardMissing() != nullptr; }));
    snap(QStringLiteral("card-missing"));
    insertCard();
    drainEvents();
}

void ShownLanguageTest::walkTools(const MediaItems &photos)
{
    view->autoRotateTapped();
    view->bestShotTapped();
    snap(QStringLiteral("tool-progress"));
    ASSERT_TRUE(settle([&] { return orientationResult && bestShotResult; }));
    orientationResult->setValue({{photos.at(0).url, 90}, {photos.at(1).url, 270}});
    ASSERT_TRUE(settle([&] { return main->rotateConfirm() != nullptr; }));
    snap(QStringLiteral("rotate-confirm"));
    view->cancelRotate();

    bestShotResult->setValue({BestShotGroup({photos.at(0), photos.at(1)}, 0),
                              BestShotGroup({photos.at(2), photos.at(3)}, std::nullopt)});
    ASSERT_TRUE(settle([&] { return main->bestShotConfirm() != nullptr; }));
    snap(QStringLiteral("best-shot-confirm"));
    main->bestShotConfirm()->openLook(0, 0);
    snap(QStringLiteral("best-shot-look"));
    main->bestShotConfirm()->closeLook();
    view->cancelBestShot();

    // The tools' notes when there is nothing for them to do.
    for (auto alert : {ContentView::InfoAlert::allUpright, ContentView::InfoAlert::noPhotosToRotate,
                       ContentView::InfoAlert::noBestShotGroups, ContentView::InfoAlert::notEnoughPhotos}) {
        ContentView::title(alert);
        ContentView::message(alert);
    }
}

void ShownLanguageTest::walkSend()
{
    view->setShowingSendConfirm(true);
    snap(QStringLiteral("send-confirm"));
    view->confirmSend();
    ASSERT_EQ(view->screen(), Screen::converting);
    snap(QStringLiteral("converting"));
    sendFinished->setValue(true);
    ASSERT_TRUE(settle([&] { return view->screen() == Screen::done; }));

    // A desktop whose Pictures folder has a Korean name: the texts name the
    // folders as they are called, never a "Pictures" that is not there.
    TempFolder desktop;
    const QString library = desktop.makeFolder(u"사진/Photos"_qs);
    makeTextFile(desktop.filePath(u".config/user-dirs.dirs"_qs), "XDG_PICTURES_DIR=\"$HOME/사진\"\n");
    const ScopedEnv home("HOME", desktop.path().toUtf8());
    const ScopedEnv config("XDG_CONFIG_HOME", desktop.filePath(u".config"_qs).toUtf8());
    for (const auto &[name, mode] : {std::pair{QStringLiteral("done"), DoneScreen::Mode::success(3, 1, 1)},
                                     std::pair{QStringLiteral("done-one-each"), DoneScreen::Mode::success(1, 1, 0)},
                                     std::pair{QStringLiteral("done-access-needed"), DoneScreen::Mode::permissionDenied()}}) {
        QWidget window;
        window.resize(900, 640);
        new DoneScreen({mode, [] {}, [] {}, library}, &window, [](const QUrl &) { return true; }, time.ticker);
        window.show();
        snap(name, &window);
        const QString all = shownTexts(window).join(u" | "_qs);
        EXPECT_TRUE(all.contains(u"사진"_qs) && all.contains(u"Photos"_qs) && !all.contains(u"Pictures"_qs))
            << all.toStdString();
        if (mode == DoneScreen::Mode::success(1, 1, 0)) {
            // A count of one takes the singular wherever a number meets a noun.
            QStringList texts;
            for (const QLabel *label : window.findChildren<QLabel *>())
                texts << label->text();
            const QString onePhoto = GetParam() == AppLanguage::en ? u"1 photo"_qs : u"사진 1장"_qs;
            EXPECT_TRUE(texts.contains(onePhoto)) << texts.join(u" | "_qs).toStdString();
        }
    }
}

void ShownLanguageTest::walkPromptsAndMenu()
{
    QWidget parent;
    Updater::CheckResult result;
    result.feed.version = QVersionNumber(0, 3);
    result.feed.notes = QStringLiteral("Fixes");
    for (auto kind : {Updater::CheckResult::Kind::updateAvailable, Updater::CheckResult::Kind::upToDate,
                      Updater::CheckResult::Kind::unreachable, Updater::CheckResult::Kind::unreadable}) {
        result.kind = kind;
        QMessageBox *box = UpdatePrompt::show(result, QVersionNumber(0, 2), &parent);
        ASSERT_NE(box, nullptr);
        snap(QStringLiteral("update-%1").arg(int(kind)), box);
        box->reject();
    }

    MainWindow window;
    QTimer::singleShot(0, &window, [] {
        if (QWidget *about = QApplication::activeModalWidget())
            about->close();
    });
    window.aboutAction()->trigger();
}

TEST_P(ShownLanguageTest, EveryScreenFindsItsTextsInTheCatalogue)
{
    const MediaItems photos{photo(QStringLiteral("p1.jpg")), photo(QStringLiteral("p2.jpg")),
                            photo(QStringLiteral("p3.jpg")), photo(QStringLiteral("p4.jpg"))};
    const MediaItem clip = video(QStringLiteral("v1.mov"));
    for (const MediaItem &item : photos)
        makeJpeg(item.url.toLocalFile(), {.size = {320, 240}});
    makeVideo(clip.url.toLocalFile());
    walkStartAndSettings();
    walkValidation();
    walkFolderChooser();
    walkGrid(photos + MediaItems{clip, video(QStringLiteral("gone.mov"))});
    walkTools(photos);
    walkSend();
    walkPromptsAndMenu();

    QStringList misses(recorder.misses.begin(), recorder.misses.end());
    misses.sort();
    EXPECT_TRUE(misses.isEmpty()) << "Not found at run time:\n  " << misses.join(u"\n  "_qs).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, ShownLanguageTest, testing::Values(AppLanguage::ko, AppLanguage::en),
                         [](const auto &info) { return AppLanguage(info.param).code().toStdString(); });

} // namespace
