#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace pomelark {

class SettingsRow;

/// A small upper-case label over a white card that holds settings rows.
class SettingsSection : public QWidget {
    Q_OBJECT
public:
    /// `label` already translated; it is shown upper-cased.
    explicit SettingsSection(const QString &label, QWidget *parent = nullptr);

    /// Adds `row` under the rows already in the card.
    void addRow(SettingsRow *row);

    QString label() const { return m_label; }
    /// The label as shown.
    QLabel *labelView() const { return m_labelView; }
    /// The card holding the rows.
    QWidget *card() const { return m_card; }

private:
    QString m_label;
    QLabel *m_labelView;
    QWidget *m_card;
    QVBoxLayout *m_rows;
};

} // namespace pomelark
