#pragma once

#include <QWidget>

class QLabel;

namespace pomelark {

/// One line of a settings card: a title with an optional description that
/// wraps as far as it needs, and a control on the right, centred beside them.
/// A hairline runs under every row but the card's last.
class SettingsRow : public QWidget {
    Q_OBJECT
public:
    /// `title` and `desc` already translated; an empty `desc` shows none. The
    /// row takes `control` as its child.
    SettingsRow(const QString &title, const QString &desc, bool isLast, QWidget *control, QWidget *parent = nullptr);

    QString title() const;
    /// The description as given (empty for none).
    QString desc() const { return m_desc; }
    bool isLast() const { return m_isLast; }
    QWidget *control() const { return m_control; }
    /// The label showing the description, or none.
    QLabel *descLabel() const { return m_descLabel; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_titleLabel;
    QLabel *m_descLabel = nullptr;
    QString m_desc;
    bool m_isLast;
    QWidget *m_control;
};

} // namespace pomelark
