#pragma once

#include <QColor>
#include <QFont>

class QLabel;

namespace pomelark {

/// How one text of the send screens looks.
struct TextLook {
    QFont font; ///< one of the look's fonts (LookFont)
    QColor color;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wraps = true; ///< long texts wrap onto further lines
};

/// A label showing `text` with `look`, transparent for the pointer.
QLabel *makeScreenText(const QString &text, const TextLook &look);

} // namespace pomelark
