#include "browsing/ExcludedBadge.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace pomelark {
namespace {

TEST(ExcludedBadgeTest, CapsuleFollowsItsTextWithItsPadding)
{
    ExcludedBadge badge;
    const QSizeF size = ExcludedBadge::paintedSize();
    EXPECT_EQ(badge.text(), QStringLiteral("Excluded"));
    EXPECT_GT(size.width(), size.height());
    EXPECT_EQ(badge.sizeHint(), QSize(int(std::ceil(size.width())), int(std::ceil(size.height()))));

    QImage image(badge.sizeHint(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    ExcludedBadge::paint(painter, {0, 0});
    painter.end();
    // Rounded ends leave the corners clear; the middle is the dark fill.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(image.pixel(2, image.height() / 2)), 100);
}

} // namespace
} // namespace pomelark
