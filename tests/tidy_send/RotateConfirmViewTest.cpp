#include "tidy_send/RotateConfirmView.h"

#include "Gallery.h"
#include "support/SteppedTime.h"
#include "support/AsyncTest.h"

#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "tidy_send/AnswerChip.h"
#include "tidy_send/CardGrid.h"
#include "tidy_send/ConfirmCard.h"

#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QSemaphore>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

/// A landscape picture with a mark in its top-left corner, so a turn shows.
QImage samplePicture(const QUrl &url)
{
    QImage image(240, 160, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(int(qHash(url.fileName()) % 360), 120, 220));
    QPainter painter(&image);
    painter.fillRect(0, 0, 80, 40, Qt::darkBlue);
    return image;
}

/// Decodes stand-in pictures; while closed, every decode waits for the test.
struct Decodes {
    std::shared_ptr<QSemaphore> permits = std::make_shared<QSemaphore>(0);
    std::shared_ptr<std::atomic<bool>> failing = std::make_shared<std::atomic<bool>>(false);
    bool closed = false;

    ThumbnailMemoryCache::Decoder decoder()
    {
        auto permits = this->permits;
        auto failing = this->failing;
        const bool waits = closed;
        return [permits, failing, waits](const QUrl &url, int) -> std::optional<QImage> {
            if (waits)
                permits->acquire();
            if (*failing)
                return std::nullopt;
            return samplePicture(url);
        };
    }
};

RotateSuggestion suggestion(const QString &name, int degrees)
{
    return {QUuid::createUuid(),
            {QUuid::createUuid(), QUrl::fromLocalFile(QStringLiteral("/card/DCIM/") + name), MediaItem::Kind::photo},
            degrees,
            true};
}

class RotateConfirmViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(800, 700);
        window.show();
    }

    void TearDown() override
    {
        delete view;
        decodes.permits->release(100);
        // Loads still running hold on to the cache; let them end first.
        EXPECT_TRUE(test::spinUntil([&] { return cache->activeLoads() == 0 && cache->waitingLoads() == 0; }));
    }

    void open(RotateSuggestions list)
    {
        cache = std::make_unique<ThumbnailMemoryCache>(decodes.decoder());
        suggestions = std::make_shared<RotateSuggestions>(std::move(list));
        auto store = suggestions;
        Binding<RotateSuggestions> binding{[store] { return *store; }, [store](RotateSuggestions next) {
                                               *store = std::move(next);
                                           }};
        view = new RotateConfirmView({binding, [this] { ++confirms; }, [this] { ++cancels; }}, &window, time.ticker,
                                     *cache);
        view->show();
        time.step(400ms);
    }

    bool allLoaded() const
    {
        return test::spinUntil([&] {
            for (const ConfirmCard *card : view->cards())
                if (!card->isStood())
                    return false;
            return true;
        });
    }

    ConfirmCard *card(int index) const { return view->cards().at(index); }

    test::SteppedTime time;
    Decodes decodes;
    std::unique_ptr<ThumbnailMemoryCache> cache;
    std::shared_ptr<RotateSuggestions> suggestions;
    QWidget window;
    QPointer<RotateConfirmView> view;
    int confirms = 0;
    int cancels = 0;
};

