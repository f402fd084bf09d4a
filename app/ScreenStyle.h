#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QBoxLayout;
class QLabel;
class QVBoxLayout;
class QWidget;

namespace pomelark {

/// The few things every full-window screen of the app sets up the same way.
namespace ScreenStyle {

/// Fills `screen` with the window background colour behind everything it shows.
void fillBackground(QWidget *screen, const QColor &color);

/// Draws the text of `widget` (a label) in `color`.
void setTextColor(QWidget *widget, const QColor &color);

/// A plain one-style text: `font` in `color`, centred unless `alignment` says
/// otherwise, never taking keyboard focus.
QLabel *text(const QString &text, const QFont &font, const QColor &color, QWidget *parent,
             Qt::Alignment alignment = Qt::AlignCenter);

/// `widget`, centred horizontally, with `space` extra pixels above it (on top of
/// the spacing of the layout it goes into).
QBoxLayout *withSpaceAbove(QWidget *widget, int space);

/// The padding around the content of the full-window screens.
constexpr int screenPadding = 40;

/// The top-level column of a full-window `screen`, inset by `screenPadding`.
QVBoxLayout *paddedColumn(QWidget *screen);

} // namespace ScreenStyle

} // namespace pomelark
