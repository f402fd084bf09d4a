#include "browsing/FullsizeImageView.h"
#include "look/ActivitySpinner.h"

#include "support/AsyncTest.h"
#include "support/GalleryPictures.h"
#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QSignalSpy>
#include <QThreadPool>

#include <gtest/gtest.h>

using namespace pomelark::test;

namespace pomelark {
namespace {

/// Counts what falls through to the widget behind the photo.
class Behind : public QWidget {
public:
    int presses = 0;
    int wheels = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        event->accept();
    }
    void wheelEvent(QWheelEvent *event) override
    {
        ++wheels;
        event->accept();
    }
};

class FullsizeImageViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        landscape = makeJpeg(folder.filePath(QStringLiteral("wide.jpg")), {.size = {400, 300}});
        behind.resize(800, 600);
        behind.show();
    }

    FullsizeImageView *makeView(const QString &path, int rotation = 0)
    {
        auto *view = new FullsizeImageView({QUrl::fromLocalFile(path), rotation}, &behind);
        view->setGeometry(0, 0, 800, 600);
        view->show();
        return view;
    }

    static void waitForPicture(FullsizeImageView *view)
    {
        ASSERT_TRUE(spinUntil([view] { return !view->isLoading(); }));
    }

    static void pinch(FullsizeImageView *view, double factor)
    {
        const QPointF at = view->panelRect().center();
        auto send = [&](Qt::NativeGestureType type, qreal value) {
            QNativeGestureEvent event(type, QPointingDevice::primaryPointingDevice(), 2, at, at,
                                      view->mapToGlobal(at), value, {});
            QApplication::sendEvent(view, &event);
        };
        send(Qt::BeginNativeGesture, 0);
        send(Qt::ZoomNativeGesture, factor - 1);
        send(Qt::EndNativeGesture, 0);
    }

    static bool sendWheel(QWidget *target, QPoint angleDelta, Qt::KeyboardModifiers modifiers = {})
    {
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent event(at, target->mapToGlobal(at), {}, angleDelta, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(target, &event);
        return event.isAccepted();
    }

    static void sendMouse(QWidget *target, QEvent::Type type, QPointF at)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    TempFolder folder;
    QString landscape;
    Behind behind;
};

TEST(FullsizeImagePanelTest, PanelTakesThePicturesShapeAsLargeAsFits)
{
    const QRectF room(0, 0, 800, 600);
    EXPECT_EQ(FullsizeImageView::fittedPanel(room, std::nullopt), room);
    EXPECT_EQ(FullsizeImageView::fittedPanel(room, QSizeF(1600, 800)), QRectF(0, 100, 800, 400));
    EXPECT_EQ(FullsizeImageView::fittedPanel(room, QSizeF(300, 600)), QRectF(250, 0, 300, 600));
    // No height: a 4 : 3 panel.
    EXPECT_EQ(FullsizeImageView::fittedPanel(room, QSizeF(640, 0)), QRectF(0, 0, 800, 600));
    EXPECT_EQ(FullsizeImageView::fittedPanel(QRectF(0, 0, 1000, 600), QSizeF(640, 0)), QRectF(100, 0, 800, 600));
}

TEST_F(FullsizeImageViewTest, DecodesUprightAndTurnedThenFillsItsPanel)
{
    const QString sideways = makeJpeg(folder.filePath(QStringLiteral("exif6.jpg")), {.size = {400, 300}, .orientation = 6});
    FullsizeImageView *view = makeView(sideways, 90);
    EXPECT_TRUE(view->image().isNull());
    waitForPicture(view);
    // EXIF 6 stands it up (300 × 400); the extra quarter turn lays it down again.
    EXPECT_EQ(view->image().size(), QSize(400, 300));
    EXPECT_EQ(view->panelRect(), QRectF(0, 0, 800, 600));
    EXPECT_EQ(view->pictureRect(), view->panelRect());
}

TEST_F(FullsizeImageViewTest, NewTurnResetsZoomAtOnceAndKeepsTheOldPictureUntilTheNewOneArrives)
{
    FullsizeImageView *view = makeView(landscape);
    waitForPicture(view);
    pinch(view, 3.0);
    ASSERT_DOUBLE_EQ(view->zoomPan().zoom(), 3.0);
    sendMouse(view, QEvent::MouseButtonPress, {400, 300});
    sendMouse(view, QEvent::MouseMove, {500, 350});
    sendMouse(view, QEvent::MouseButtonRelease, {500, 350});
    ASSERT_EQ(view->zoomPan().pan(), QPointF(100, 50));

    QSignalSpy loaded(view, &FullsizeImageView::pictureLoaded);
    view->setSource(view->url(), 90);
    EXPECT_DOUBLE_EQ(view->zoomPan().effectiveZoom(), 1.0);
    EXPECT_EQ(view->zoomPan().effectivePan(), QPointF());
    EXPECT_EQ(view->image().size(), QSize(400, 300));
    EXPECT_TRUE(view->isLoading());
    // A finished decode is handed over through the event loop, never on the spot.
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_TRUE(view->isLoading());
    EXPECT_EQ(view->image().size(), QSize(400, 300));
    waitForPicture(view);
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_EQ(view->image().size(), QSize(300, 400));
    EXPECT_EQ(view->panelRect(), QRectF(175, 0, 450, 600));

    // The same source again is no new load.
    view->setSource(view->url(), 90);
    EXPECT_FALSE(view->isLoading());
}

