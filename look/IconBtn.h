#pragma once

#include "look/HoverButton.h"

namespace pomelark {

/// A symbol on a rounded square that fills with soft lavender under the pointer.
/// Every screen uses it at size 38, symbol 19, corner radius 12 unless it says otherwise.
class IconBtn : public HoverButton {
    Q_OBJECT
public:
    IconBtn(const QString &systemImage, const QString &help, qreal size, qreal iconSize, qreal cornerRadius,
            std::function<void()> action = {}, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    QString systemImage() const { return m_systemImage; }
    QColor iconColor() const;
    QColor fillColor() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_systemImage;
    qreal m_size;
    qreal m_iconSize;
    qreal m_cornerRadius;
};

} // namespace pomelark
