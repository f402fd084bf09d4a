#include "tidy_send/SendConfirmView.h"

#include "Gallery.h"
#include "support/SteppedTime.h"

#include "look/PomelarkButton.h"
#include "tidy_send/InfoRow.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

class SendConfirmViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(900, 700);
        window.show();
    }

    SendConfirmView *open(int photos, int videos, int excluded, const QString &dateMode)
    {
        auto *view = new SendConfirmView({photos, videos, excluded, dateMode, [this] { ++confirms; },
                                          [this] { ++cancels; }},
                                         &window, time.ticker);
        view->show();
        time.step(500ms);
        return view;
    }

    static QStringList rowTexts(const SendConfirmView &view)
    {
        QStringList texts;
        for (const InfoRow *row : view.summaryRows())
            texts << row->text();
        return texts;
    }

    test::SteppedTime time;
    QWidget window;
    int confirms = 0;
    int cancels = 0;
};

TEST_F(SendConfirmViewTest, SummaryListsCountsInOrderExcludedOnlyWhenThereAreAny)
{
    const QString reassurance = QStringLiteral("Nothing stays on your computer · SD card originals untouched");
    SendConfirmView *none = open(12, 3, 0, QStringLiteral("keep"));
    EXPECT_EQ(rowTexts(*none), (QStringList{QStringLiteral("12 photos · 3 videos"), QStringLiteral("Keep capture date"),
                                            reassurance}));
    for (const InfoRow *row : none->summaryRows())
        EXPECT_FALSE(row->isMuted()) << row->text().toStdString();
    delete none;

    SendConfirmView *one = open(12, 3, 1, QStringLiteral("keep"));
    ASSERT_EQ(one->summaryRows().size(), 4);
    EXPECT_EQ(one->summaryRows().at(1)->text(), QStringLiteral("1 excluded"));
    EXPECT_TRUE(one->summaryRows().at(1)->isMuted());
    EXPECT_EQ(one->summaryRows().at(1)->icon(), QStringLiteral("xmark.circle"));
    EXPECT_EQ(one->summaryRows().at(2)->text(), QStringLiteral("Keep capture date"));
    EXPECT_TRUE(test::saveToGallery(window, QStringLiteral("send-confirm")));
}

TEST_F(SendConfirmViewTest, OnlyTheStoredNowTextUsesTodaysDateAsTheSendDoes)
{
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("keep"), QStringLiteral("Keep capture date")},
        {QStringLiteral("now"), QStringLiteral("Use today's date")},
        {QString(), QStringLiteral("Keep capture date")},
        {QStringLiteral("Now"), QStringLiteral("Keep capture date")},
    };
    for (const auto &[stored, shown] : cases) {
        SendConfirmView *view = open(1, 0, 0, stored);
        EXPECT_EQ(view->summaryRows().at(1)->text(), shown) << stored.toStdString();
        delete view;
    }
}

TEST_F(SendConfirmViewTest, SendWorksWithNothingToSendAndEveryWayOutCancels)
{
    SendConfirmView *view = open(0, 0, 0, QStringLiteral("keep"));
    EXPECT_EQ(view->summaryRows().at(0)->text(), QStringLiteral("0 photos · 0 videos"));
    ASSERT_TRUE(view->sendButton()->isEnabled());
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    EXPECT_EQ(confirms, 1);
    EXPECT_EQ(cancels, 0);

    // The empty part of the panel is not the backdrop; the margin around it is.
    const QRect panel = view->panelGeometry();
    QTest::mouseClick(view->panel(), Qt::LeftButton, {}, QPoint(panel.width() - 6, panel.height() / 2));
    EXPECT_EQ(cancels, 0);
    QTest::mouseClick(view, Qt::LeftButton, {}, panel.topLeft() - QPoint(4, 4));
    EXPECT_EQ(cancels, 1);
    for (PomelarkButton *button : view->findChildren<PomelarkButton *>())
        if (button->text() == QStringLiteral("Cancel"))
            QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(cancels, 2);
    EXPECT_EQ(confirms, 1);
}

TEST_F(SendConfirmViewTest, PanelIsAlways420WideAndCentred)
{
    SendConfirmView *view = open(5, 5, 0, QStringLiteral("now"));
    const QRect panel = view->panelGeometry();
    EXPECT_EQ(panel.width(), 420);
    EXPECT_NEAR(panel.center().x(), window.width() / 2, 1);
    EXPECT_NEAR(panel.center().y(), window.height() / 2, 1);
    // Rows start at the panel's leading edge, 28 + 16 px in.
    const InfoRow *row = view->summaryRows().first();
    EXPECT_EQ(row->mapTo(view, QPoint(0, 0)).x(), panel.left() + 28 + 16);
}

} // namespace
} // namespace pomelark