TEST_F(FullsizeImageViewTest, ALoadOvertakenByANewerOneIsDropped)
{
    const QString other = makeJpeg(folder.filePath(QStringLiteral("tall.jpg")), {.size = {200, 400}});
    FullsizeImageView *view = makeView(landscape);
    view->setSource(QUrl::fromLocalFile(other), 0);
    QSignalSpy loaded(view, &FullsizeImageView::pictureLoaded);
    waitForPicture(view);
    // Let the first decode finish too, if it had not.
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_EQ(view->image().size(), QSize(200, 400));
}

TEST_F(FullsizeImageViewTest, AFileThatDoesNotDecodeLeavesTheSpinner)
{
    const QString text = makeTextFile(folder.filePath(QStringLiteral("notes.jpg")));
    FullsizeImageView *view = makeView(text);
    QSignalSpy loaded(view, &FullsizeImageView::pictureLoaded);
    waitForPicture(view);
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_TRUE(view->image().isNull());
    EXPECT_EQ(view->panelRect(), QRectF(view->rect()));
    auto *spinner = view->findChild<ActivitySpinner *>();
    ASSERT_TRUE(spinner);
    EXPECT_TRUE(spinner->isVisible());
}

TEST_F(FullsizeImageViewTest, DragsMoveOnlyWhenZoomedAndOnlyPastTenPixels)
{
    FullsizeImageView *view = makeView(landscape);
    waitForPicture(view);
    sendMouse(view, QEvent::MouseButtonPress, {400, 300});
    sendMouse(view, QEvent::MouseMove, {600, 300});
    sendMouse(view, QEvent::MouseButtonRelease, {600, 300});
    EXPECT_EQ(view->zoomPan().pan(), QPointF());

    pinch(view, 2.0);
    sendMouse(view, QEvent::MouseButtonPress, {400, 300});
    sendMouse(view, QEvent::MouseMove, {406, 300});
    EXPECT_EQ(view->zoomPan().panInFlight(), QPointF());
    sendMouse(view, QEvent::MouseMove, {2000, 300});
    EXPECT_EQ(view->zoomPan().effectivePan(), QPointF(400, 0));
    sendMouse(view, QEvent::MouseButtonRelease, {2000, 300});
    EXPECT_EQ(view->zoomPan().pan(), QPointF(400, 0));
    EXPECT_EQ(view->zoomPan().panInFlight(), QPointF());
}

TEST_F(FullsizeImageViewTest, ClicksOutsideThePanelReachWhatLiesBehind)
{
    const QString tall = makeJpeg(folder.filePath(QStringLiteral("tall.jpg")), {.size = {300, 600}});
    FullsizeImageView *view = makeView(tall);
    waitForPicture(view);
    ASSERT_EQ(view->panelRect(), QRectF(250, 0, 300, 600));
    sendMouse(view, QEvent::MouseButtonPress, {100, 300});
    EXPECT_EQ(behind.presses, 1);
    sendMouse(view, QEvent::MouseButtonRelease, {100, 300});
    sendMouse(view, QEvent::MouseButtonPress, {400, 300});
    EXPECT_EQ(behind.presses, 1);
}

TEST_F(FullsizeImageViewTest, ScrollsAnywhereMoveTheZoomedPhotoAndPassOnOtherwise)
{
    auto *elsewhere = new Behind;
    elsewhere->setParent(&behind);
    elsewhere->setGeometry(0, 0, 50, 50);
    FullsizeImageView *view = makeView(landscape);
    elsewhere->raise();
    elsewhere->show();
    waitForPicture(view);

    sendWheel(elsewhere, {0, -120});
    EXPECT_EQ(elsewhere->wheels, 1);

    // Ctrl and the wheel over the photo zoom it; the wheel alone then pans.
    sendWheel(view, {0, 240}, Qt::ControlModifier);
    EXPECT_NEAR(view->zoomPan().zoom(), 1.5625, 1e-9);
    sendWheel(elsewhere, {0, -120});
    EXPECT_EQ(elsewhere->wheels, 1);
    EXPECT_EQ(view->zoomPan().pan(), QPointF(0, -60));

    delete view;
    sendWheel(elsewhere, {0, -120});
    EXPECT_EQ(elsewhere->wheels, 2);
}

TEST_F(FullsizeImageViewTest, GalleryZoomedPhoto)
{
    FullsizeImageView *view = makeView(landscape);
    waitForPicture(view);
    pinch(view, 2.0);
    sendWheel(view, {-200, -160});
    spinUntil([view] { return view->pictureRect().width() > 1599; }, std::chrono::seconds(30));
    const QImage picture = behind.grab().toImage();
    EXPECT_TRUE(picture.save(test::galleryPath(QStringLiteral("fullsize-zoomed.png"))));
}

} // namespace
} // namespace pomelark