TEST_F(RotateConfirmViewTest, LeavingOneAsItIsLowersTheButtonsCountButNotTheTitles)
{
    open({suggestion(QStringLiteral("A.JPG"), 90), suggestion(QStringLiteral("B.JPG"), 270),
          suggestion(QStringLiteral("C.JPG"), 180)});
    ASSERT_TRUE(allLoaded());
    time.step(1s);
    EXPECT_EQ(view->titleText(), QStringLiteral("Stood up 3 sideways photos"));
    EXPECT_EQ(view->confirmButton()->text(), QStringLiteral("Stand up 3"));
    EXPECT_EQ(card(1)->drawnAngle(), 270);
    EXPECT_EQ(card(1)->outlineColor(), Palette::mint());

    QTest::mouseClick(card(1)->leaveChip(), Qt::LeftButton);
    EXPECT_FALSE(suggestions->at(1).accepted);
    EXPECT_TRUE(suggestions->at(0).accepted);
    EXPECT_EQ(view->titleText(), QStringLiteral("Stood up 3 sideways photos"));
    EXPECT_EQ(view->confirmButton()->text(), QStringLiteral("Stand up 2"));
    EXPECT_TRUE(card(1)->leaveChip()->isActive());
    EXPECT_FALSE(card(1)->rotateChip()->isActive());

    // It turns back to upright over 0.55 s and fades to 0.45 over 0.25 s.
    time.step(150ms);
    EXPECT_GT(card(1)->drawnAngle(), 0);
    EXPECT_LT(card(1)->drawnAngle(), 270);
    EXPECT_GT(card(1)->pictureOpacity(), 0.45);
    time.step(150ms);
    EXPECT_DOUBLE_EQ(card(1)->pictureOpacity(), 0.45);
    EXPECT_EQ(card(1)->outlineColor(), Palette::line());
    time.step(300ms);
    EXPECT_EQ(card(1)->drawnAngle(), 0);
    EXPECT_DOUBLE_EQ(card(0)->pictureOpacity(), 1.0);
    EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("rotate-confirm")));

    QTest::mouseClick(view->confirmButton(), Qt::LeftButton);
    EXPECT_EQ(confirms, 1);
    EXPECT_EQ(cancels, 0);
}

TEST_F(RotateConfirmViewTest, ConfirmIsDisabledWithNothingAcceptedAndEveryWayOutCancels)
{
    open({suggestion(QStringLiteral("A.JPG"), 90), suggestion(QStringLiteral("B.JPG"), 90)});
    for (ConfirmCard *each : view->cards())
        QTest::mouseClick(each->leaveChip(), Qt::LeftButton);
    EXPECT_EQ(view->confirmButton()->text(), QStringLiteral("Stand up 0"));
    EXPECT_FALSE(view->confirmButton()->isEnabled());
    QTest::mouseClick(view->confirmButton(), Qt::LeftButton);
    EXPECT_EQ(confirms, 0);

    QTest::mouseClick(card(1)->rotateChip(), Qt::LeftButton);
    EXPECT_TRUE(view->confirmButton()->isEnabled());
    EXPECT_EQ(view->confirmButton()->text(), QStringLiteral("Stand up 1"));

    const QRect panel = view->panelGeometry();
    QTest::mouseClick(view->panel(), Qt::LeftButton, {}, QPoint(panel.width() / 2, 8));
    EXPECT_EQ(cancels, 0);
    // The 28 px margin around the panel is backdrop too.
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(panel.left() - 5, panel.center().y()));
    EXPECT_EQ(cancels, 1);
    for (PomelarkButton *button : view->findChildren<PomelarkButton *>())
        if (button->text() == QStringLiteral("Don't rotate"))
            QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(cancels, 2);
    EXPECT_EQ(confirms, 0);
}

TEST_F(RotateConfirmViewTest, CardsStandUpOneAfterAnotherOnceTheirPicturesArrive)
{
    decodes.closed = true;
    open({suggestion(QStringLiteral("A.JPG"), 90), suggestion(QStringLiteral("B.JPG"), 90),
          suggestion(QStringLiteral("C.JPG"), 90)});
    time.step(2s);
    for (const ConfirmCard *each : view->cards()) {
        EXPECT_FALSE(each->isStood());
        EXPECT_EQ(each->drawnAngle(), 0) << "nothing turns before its picture is in";
        EXPECT_TRUE(each->showsSpinners()) << "the shared small spinner on either side";
    }
    EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("rotate-confirm-loading")));
    decodes.permits->release(3);
    ASSERT_TRUE(allLoaded());
    EXPECT_TRUE(card(0)->hasImage());
    EXPECT_FALSE(card(0)->showsSpinners());
    EXPECT_FALSE(card(0)->spinner().isRunning());

    // Delays of 0.15, 0.25 and 0.35 s, then 0.55 s of turning each.
    time.step(160ms);
    EXPECT_GT(card(0)->drawnAngle(), 0);
    EXPECT_EQ(card(1)->drawnAngle(), 0);
    time.step(100ms);
    EXPECT_GT(card(1)->drawnAngle(), 0);
    EXPECT_EQ(card(2)->drawnAngle(), 0);
    time.step(100ms);
    EXPECT_GT(card(2)->drawnAngle(), 0);
    time.step(440ms);
    EXPECT_EQ(card(0)->drawnAngle(), 90);
    EXPECT_LT(card(2)->drawnAngle(), 90);
    time.step(100ms);
    EXPECT_EQ(card(2)->drawnAngle(), 90);
}

