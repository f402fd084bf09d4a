#pragma once

#include "look/Binding.h"
#include "look/FrameTicker.h"
#include "services/BestShotGroup.h"

#include <QHash>
#include <QList>
#include <QUuid>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QHBoxLayout;
class QLabel;
class QScrollArea;

namespace pomelark {

class BestShotCard;

/// One group of similar photos in the similar-shots confirmation: a header row
/// (a hint when no best shot could be proposed, and "Keep all") over a strip of
/// cards that scrolls sideways. The keep flags change only through `group`.
class GroupCard : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        Binding<BestShotGroup> group;
        QHash<QUuid, int> rotations;
        std::function<void(int)> onOpen; ///< the index of the photo whose card was clicked
    };

    explicit GroupCard(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    /// Re-reads the group: flags, best shot, and the cards themselves when the
    /// photos changed.
    void refresh();
    void setRotations(const QHash<QUuid, int> &rotations);

    const QList<BestShotCard *> &cards() const { return m_cards; }
    QAbstractButton *keepAllButton() const { return m_keepAll; }
    /// Whether the "no faces" hint is shown.
    bool showsNoFacesHint() const;

private:
    void rebuildCards(const BestShotGroup &group);
    void toggleKeep(int index);
    void keepAll();

    Inputs m_inputs;
    FrameTicker &m_ticker;
    QLabel *m_hint = nullptr;
    QAbstractButton *m_keepAll = nullptr;
    QScrollArea *m_strip = nullptr;
    QHBoxLayout *m_stripLayout = nullptr;
    QList<BestShotCard *> m_cards;
};

} // namespace pomelark
