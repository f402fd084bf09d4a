#pragma once

#include "look/Binding.h"
#include "look/ConfirmationFrame.h"
#include "services/BestShotGroup.h"
#include "tidy_send/BestShotLookView.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QUuid>

#include <functional>
#include <optional>

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace pomelark {

class GroupCard;

/// The confirmation of the similar-photo search: every group of near-duplicate
/// photos as a strip of cards with its proposed best shot marked, where the user
/// decides which photos stay in the send. Only the keep flags of `groups` change
/// while it is open; nothing reaches the session until `onConfirm`, after which
/// the main view excludes every photo not kept. A click on a card opens the
/// enlarged look at that photo inside this overlay. Binds no keys (the look
/// binds its own).
class BestShotConfirmView : public ConfirmationFrame {
    Q_OBJECT
public:
    struct Inputs {
        Binding<QList<BestShotGroup>> groups; ///< the view writes only keep flags
        QHash<QUuid, int> rotations;          ///< clockwise degrees per item id
        std::function<void()> onConfirm;      ///< the primary button
        std::function<void()> onCancel;       ///< "Not now" and a click on the backdrop
    };

    /// Which photo the enlarged look shows.
    struct LookTarget {
        int groupIndex = 0;
        int pos = 0;
    };

    static constexpr qreal maxPanelWidth = 620;
    static constexpr int maxListHeight = 440;

    explicit BestShotConfirmView(Inputs inputs, QWidget *parent = nullptr,
                                 FrameTicker &ticker = FrameTicker::shared());

    /// Re-reads `groups`: rows, flags, the title and the exclude count. An open
    /// look whose group is gone closes. Nothing changes once the view is leaving.
    void refresh();
    void setRotations(const QHash<QUuid, int> &rotations);

    /// Opens the enlarged look at photo `pos` of group `groupIndex`; an index
    /// outside the groups, or a view on its way out, does nothing.
    void openLook(int groupIndex, int pos);
    /// Closes the look (it fades out); nothing when none is open.
    void closeLook();

    /// The number of photos not kept, over all groups.
    static int excludedCount(const QList<BestShotGroup> &groups);

    const std::optional<LookTarget> &look() const { return m_look; }
    BestShotLookView *lookView() const { return m_lookView; }
    const QList<GroupCard *> &groupCards() const { return m_rows; }
    int separatorCount() const { return int(m_separators.size()); }
    QString titleText() const;
    PomelarkButton *confirmButton() const { return m_confirm; }
    QScrollArea *groupList() const { return m_list; }

private:
    void rebuildRows(const QList<BestShotGroup> &groups);
    BestShotGroup readGroup(int index) const;
    void writeGroup(int index, BestShotGroup group);
    void retireLook();

    Inputs m_inputs;
    FrameTicker &m_ticker;
    QLabel *m_title = nullptr;
    QScrollArea *m_list = nullptr;
    QVBoxLayout *m_listLayout = nullptr;
    PomelarkButton *m_confirm = nullptr;
    QList<GroupCard *> m_rows;
    QList<QWidget *> m_separators;
    QList<QUuid> m_rowIDs;
    std::optional<LookTarget> m_look;
    QPointer<BestShotLookView> m_lookView;
};

} // namespace pomelark