TEST_F(RotateConfirmViewTest, SpinnersFadeWithTheirPicturesAndTurnOnlyWhileShown)
{
    decodes.closed = true;
    open({suggestion(QStringLiteral("A.JPG"), 90), suggestion(QStringLiteral("B.JPG"), 90)});
    QTest::mouseClick(card(1)->leaveChip(), Qt::LeftButton);
    time.step(300ms);
    // The before side is drawn at 0.55 of its row, a declined row at 0.45: a
    // spinner at full strength would stand out as much as on an accepted after side.
    const int after = test::spinnerContrast(*card(0), card(0)->afterFrame());
    ASSERT_GT(after, 40);
    const qreal before = qreal(test::spinnerContrast(*card(0), card(0)->beforeFrame())) / after;
    EXPECT_GT(before, 0.4);
    EXPECT_LT(before, 0.7);
    const qreal declined = qreal(test::spinnerContrast(*card(1), card(1)->afterFrame())) / after;
    EXPECT_GT(declined, 0.3);
    EXPECT_LT(declined, 0.6);

    const int spoke = card(0)->spinner().leadingSpoke();
    time.step(250ms);
    EXPECT_NE(card(0)->spinner().leadingSpoke(), spoke);
    window.hide();
    EXPECT_FALSE(card(0)->spinner().isRunning());
    window.show();
    EXPECT_TRUE(card(0)->spinner().isRunning());
}

TEST_F(RotateConfirmViewTest, ACardLeftBeforeItsPictureArrivesStaysUprightUntilAcceptedAgain)
{
    decodes.closed = true;
    open({suggestion(QStringLiteral("A.JPG"), 270)});
    QTest::mouseClick(card(0)->leaveChip(), Qt::LeftButton);
    decodes.permits->release(1);
    ASSERT_TRUE(allLoaded());
    time.step(2s);
    EXPECT_EQ(card(0)->displayedAngle(), 0);
    EXPECT_EQ(card(0)->drawnAngle(), 0);

    QTest::mouseClick(card(0)->rotateChip(), Qt::LeftButton);
    time.step(600ms);
    EXPECT_EQ(card(0)->drawnAngle(), 270);
}

TEST_F(RotateConfirmViewTest, APictureThatCannotBeDecodedStillLetsTheCardWork)
{
    *decodes.failing = true;
    open({suggestion(QStringLiteral("A.JPG"), 90)});
    ASSERT_TRUE(allLoaded());
    EXPECT_FALSE(card(0)->hasImage());
    EXPECT_EQ(card(0)->displayedAngle(), 90);
    QTest::mouseClick(card(0)->leaveChip(), Qt::LeftButton);
    EXPECT_FALSE(view->confirmButton()->isEnabled());
    QTest::mouseClick(card(0)->rotateChip(), Qt::LeftButton);
    QTest::mouseClick(view->confirmButton(), Qt::LeftButton);
    EXPECT_EQ(confirms, 1);
}

