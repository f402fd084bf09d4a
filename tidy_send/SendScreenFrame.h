#pragma once

#include <QWidget>

class QLayout;
class QVBoxLayout;

namespace pomelark {

/// The frame of the full-window screens of a send: it fills its parent (and
/// follows its size), paints the window background and centres a vertical stack
/// 40 px inside its edges. Screens add their rows with `addRow`.
class SendScreenFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int padding = 40;

    SendScreenFrame(int spacing, QWidget *parent);

    /// Adds a row to the centred stack: centred at its preferred width, or with
    /// `alignment` 0 across the stack's full width; `topPadding` is extra room above it.
    void addRow(QWidget *row, Qt::Alignment alignment = Qt::AlignHCenter, int topPadding = 0);
    /// Adds a row of several widgets, centred. Buttons with shadows go in such a
    /// row rather than in a widget of their own, which would cut their shadows off.
    void addRow(QLayout *row, int topPadding = 0);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QVBoxLayout *m_stack = nullptr;
};

} // namespace pomelark
