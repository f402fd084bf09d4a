#include "app/ScreenStyle.h"

#include "look/PlainLabel.h"

#include <QBoxLayout>
#include <QLabel>
#include <QWidget>

namespace pomelark::ScreenStyle {

void fillBackground(QWidget *screen, const QColor &color)
{
    QPalette palette = screen->palette();
    palette.setColor(QPalette::Window, color);
    screen->setPalette(palette);
    screen->setAutoFillBackground(true);
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

QLabel *text(const QString &text, const QFont &font, const QColor &color, QWidget *parent, Qt::Alignment alignment)
{
    return plainLabel(text, font, color, parent, alignment);
}

QVBoxLayout *paddedColumn(QWidget *screen)
{
    auto *column = new QVBoxLayout(screen);
    column->setContentsMargins(screenPadding, screenPadding, screenPadding, screenPadding);
    return column;
}

QBoxLayout *withSpaceAbove(QWidget *widget, int space)
{
    auto *box = new QVBoxLayout;
    box->setContentsMargins(0, space, 0, 0);
    box->addWidget(widget, 0, Qt::AlignHCenter);
    return box;
}

} // namespace pomelark::ScreenStyle
