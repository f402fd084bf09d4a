#pragma once

#include <QLabel>

namespace pomelark {

/// One line of text that, when it does not fit, gives up its middle (so both a
/// path's start and a file's extension stay visible) instead of growing or
/// wrapping. Asks for its full width but takes whatever it gets.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString &text, QWidget *parent = nullptr);

    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }
    /// The text on screen now (the full text or its shortened form).
    QString shownText() const { return QLabel::text(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateShown();

    QString m_fullText;
};

} // namespace pomelark
