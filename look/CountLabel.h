#pragma once

#include <QWidget>

namespace pomelark {

/// A symbol and a short count text side by side ("120 photos"), in full or muted colours.
class CountLabel : public QWidget {
    Q_OBJECT
public:
    CountLabel(const QString &icon, const QString &text, bool muted = false, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    QString icon() const { return m_icon; }
    bool isMuted() const { return m_muted; }
    QColor iconColor() const;
    QColor textColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_icon;
    QString m_text;
    bool m_muted;
};

} // namespace pomelark
