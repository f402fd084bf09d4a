#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace pomelark {

/// A label showing `text` as it is, never read as markup (file names and
/// translations may hold a "<"), in `font` and `color`.
QLabel *plainLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent = nullptr,
                   Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

} // namespace pomelark
