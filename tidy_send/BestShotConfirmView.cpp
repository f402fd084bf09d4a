#include "tidy_send/BestShotConfirmView.h"

#include "look/HiddenShortcuts.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PlainLabel.h"
#include "look/PomelarkButton.h"
#include "look/ScrollIndicators.h"
#include "look/SymbolIcons.h"
#include "tidy_send/BestShotLookView.h"
#include "tidy_send/GroupCard.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace pomelark {

namespace {

constexpr qreal lookFadeSeconds = 0.25;

/// The scrolling list of groups: as tall as its groups up to its limit, then it
/// scrolls and the panel stops growing.
class GroupList : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        const QSize content = widget() ? widget()->sizeHint() : QSize();
        return {content.width(), std::min(content.height() + 2 * frameWidth(), BestShotConfirmView::maxListHeight)};
    }
    QSize minimumSizeHint() const override { return {0, std::min(sizeHint().height(), 80)}; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The list's own hint follows its groups; the panel has to hear of it.
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }
};

} // namespace

BestShotConfirmView::BestShotConfirmView(Inputs inputs, QWidget *parent, FrameTicker &ticker)
    : ConfirmationFrame(maxPanelWidth, inputs.onCancel, parent, ticker), m_inputs(std::move(inputs)),
      m_ticker(ticker)
{
    QVBoxLayout *panel = panelLayout();

    auto *header = new QVBoxLayout;
    header->setSpacing(4);
    m_title = plainLabel({}, LookFont::rounded(20, QFont::Medium), Palette::ink(), this->panel());
    header->addWidget(m_title);
    QLabel *hint = plainLabel(tr("Pick the ones to keep. The rest are dropped from sending. "
                                 "(check = keep ↔ exclude · tap a photo to enlarge)"),
                             LookFont::system(13), Palette::inkSecondary(), this->panel());
    hint->setWordWrap(true);
    header->addWidget(hint);
    panel->addLayout(header);

    m_list = new GroupList(this->panel());
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollIndicators::apply(m_list);
    m_list->setWidgetResizable(true);
    m_list->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    m_list->setMaximumHeight(maxListHeight);
    m_list->viewport()->setAutoFillBackground(false);
    auto *content = new QWidget;
    m_listLayout = new QVBoxLayout(content);
    m_listLayout->setContentsMargins(2, 2, 2, 2);
    m_listLayout->setSpacing(16);
    m_list->setWidget(content);
    content->setAutoFillBackground(false); // after setWidget, which turns it on
    panel->addWidget(m_list);

    auto *footer = new QHBoxLayout;
    footer->setSpacing(7);
    auto *shield = new QLabel(this->panel());
    shield->setPixmap(QPixmap::fromImage(SymbolIcons::image(QStringLiteral("checkmark.shield"), 13,
                                                            SymbolWeight::Regular, Palette::accentDeep(),
                                                            qApp->devicePixelRatio())));
    footer->addWidget(shield);
    QLabel *reassurance =
        plainLabel(tr("Excluded photos aren't deleted either · select to add them back anytime"),
                  LookFont::system(12), Palette::inkSecondary(), this->panel());
    reassurance->setWordWrap(true);
    footer->addWidget(reassurance, 1);
    panel->addLayout(footer);

    m_confirm = addButtonRow(tr("Not now"), QString(), [this] {
        if (m_inputs.onConfirm)
            m_inputs.onConfirm();
    });

    refresh();
}

int BestShotConfirmView::excludedCount(const QList<BestShotGroup> &groups)
{
    int count = 0;
    for (const BestShotGroup &group : groups)
        count += int(std::count(group.keep.cbegin(), group.keep.cend(), false));
    return count;
}

QString BestShotConfirmView::titleText() const
{
    return m_title->text();
}

void BestShotConfirmView::refresh()
{
    // On the way out the decision is taken: the panel keeps showing it, even
    // after the main view has dropped its groups.
    if (isLeaving())
        return;
    const QList<BestShotGroup> groups = m_inputs.groups.get();
    QList<QUuid> ids;
    ids.reserve(groups.size());
    for (const BestShotGroup &group : groups)
        ids.append(group.id);
    if (ids != m_rowIDs)
        rebuildRows(groups);
    else
        for (GroupCard *row : std::as_const(m_rows))
            row->refresh();

    m_title->setText(tr("Found %n groups of similar photos", nullptr, int(groups.size())));
    const int excluded = excludedCount(groups);
    m_confirm->setText(tr("Exclude %1 from sending").arg(excluded));
    m_confirm->setEnabled(excluded > 0);

    if (m_look && (m_look->groupIndex >= groups.size()))
        closeLook();
    else if (m_lookView)
        m_lookView->refresh();
}

