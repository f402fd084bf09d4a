#pragma once

// For GUI tests: what the window system would do to a widget on the offscreen
// platform.

#include <QCoreApplication>
#include <QEnterEvent>
#include <QTest>
#include <QWidget>

namespace pomelark::test {

/// Shows `window` at `size` and makes it the active window, so its shortcuts
/// and focus work; false when it was not activated in time.
inline bool showActive(QWidget &window, QSize size)
{
    window.resize(size);
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

/// Tells `widget` the pointer came in at its centre.
inline void sendEnter(QWidget *widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QEnterEvent enter(centre, widget->mapTo(widget->window(), centre), widget->mapToGlobal(centre));
    QCoreApplication::sendEvent(widget, &enter);
}

/// Tells `widget` the pointer went out.
inline void sendLeave(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

} // namespace pomelark::test
