#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace pomelark {

/// Tells when a widget's place on screen may have changed: the widget or any
/// widget it lies in, up to its window, was moved or resized, or one of them
/// got another parent (the watch then follows the new chain). A widget's own
/// Move event misses the first case: a layout moving a container moves what
/// lies in it without telling it.
class PlaceWatch : public QObject {
    Q_OBJECT
public:
    /// Watches `widget` and lives as long as it does.
    explicit PlaceWatch(QWidget *widget);
    ~PlaceWatch() override;

Q_SIGNALS:
    void placeChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchChain();
    void unwatchChain();

    QPointer<QWidget> m_widget;
    QList<QPointer<QWidget>> m_chain; ///< the widget and its ancestors, up to its window
};

} // namespace pomelark
