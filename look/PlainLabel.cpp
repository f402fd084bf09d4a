#include "look/PlainLabel.h"

#include <QLabel>

namespace pomelark {

QLabel *plainLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent,
                   Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setAlignment(alignment);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

} // namespace pomelark
