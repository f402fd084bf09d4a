// Renders every control in every state and every symbol into PNG files under
// the build folder (look-gallery/), for a person to look at. The checks only
// make sure the pictures were written and are not blank.
#include "support/GalleryPictures.h"
#include "support/SteppedTime.h"
#include "support/WidgetEvents.h"

#include "look/CountLabel.h"
#include "look/IconBtn.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "look/SelectToggle.h"
#include "look/SymbolIcons.h"
#include "look/ToolIconBtn.h"

#include <QLabel>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace pomelark;
using test::galleryPath;
using namespace std::chrono_literals;

namespace {

constexpr qreal galleryRatio = 2.0;

class Board {
public:
    explicit Board(QSize size)
    {
        QPalette palette = m_window.palette();
        palette.setColor(QPalette::Window, Palette::background());
        m_window.setPalette(palette);
        m_window.setAutoFillBackground(true);
        m_window.resize(size);
    }

    QWidget *window() { return &m_window; }

    void caption(const QString &text, QPoint at)
    {
        auto *label = new QLabel(text, &m_window);
        label->setFont(LookFont::system(10));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Palette::inkSecondary());
        label->setPalette(palette);
        label->move(at);
        label->adjustSize();
    }

    template <typename Widget>
    Widget *put(Widget *widget, QPoint at, const QString &label)
    {
        caption(label, at);
        widget->move(at + QPoint(0, 16));
        widget->resize(widget->sizeHint());
        return widget;
    }

    QImage render()
    {
        QImage image(m_window.size() * galleryRatio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(galleryRatio);
        image.fill(Palette::background());
        m_window.render(&image);
        return image;
    }

private:
    QWidget m_window;
};

} // namespace

TEST(Gallery, RendersEveryControlInEveryState)
{
    test::SteppedTime time;
    Board board({760, 520});
    QWidget *w = board.window();
    auto &ticker = time.ticker;
    const QString send = QStringLiteral("Send");

    struct StyleRow {
        const ButtonStyle &style;
        const char *name;
        QString symbol;
        QString symbolText;
    };
    const StyleRow rows[] = {
        {ButtonStyle::primary(), "primary", QStringLiteral("paperplane"), QStringLiteral("Send to Photos")},
        {ButtonStyle::secondary(), "secondary", QStringLiteral("tray.and.arrow.down"), QStringLiteral("Set failed files aside")},
        {ButtonStyle::ghost(), "ghost", QStringLiteral("house"), QStringLiteral("Back to start")},
    };
    QList<QAbstractButton *> pressed;
    int y = 20;
    for (const StyleRow &row : rows) {
        const QString name = QString::fromLatin1(row.name);
        board.put(new PomelarkButton(row.style, send, {}, {}, w, ticker), {20, y}, name);
        auto *down = board.put(new PomelarkButton(row.style, send, {}, {}, w, ticker), {150, y}, name + u" pressed");
        auto *off = board.put(new PomelarkButton(row.style, send, {}, {}, w, ticker), {300, y}, name + u" disabled");
        off->setEnabled(false);
        board.put(new PomelarkButton(row.style, row.symbolText, row.symbol, {}, w, ticker), {450, y}, name + u" with symbol");
        QTest::mousePress(down, Qt::LeftButton);
        pressed << down;
        y += 80;
    }

    y += 10;
    board.put(new IconBtn(QStringLiteral("gearshape"), QStringLiteral("Settings"), 38, 19, 12, {}, w, ticker), {20, y}, QStringLiteral("IconBtn"));
    auto *iconHover = board.put(new IconBtn(QStringLiteral("gearshape"), QStringLiteral("Settings"), 38, 19, 12, {}, w, ticker), {110, y}, QStringLiteral("hovered"));
    board.put(new IconBtn(QStringLiteral("folder"), QStringLiteral("Choose"), 26, 16, 8, {}, w, ticker), {200, y}, QStringLiteral("26/16/8"));
    auto *smallHover = board.put(new IconBtn(QStringLiteral("folder"), QStringLiteral("Choose"), 26, 16, 8, {}, w, ticker), {290, y}, QStringLiteral("hovered"));
    board.put(new IconBtn(QStringLiteral("chevron.left"), QStringLiteral("Back"), 38, 19, 12, {}, w, ticker), {380, y}, QStringLiteral("back"));

    y += 80;
    board.put(new ToolIconBtn(QStringLiteral("rotate.right"), QStringLiteral("Stand photos up"), true, {}, w, ticker), {20, y}, QStringLiteral("ToolIconBtn"));
    auto *toolHover = board.put(new ToolIconBtn(QStringLiteral("square.on.square"), QStringLiteral("Tidy"), true, {}, w, ticker), {110, y}, QStringLiteral("hovered"));
    board.put(new ToolIconBtn(QStringLiteral("rotate.right"), QStringLiteral("Stand photos up"), false, {}, w, ticker), {200, y}, QStringLiteral("disabled"));
    board.put(new SelectToggle(false, true, {}, w, ticker), {320, y}, QStringLiteral("SelectToggle"));
    auto *toggleHover = board.put(new SelectToggle(false, true, {}, w, ticker), {420, y}, QStringLiteral("hovered"));
    board.put(new SelectToggle(true, true, {}, w, ticker), {510, y}, QStringLiteral("active"));
    auto *activeHover = board.put(new SelectToggle(true, true, {}, w, ticker), {590, y}, QStringLiteral("active hov."));
    board.put(new SelectToggle(false, false, {}, w, ticker), {680, y}, QStringLiteral("disabled"));

    y += 110;
    board.put(new CountLabel(QStringLiteral("photo.fill"), QStringLiteral("120 photos")), {20, y}, QStringLiteral("CountLabel"))->setParent(w);
    board.put(new CountLabel(QStringLiteral("video.fill"), QStringLiteral("8 videos"), false, w), {150, y}, QString());
    board.put(new CountLabel(QStringLiteral("questionmark"), QStringLiteral("3 skipped"), true, w), {260, y}, QStringLiteral("muted"));
    board.put(new CountLabel(QStringLiteral("photo.fill"), QStringLiteral("사진 120장"), false, w), {380, y}, QStringLiteral("Korean"));

    w->show();
    for (QWidget *widget : w->findChildren<QWidget *>())
        widget->show();
    for (QWidget *widget : {static_cast<QWidget *>(iconHover), static_cast<QWidget *>(smallHover),
                            static_cast<QWidget *>(toggleHover), static_cast<QWidget *>(activeHover)})
        test::sendEnter(widget);
    // The tool button's tip, which sits below it on the window's top layer.
    test::sendEnter(toolHover);
    time.step(500ms);

    const QImage image = board.render();
    EXPECT_TRUE(test::showsSomething(image, 3));
    EXPECT_TRUE(image.save(galleryPath(QStringLiteral("controls.png"))));
    for (QAbstractButton *button : pressed)
        QTest::mouseRelease(button, Qt::LeftButton);
}

