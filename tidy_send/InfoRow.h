#pragma once

#include <QWidget>

namespace pomelark {

class WrappedText;

/// One line of the send summary: a symbol in an 18 px column, so the texts of
/// all rows line up, then the text, which wraps when long. Muted rows are drawn
/// in the quieter colours.
class InfoRow : public QWidget {
    Q_OBJECT
public:
    InfoRow(const QString &icon, const QString &text, bool muted, QWidget *parent = nullptr);

    QString icon() const { return m_icon; }
    QString text() const;
    bool isMuted() const { return m_muted; }

private:
    QString m_icon;
    bool m_muted;
    WrappedText *m_text = nullptr;
};

} // namespace pomelark