void BestShotConfirmView::setRotations(const QHash<QUuid, int> &rotations)
{
    m_inputs.rotations = rotations;
    for (GroupCard *row : std::as_const(m_rows))
        row->setRotations(rotations);
    if (m_lookView)
        m_lookView->setRotations(rotations);
}

void BestShotConfirmView::rebuildRows(const QList<BestShotGroup> &groups)
{
    // deleteLater: a rebuild may come from inside a click on one of these rows.
    for (QWidget *old : std::as_const(m_separators)) {
        old->hide();
        old->deleteLater();
    }
    for (GroupCard *old : std::as_const(m_rows)) {
        old->hide();
        old->deleteLater();
    }
    m_separators.clear();
    m_rows.clear();
    m_rowIDs.clear();

    QWidget *content = m_list->widget();
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const int index = int(i);
        if (index > 0) {
            auto *separator = new QWidget(content);
            separator->setFixedHeight(1);
            separator->setAutoFillBackground(true);
            QPalette palette = separator->palette();
            palette.setColor(QPalette::Window, Palette::line());
            separator->setPalette(palette);
            m_listLayout->addWidget(separator);
            m_separators.append(separator);
        }
        GroupCard::Inputs row;
        row.group = {[this, index] { return readGroup(index); },
                     [this, index](BestShotGroup group) { writeGroup(index, std::move(group)); }};
        row.rotations = m_inputs.rotations;
        row.onOpen = [this, index](int pos) { openLook(index, pos); };
        auto *card = new GroupCard(std::move(row), content, m_ticker);
        m_listLayout->addWidget(card);
        m_rows.append(card);
        m_rowIDs.append(groups[i].id);
    }
}

BestShotGroup BestShotConfirmView::readGroup(int index) const
{
    const QList<BestShotGroup> groups = m_inputs.groups.get();
    if (index < 0 || index >= groups.size())
        return BestShotGroup({}, std::nullopt);
    return groups[index];
}

void BestShotConfirmView::writeGroup(int index, BestShotGroup group)
{
    QList<BestShotGroup> groups = m_inputs.groups.get();
    if (index < 0 || index >= groups.size())
        return;
    groups[index] = std::move(group);
    m_inputs.groups.set(std::move(groups));
    refresh();
}

void BestShotConfirmView::openLook(int groupIndex, int pos)
{
    if (isLeaving())
        return;
    const QList<BestShotGroup> groups = m_inputs.groups.get();
    if (groupIndex < 0 || groupIndex >= groups.size() || pos < 0 || pos >= groups[groupIndex].items.size())
        return;
    retireLook();
    m_look = LookTarget{groupIndex, pos};

    BestShotLookView::Inputs look;
    look.group = {[this, groupIndex] { return readGroup(groupIndex); },
                  [this, groupIndex](BestShotGroup group) { writeGroup(groupIndex, std::move(group)); }};
    look.rotations = m_inputs.rotations;
    look.pos = {[this] { return m_look ? m_look->pos : 0; },
                [this](int next) {
                    if (m_look)
                        m_look->pos = next;
                }};
    look.onClose = [this] { closeLook(); };
    m_lookView = new BestShotLookView(std::move(look), this, Animation::easeOut(lookFadeSeconds), m_ticker);
    m_lookView->show();
}

void BestShotConfirmView::closeLook()
{
    m_look.reset();
    retireLook();
}

void BestShotConfirmView::retireLook()
{
    if (!m_lookView)
        return;
    // A look opened while this one fades out binds the same keys; two enabled
    // shortcuts on one key would both go deaf.
    for (const QString &name : {BestShotLookView::previousShortcut, BestShotLookView::nextShortcut,
                                BestShotLookView::closeShortcut, BestShotLookView::toggleKeepShortcut})
        m_lookView->shortcuts()->setEnabled(name, false);
    m_lookView->leave();
    m_lookView = nullptr;
}

} // namespace pomelark