TEST(Gallery, RendersEverySymbol)
{
    const QStringList names = SymbolIcons::names();
    const int sizes[] = {11, 13, 16, 19, 26, 36};
    const SymbolWeight weights[] = {SymbolWeight::Regular, SymbolWeight::Medium, SymbolWeight::Semibold, SymbolWeight::Bold};
    const int rowHeight = 44;
    const QSize size(760, 30 + rowHeight * int(names.size()));
    QImage image(size * galleryRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(galleryRatio);
    image.fill(Palette::background());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(LookFont::system(11));
    painter.setPen(Palette::inkSecondary());
    painter.drawText(QPointF(250, 18), QStringLiteral("regular at 11 13 16 19 26 36 px  |  16 px medium, semibold, bold"));
    int y = 30;
    for (const QString &name : names) {
        painter.setPen(Palette::ink());
        painter.drawText(QRectF(12, y, 220, rowHeight), Qt::AlignVCenter, name);
        qreal x = 240;
        for (int s : sizes) {
            SymbolIcons::paint(painter, name, QRectF(x, y, 40, rowHeight), s, SymbolWeight::Regular, Palette::ink());
            x += 48;
        }
        x += 16;
        for (SymbolWeight weight : weights) {
            SymbolIcons::paint(painter, name, QRectF(x, y, 40, rowHeight), 16, weight, Palette::accentDeep());
            x += 40;
        }
        painter.setPen(Palette::line());
        painter.drawLine(QPointF(12, y + rowHeight - 0.5), QPointF(size.width() - 12, y + rowHeight - 0.5));
        y += rowHeight;
    }
    painter.end();
    EXPECT_TRUE(test::showsSomething(image, 3));
    EXPECT_TRUE(image.save(galleryPath(QStringLiteral("symbols.png"))));

    // Each symbol large, to judge its outline.
    const int cell = 120;
    const int columns = 6;
    QImage large(QSize(cell * columns, cell * int((names.size() + columns - 1) / columns)), QImage::Format_ARGB32_Premultiplied);
    large.fill(Qt::white);
    QPainter big(&large);
    big.setFont(LookFont::system(10));
    for (int i = 0; i < names.size(); ++i) {
        const QRectF box((i % columns) * cell, (i / columns) * cell, cell, cell);
        SymbolIcons::paint(big, names[i], box.adjusted(0, 0, 0, -18), 84, SymbolWeight::Regular, Palette::ink());
        big.setPen(Palette::inkSecondary());
        big.drawText(box.adjusted(0, cell - 18, 0, 0), Qt::AlignHCenter | Qt::AlignTop, names[i]);
    }
    big.end();
    EXPECT_TRUE(large.save(galleryPath(QStringLiteral("symbols-large.png"))));
}
