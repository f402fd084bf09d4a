// The whole road through the real services: a folder of photos is picked on the
// welcome screen, prepared, shown in the grid, thinned by one exclusion and sent
// into the Photos folder.
#include "app/ContentView.h"
#include "app/GridScreen.h"
#include "app/MainView.h"
#include "app/ToolbarView.h"
#include "app/WelcomeView.h"
#include "browsing/ExcludeConfirmView.h"
#include "browsing/SelectionBar.h"
#include "look/PomelarkButton.h"
#include "look/SelectToggle.h"
#include "support/AsyncTest.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"
#include "tidy_send/DoneScreen.h"
#include "tidy_send/SendConfirmView.h"

#include <QDirIterator>
#include <QTest>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;
using Screen = ContentView::Screen;

namespace {

/// Points the caches folder and the Photos folder of every test of this program
/// at temporary folders before any test runs, so that no shared service ever
/// settles on the user's real folders.
class PrivateFolders : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_root = std::make_unique<TempFolder>();
        m_savedCache = qgetenv("XDG_CACHE_HOME");
        m_savedPhotos = qgetenv("POMELARK_PHOTOS_DIR");
        qputenv("XDG_CACHE_HOME", m_root->makeFolder(QStringLiteral("cache")).toUtf8());
        qputenv("POMELARK_PHOTOS_DIR", m_root->filePath(QStringLiteral("Pictures/Photos")).toUtf8());
    }

    void TearDown() override
    {
        restore("XDG_CACHE_HOME", m_savedCache);
        restore("POMELARK_PHOTOS_DIR", m_savedPhotos);
        m_root.reset();
    }

private:
    static void restore(const char *name, const QByteArray &value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    std::unique_ptr<TempFolder> m_root;
    QByteArray m_savedCache;
    QByteArray m_savedPhotos;
};

[[maybe_unused]] ::testing::Environment *const privateFolders =
    ::testing::AddGlobalTestEnvironment(new PrivateFolders);

QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files;
}

TEST(EndToEnd, PhotosPickedOnWelcomeGoThroughTheGridIntoThePhotosFolder)
{
    TempFolder source;
    const QString dcim = source.makeFolder(QStringLiteral("DCIM/100CAMERA"));
    for (const QString &name : {QStringLiteral("IMG_0001.JPG"), QStringLiteral("IMG_0002.jpg"),
                                QStringLiteral("IMG_0003.jpeg")})
        makeJpeg(dcim + QLatin1Char('/') + name, {.dateTimeOriginal = QStringLiteral("2024:05:06 07:08:09")});
    const auto originals = folderFingerprint(source.path());

    TempFolder settings;
    SessionServices services = SessionServices::standard();
    services.chooseFolder = [&](const FolderPanelRequest &) { return std::optional<QUrl>(source.url()); };
    services.defaults = SessionDefaults(settings.filePath(QStringLiteral("settings.ini")));
    ContentView controller(std::move(services));
    MainView main(&controller);
    main.resize(900, 640);
    main.show();

    auto *welcome = qobject_cast<WelcomeView *>(main.screenWidget());
    ASSERT_NE(welcome, nullptr);
    welcome->pickButton()->click();
    // The preparing screen holds for a few real seconds.
    ASSERT_TRUE(spinUntil([&] { return controller.screen() == Screen::grid; }, std::chrono::seconds(60)));
    ASSERT_EQ(controller.photos().size(), 3);
    EXPECT_TRUE(controller.videos().isEmpty());

    // Leave the second photo out: select it, then exclude through the bar.
    auto *grid = qobject_cast<GridScreen *>(main.screenWidget());
    ASSERT_NE(grid, nullptr);
    grid->toolbar()->selectToggle()->click();
    ASSERT_TRUE(controller.selectMode());
    const QUuid left = controller.photos().at(1).id;
    controller.selectedIDsBinding().set({left});
    ASSERT_TRUE(spinUntil([&] { return grid->selectionBar() && grid->selectionBar()->count() == 1; }));
    SelectionBar *bar = grid->selectionBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->buttonFrame(SelectionBar::Button::exclude).center().toPoint());
    ASSERT_NE(main.excludeConfirm(), nullptr);
    main.excludeConfirm()->primaryButton()->click();
    EXPECT_EQ(controller.excludedIDs(), SessionState::IDSet{left});

    grid->toolbar()->sendButton()->click();
    ASSERT_NE(main.sendConfirm(), nullptr);
    main.sendConfirm()->sendButton()->click();
    ASSERT_TRUE(spinUntil([&] { return controller.screen() == Screen::done; }, std::chrono::seconds(120)));

    auto *done = qobject_cast<DoneScreen *>(main.screenWidget());
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->mode(), DoneScreen::Mode::success(2, 0, 0));
    const QStringList sent = filesBelow(qEnvironmentVariable("POMELARK_PHOTOS_DIR"));
    ASSERT_EQ(sent.size(), 2);
    for (const QString &file : sent)
        EXPECT_TRUE(file.endsWith(QStringLiteral(".heic"), Qt::CaseInsensitive)) << file.toStdString();
    EXPECT_EQ(folderFingerprint(source.path()), originals);

    // Back to the grid changes nothing else; the session is still there.
    controller.backToGrid();
    EXPECT_NE(qobject_cast<GridScreen *>(main.screenWidget()), nullptr);
    EXPECT_EQ(controller.photos().size(), 3);
}

} // namespace
