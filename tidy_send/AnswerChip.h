#pragma once

#include <QAbstractButton>
#include <QColor>

#include <functional>

namespace pomelark {

/// A small capsule button giving one answer of a card: white text on
/// `activeColor` while it shows the current answer, grey text on white with a
/// hairline otherwise. No hover effect; takes no keyboard focus.
class AnswerChip : public QAbstractButton {
    Q_OBJECT
public:
    AnswerChip(const QString &label, const QString &systemImage, bool isActive, const QColor &activeColor,
               std::function<void()> action, QWidget *parent = nullptr);

    void setActive(bool active);
    bool isActive() const { return m_isActive; }
    QString systemImage() const { return m_systemImage; }

    QColor fillColor() const;
    QColor foregroundColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_systemImage;
    bool m_isActive;
    QColor m_activeColor;
};

} // namespace pomelark
