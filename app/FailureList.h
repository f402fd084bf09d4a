#pragma once

#include "services/Validation.h"

#include <QWidget>

#include <functional>

class QScrollArea;

namespace pomelark {

class PomelarkButton;

/// The files that failed validation, one row each in their order: a warning
/// mark, the file name (shortened in the middle, never wrapped) over the
/// reason, and "Show in Folder". Rows are split by hairlines on a rounded card
/// as wide as its column allows (540 px at most); the card grows with its rows
/// up to 240 px and scrolls beyond.
class FailureList : public QWidget {
    Q_OBJECT
public:
    FailureList(const QList<ValidationFailure> &failures, std::function<void(const ValidationFailure &)> reveal,
                QWidget *parent = nullptr);

    int rowCount() const { return m_rows.size(); }
    int dividerCount() const { return m_dividers; }
    /// The "Show in Folder" button of row `row`.
    PomelarkButton *revealButton(int row) const { return m_rows.at(row); }
    QScrollArea *scrollArea() const { return m_scroll; }

    static constexpr int maxHeight = 240;
    static constexpr int maxWidth = 540;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QScrollArea *m_scroll = nullptr;
    QWidget *m_content = nullptr;
    QList<PomelarkButton *> m_rows;
    int m_dividers = 0;
};

} // namespace pomelark
