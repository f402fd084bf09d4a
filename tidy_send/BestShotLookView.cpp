#include "tidy_send/BestShotLookView.h"

#include "browsing/ExcludedBadge.h"
#include "browsing/FullsizeImageView.h"
#include "look/Color.h"
#include "look/HiddenShortcuts.h"
#include "look/LookFont.h"
#include "look/PlainLabel.h"
#include "look/SymbolIcons.h"
#include "tidy_send/BestTag.h"
#include "tidy_send/KeepCheck.h"
#include "tidy_send/LookRoundBtn.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace pomelark {

namespace {

constexpr int contentPadding = 24;
constexpr int contentSpacing = 18;
constexpr int checkSize = 30;
constexpr int checkInset = 10;

QColor titleColor()
{
    return withOpacity(Qt::white, 0.7);
}

} // namespace

BestShotLookView::BestShotLookView(Inputs inputs, QWidget *parent, Animation fade, FrameTicker &ticker)
    : ItemOverlayBackdrop(inputs.onClose, parent, fade, ticker), m_inputs(std::move(inputs))
{
    auto *content = new QVBoxLayout(this);
    content->setContentsMargins(contentPadding, contentPadding, contentPadding, contentPadding);
    content->setSpacing(contentSpacing);

    // Title row: the photo's name and place, its marks, and the close button at the far end.
    auto *titleRow = new QHBoxLayout;
    auto *titleGroup = new QHBoxLayout;
    titleGroup->setSpacing(8);
    auto *symbol = new QLabel(this);
    symbol->setPixmap(QPixmap::fromImage(SymbolIcons::image(QStringLiteral("photo.fill"), 13, SymbolWeight::Regular,
                                                            titleColor(), qApp->devicePixelRatio())));
    titleGroup->addWidget(symbol);
    m_title = plainLabel({}, LookFont::system(13), titleColor(), this);
    titleGroup->addWidget(m_title);
    m_bestTag = new BestTag(this);
    titleGroup->addWidget(m_bestTag);
    m_badge = new ExcludedBadge(this);
    titleGroup->addWidget(m_badge);
    // Only the room between the title's pieces reaches the backdrop.
    keepClicks({symbol, m_title, m_bestTag, m_badge});
    titleRow->addLayout(titleGroup);
    titleRow->addStretch(1);
    m_close = new LookRoundBtn(QStringLiteral("xmark"), tr("Close"), false,
                               [this] { ItemOverlayBackdrop::requestClose(); }, this, ticker);
    titleRow->addWidget(m_close);
    content->addLayout(titleRow);

    // Photo row: previous, the photo taking all the room between, next.
    auto *photoRow = new QHBoxLayout;
    photoRow->setSpacing(contentSpacing);
    m_previous = new LookRoundBtn(QStringLiteral("chevron.left"), tr("Previous"), true,
                                  [this] { showPrevious(); }, this, ticker);
    photoRow->addWidget(m_previous, 0, Qt::AlignVCenter);
    m_photoArea = new QWidget(this);
    m_photoArea->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_photoArea->installEventFilter(this);
    photoRow->addWidget(m_photoArea, 1);
    m_next = new LookRoundBtn(QStringLiteral("chevron.right"), tr("Next"), true, [this] { showNext(); },
                              this, ticker);
    photoRow->addWidget(m_next, 0, Qt::AlignVCenter);
    content->addLayout(photoRow, 1);

    // The photo fills its area; the check sits on the photo's own corner, which
    // moves when a picture of another shape arrives.
    const BestShotGroup group = m_inputs.group.get();
    const int pos = group.items.isEmpty() ? 0 : std::clamp(m_inputs.pos.get(), 0, int(group.items.size()) - 1);
    FullsizeImageView::Inputs photo;
    if (!group.items.isEmpty()) {
        photo.url = group.items[pos].url;
        photo.rotationDegrees = m_inputs.rotations.value(group.items[pos].id, 0);
    }
    m_photo = new FullsizeImageView(photo, m_photoArea, ticker);
    connect(m_photo, &FullsizeImageView::pictureLoaded, this, &BestShotLookView::placeKeepCheck);
    m_check = new KeepCheck(group.keep.value(pos, true), [this] { toggleKeep(); }, checkSize, m_photoArea, ticker);
    m_check->resize(m_check->sizeHint());

    addShortcut(previousShortcut, QKeySequence(Qt::Key_Left), [this] { showPrevious(); });
    addShortcut(nextShortcut, QKeySequence(Qt::Key_Right), [this] { showNext(); });
    addShortcut(closeShortcut, QKeySequence(Qt::Key_Escape), [this] { ItemOverlayBackdrop::requestClose(); });
    addShortcut(toggleKeepShortcut, QKeySequence(Qt::Key_Space), [this] { toggleKeep(); });

    refresh();
}

