#pragma once

#include <QList>
#include <QScrollArea>

namespace pomelark {

/// The scrolling grid of the rotation confirmation: as many columns of at least
/// 240 px as fit (18 px apart, 2 px inside the edges), 18 px between rows, each
/// card centred in its cell. The grid is as tall as its cards up to 420 px, then
/// scrolls.
class CardGrid : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int minColumnWidth = 240;
    static constexpr int spacing = 18;
    static constexpr int padding = 2;
    static constexpr int maxHeight = 420;

    explicit CardGrid(QWidget *parent = nullptr);

    /// Shows `cards` in this order in place of the current ones, which are
    /// deleted later (one of them may be handling a click right now).
    void setCards(const QList<QWidget *> &cards);
    const QList<QWidget *> &cards() const { return m_cards; }

    /// How many columns fit into `width` (the space inside the padding); at least one.
    static int columnCount(int width);
    /// The height all cards need at a grid width of `width`.
    int contentHeightFor(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize cardSize() const;
    void layoutCards();

    QWidget *m_content = nullptr;
    QList<QWidget *> m_cards;
};

} // namespace pomelark
