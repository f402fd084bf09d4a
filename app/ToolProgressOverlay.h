#pragma once

#include "look/OverlayLayer.h"

class QLabel;

namespace pomelark {

class ActivitySpinner;

/// The dimmed window with a card that says a tidy tool is looking at the
/// photos: a spinner, the tool's title and "done / total". It swallows clicks, so
/// nothing under it can start a second job.
class ToolProgressOverlay : public OverlayLayer {
    Q_OBJECT
public:
    ToolProgressOverlay(const QString &title, int done, int total, QWidget *parent = nullptr,
                        FrameTicker &ticker = FrameTicker::shared());

    void setProgress(int done, int total);

    QString title() const;
    QString countText() const;
    QRect cardGeometry() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void placeCard();

    QWidget *m_card = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_count = nullptr;
};

} // namespace pomelark
