#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

#include <optional>

class QWidget;

namespace pomelark {

/// Whether the pointer is over a control. Qt tells a control of the pointer
/// only when the pointer moves, so a control that moves or is resized while
/// the pointer rests (say, a layout shifting it when a row above hides) goes
/// on believing whatever it last heard. This looks again at the pointer's last
/// known place whenever the control's place changes, and otherwise follows
/// the control's enter, leave and hide events.
class PointerOver : public QObject {
    Q_OBJECT
public:
    /// Watches `control` and lives as long as it does. Turns on the control's
    /// hover events: they carry the pointer's place while it moves over it.
    explicit PointerOver(QWidget *control);

    bool isInside() const { return m_inside; }

Q_SIGNALS:
    void insideChanged(bool inside);
    /// The control (or something it lies in) moved or was resized; sent after `insideChanged`.
    void placeChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pointerAt(QPointF local);
    void lookAgain();
    void setInside(bool inside);

    QPointer<QWidget> m_control;
    /// In global coordinates, from the control's last enter or hover event; none
    /// once Qt has told it of the pointer leaving.
    std::optional<QPointF> m_pointer;
    bool m_inside = false;
};

} // namespace pomelark
