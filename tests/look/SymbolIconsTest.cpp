#include "look/SymbolIcons.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <set>

using namespace pomelark;

namespace {

// Every symbol the screens name.
const char *const usedSymbols[] = {
    "arrow.clockwise", "arrow.right", "arrow.uturn.backward", "calendar", "checkmark", "checkmark.shield",
    "checkmark.square", "checkmark.square.fill", "chevron.left", "chevron.right", "exclamationmark.triangle.fill",
    "folder", "gearshape", "house", "lock.fill", "minus.circle.fill", "paperplane", "paperplane.fill", "pause.fill",
    "photo.fill", "play.fill", "plus.circle.fill", "questionmark", "rotate.right", "square.on.square", "tray",
    "tray.and.arrow.down", "video.fill", "xmark", "xmark.circle"};

int inkedPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 127;
    return count;
}

} // namespace

TEST(SymbolIcons, HasEverySymbolTheScreensName)
{
    for (const char *name : usedSymbols)
        EXPECT_TRUE(SymbolIcons::contains(QString::fromLatin1(name))) << name;
    EXPECT_EQ(SymbolIcons::names().size(), qsizetype(std::size(usedSymbols)));
}

TEST(SymbolIcons, EachDrawsADistinctMarkInsideItsBox)
{
    std::set<QByteArray> seen;
    for (const QString &name : SymbolIcons::names()) {
        SCOPED_TRACE(name.toStdString());
        const QRectF bounds = SymbolIcons::path(name).boundingRect();
        EXPECT_GE(bounds.left(), 0.0);
        EXPECT_GE(bounds.top(), 0.0);
        EXPECT_LE(bounds.right(), SymbolIcons::gridSize);
        EXPECT_LE(bounds.bottom(), SymbolIcons::gridSize);
        EXPECT_GT(bounds.width(), 8.0); // a real mark, not a speck
        const QImage image = SymbolIcons::image(name, 24, SymbolWeight::Regular, Qt::black);
        const int inked = inkedPixels(image);
        EXPECT_GT(inked, 20);
        EXPECT_LT(inked, 24 * 24 * 3 / 4);
        const QByteArray pixels(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
        EXPECT_TRUE(seen.insert(pixels).second) << "draws the same as another symbol";
    }
}

TEST(SymbolIcons, HeavierWeightsInkMoreAndPixelRatioKeepsTheSize)
{
    const QImage regular = SymbolIcons::image(QStringLiteral("chevron.left"), 20, SymbolWeight::Regular, Qt::black);
    const QImage bold = SymbolIcons::image(QStringLiteral("chevron.left"), 20, SymbolWeight::Bold, Qt::black);
    EXPECT_GT(inkedPixels(bold), inkedPixels(regular));
    const QImage sharp = SymbolIcons::image(QStringLiteral("checkmark"), 16, SymbolWeight::Bold, Qt::black, 2.0);
    EXPECT_EQ(sharp.size(), QSize(32, 32));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(16, 16));
}

TEST(SymbolIcons, UnknownNameDrawsNothing)
{
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    EXPECT_FALSE(SymbolIcons::paint(painter, QStringLiteral("no.such.symbol"), QRectF(0, 0, 10, 10), 10,
                                    SymbolWeight::Regular, Qt::black));
    painter.end();
    EXPECT_EQ(inkedPixels(image), 0);
    EXPECT_TRUE(SymbolIcons::path(QStringLiteral("")).isEmpty());
}