TEST_F(RotateConfirmViewTest, APictureArrivingAfterTheViewIsGoneIsDropped)
{
    decodes.closed = true;
    open({suggestion(QStringLiteral("A.JPG"), 90), suggestion(QStringLiteral("B.JPG"), 90)});
    view->leave();
    time.step(1s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(view);
    decodes.permits->release(2);
    EXPECT_TRUE(test::spinUntil([&] { return cache->activeLoads() == 0; }));
    EXPECT_EQ(cache->count(), 2) << "the cache keeps what was decoded for the next view";
}

TEST_F(RotateConfirmViewTest, ManySuggestionsScrollInsideThePanelWhichStaysInTheWindow)
{
    RotateSuggestions many;
    for (int index = 0; index < 9; ++index)
        many.append(suggestion(QStringLiteral("P%1.JPG").arg(index), 90));
    open(many);
    EXPECT_EQ(view->grid()->height(), CardGrid::maxHeight);
    EXPECT_GT(view->grid()->verticalScrollBar()->maximum(), 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(view->grid()->verticalScrollBar()->isVisible());
    EXPECT_EQ(card(0)->y(), card(1)->y()) << "the scroll bar leaves room for two columns";
    EXPECT_LE(view->panelGeometry().height(), window.height() - 2 * ConfirmationFrame::windowMargin);
    EXPECT_EQ(view->panelGeometry().width(), 580);
    EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("rotate-confirm-many")));
}

TEST_F(RotateConfirmViewTest, InAShortWindowTheGridGivesWayAndTheButtonsStayInThePanel)
{
    window.resize(900, 560);
    RotateSuggestions many;
    for (int index = 0; index < 9; ++index)
        many.append(suggestion(QStringLiteral("P%1.JPG").arg(index), 90));
    open(many);
    QCoreApplication::processEvents();
    const QRect panel = view->panelGeometry();
    EXPECT_LE(panel.height(), window.height() - 2 * ConfirmationFrame::windowMargin);
    const QRect button(view->confirmButton()->mapTo(view, QPoint(0, 0)), view->confirmButton()->size());
    EXPECT_TRUE(panel.contains(button)) << button.bottom() << " " << panel.bottom();
    EXPECT_LT(view->grid()->height(), CardGrid::maxHeight);
    EXPECT_EQ(view->titleText(), QStringLiteral("Stood up 9 sideways photos"));
    EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("rotate-confirm-short")));
}

TEST_F(RotateConfirmViewTest, TwoColumnsAtFullWidthOneInANarrowerPanel)
{
    EXPECT_EQ(CardGrid::columnCount(580 - 56 - 4), 2);
    EXPECT_EQ(CardGrid::columnCount(558 - 56 - 4), 2);
    EXPECT_EQ(CardGrid::columnCount(557 - 56 - 4), 1);
    EXPECT_EQ(CardGrid::columnCount(0), 1);

    open({suggestion(QStringLiteral("A.JPG"), 90), suggestion(QStringLiteral("B.JPG"), 90)});
    EXPECT_EQ(card(0)->y(), card(1)->y());
    window.resize(557 + 56, 700);
    QCoreApplication::processEvents();
    EXPECT_GT(card(1)->y(), card(0)->y());
    EXPECT_EQ(card(0)->x(), card(1)->x());
    EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("rotate-confirm-narrow")));
}

TEST_F(RotateConfirmViewTest, ANewListOfSuggestionsGetsNewCards)
{
    open({suggestion(QStringLiteral("A.JPG"), 90)});
    ASSERT_TRUE(allLoaded());
    *suggestions = {suggestion(QStringLiteral("B.JPG"), 180), suggestion(QStringLiteral("C.JPG"), 90)};
    view->refresh();
    ASSERT_EQ(view->cards().size(), 2);
    EXPECT_EQ(card(0)->suggestion().degrees, 180);
    EXPECT_EQ(card(1)->appearIndex(), 1);
    EXPECT_EQ(view->titleText(), QStringLiteral("Stood up 2 sideways photos"));
    ASSERT_TRUE(allLoaded());
}

} // namespace
} // namespace pomelark