void BestShotLookView::refresh()
{
    const BestShotGroup group = m_inputs.group.get();
    const int count = int(group.items.size());
    const int pos = count > 0 ? std::clamp(m_inputs.pos.get(), 0, count - 1) : 0;
    const bool canGoBack = count > 0 && pos >= 1;
    const bool canGoOn = count > 0 && pos < count - 1;
    m_previous->setEnabled(canGoBack);
    m_next->setEnabled(canGoOn);
    shortcuts()->setEnabled(previousShortcut, canGoBack);
    shortcuts()->setEnabled(nextShortcut, canGoOn);
    if (count == 0) {
        m_title->clear();
        m_bestTag->hide();
        m_badge->hide();
        m_check->hide();
        return;
    }

    const MediaItem &current = group.items[pos];
    // One pass: a file name holding "%2" must not take the position's place.
    m_title->setText(tr("%1 · %2 / %3")
                         .arg(current.url.fileName(), QString::number(pos + 1), QString::number(count)));
    m_bestTag->setVisible(group.bestIndex && *group.bestIndex == pos);
    const bool kept = group.keep.value(pos, false);
    m_badge->setVisible(!kept);
    // Unlike the cards, the look shows a new flag at once.
    m_check->setKept(kept, false);
    m_check->show();
    m_photo->setSource(current.url, m_inputs.rotations.value(current.id, 0));
}

void BestShotLookView::setRotations(const QHash<QUuid, int> &rotations)
{
    m_inputs.rotations = rotations;
    refresh();
}

QString BestShotLookView::titleText() const
{
    return m_title->text();
}

bool BestShotLookView::showsBestTag() const
{
    return !m_bestTag->isHidden();
}

bool BestShotLookView::showsExcludedBadge() const
{
    return !m_badge->isHidden();
}

void BestShotLookView::showPrevious()
{
    if (isLeaving())
        return;
    const int pos = m_inputs.pos.get();
    if (pos < 1)
        return;
    m_inputs.pos.set(pos - 1);
    refresh();
}

void BestShotLookView::showNext()
{
    if (isLeaving())
        return;
    const int pos = m_inputs.pos.get();
    if (pos >= m_inputs.group.get().items.size() - 1)
        return;
    m_inputs.pos.set(pos + 1);
    refresh();
}

void BestShotLookView::toggleKeep()
{
    if (isLeaving())
        return;
    BestShotGroup group = m_inputs.group.get();
    const int pos = m_inputs.pos.get();
    if (pos < 0 || pos >= group.keep.size())
        return;
    group.keep[pos] = !group.keep[pos];
    m_inputs.group.set(std::move(group));
    refresh();
}

void BestShotLookView::placeKeepCheck()
{
    m_photo->setGeometry(m_photoArea->rect());
    const QPoint corner = m_photo->mapTo(m_photoArea, m_photo->panelRect().topLeft().toPoint());
    m_check->move(corner + QPoint(checkInset - KeepCheck::bleed, checkInset - KeepCheck::bleed));
    m_check->raise();
}

bool BestShotLookView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_photoArea && event->type() == QEvent::Resize)
        placeKeepCheck();
    return ItemOverlayBackdrop::eventFilter(watched, event);
}

} // namespace pomelark
