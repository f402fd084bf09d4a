#include "browsing/ExcludeConfirmView.h"
#include "browsing/IncludeConfirmView.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"

#include "support/SteppedTime.h"
#include "support/WidgetEvents.h"
#include "support/GalleryPictures.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace pomelark {
namespace {

class ConfirmSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, Palette::background());
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        ASSERT_TRUE(test::showActive(window, {800, 600}));
    }

    template <typename View>
    View *make(int count)
    {
        auto *view = new View({count, [this] { ++confirms; }, [this] { ++cancels; }}, &window, time.ticker);
        view->show();
        time.step(500ms);
        return view;
    }

    PomelarkButton *cancelButton(ConfirmSheet *sheet)
    {
        for (auto *button : sheet->findChildren<PomelarkButton *>())
            if (button != sheet->primaryButton())
                return button;
        return nullptr;
    }

    test::SteppedTime time;
    QWidget window;
    int confirms = 0;
    int cancels = 0;
};

TEST_F(ConfirmSheetTest, TextsCarryTheCountAndButtonsCallTheirActions)
{
    auto *exclude = make<ExcludeConfirmView>(1);
    EXPECT_EQ(exclude->title(), QStringLiteral("Exclude the 1 selected?"));
    EXPECT_EQ(exclude->primaryButton()->text(), QStringLiteral("Exclude"));
    EXPECT_TRUE(exclude->primaryButton()->symbol().isEmpty());
    QTest::mouseClick(exclude->primaryButton(), Qt::LeftButton);
    EXPECT_EQ(confirms, 1);
    EXPECT_EQ(cancels, 0);
    exclude->setCount(12);
    EXPECT_EQ(exclude->title(), QStringLiteral("Exclude the 12 selected?"));
    delete exclude;

    auto *include = make<IncludeConfirmView>(1);
    EXPECT_EQ(include->title(), QStringLiteral("Add the 1 selected back?"));
    EXPECT_EQ(include->primaryButton()->text(), QStringLiteral("Add back"));
    EXPECT_TRUE(include->bodyText().contains(u'\n'));
    ASSERT_TRUE(cancelButton(include));
    EXPECT_EQ(cancelButton(include)->text(), QStringLiteral("Cancel"));
    QTest::mouseClick(cancelButton(include), Qt::LeftButton);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(confirms, 1);
}

TEST_F(ConfirmSheetTest, BackdropCancelsTheCardDoesNotAndNoKeyIsBound)
{
    auto *view = make<ExcludeConfirmView>(3);
    const QRect card = view->panelGeometry();
    QTest::mouseClick(view->panel(), Qt::LeftButton, {}, QPoint(card.width() / 2, 6));
    EXPECT_EQ(cancels, 0);
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(cancels, 0);
    EXPECT_EQ(confirms, 0);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(cancels, 1);
}

TEST_F(ConfirmSheetTest, ANarrowWindowWrapsTheTextsAndTheCardGrowsToHoldThem)
{
    auto *view = make<ExcludeConfirmView>(3);
    const QRect wide = view->panelGeometry();
    EXPECT_EQ(wide.width(), 400);
    window.resize(260, 600);
    const QRect narrow = view->panelGeometry();
    EXPECT_EQ(narrow.width(), 260 - 2 * ConfirmationFrame::windowMargin);
    EXPECT_GT(narrow.height(), wide.height());
    // Everything in the card lies inside it (shadows may spill over).
    for (QWidget *child : view->panel()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->inherits("pomelark::ShadowUnderlay"))
            EXPECT_TRUE(view->panel()->rect().contains(child->geometry())) << child->metaObject()->className();
}

TEST_F(ConfirmSheetTest, Gallery)
{
    auto *exclude = make<ExcludeConfirmView>(3);
    EXPECT_TRUE(window.grab().save(test::galleryPath(QStringLiteral("confirm-exclude.png"))));
    delete exclude;
    make<IncludeConfirmView>(1);
    EXPECT_TRUE(window.grab().save(test::galleryPath(QStringLiteral("confirm-include.png"))));
}

} // namespace
} // namespace pomelark
