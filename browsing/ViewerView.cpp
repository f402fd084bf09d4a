#include "browsing/ViewerView.h"

#include "browsing/ExcludedBadge.h"
#include "browsing/FullsizeImageView.h"
#include "browsing/RoundOverlayButton.h"
#include "browsing/VideoPlayerPanel.h"
#include "browsing/ViewerCheck.h"
#include "look/ContinuousShape.h"
#include "look/HiddenShortcuts.h"
#include "look/LookFont.h"
#include "look/SymbolIcons.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace pomelark {

namespace {

const QString prevKey = QStringLiteral("Prev");
const QString nextKey = QStringLiteral("Next");
const QString closeKey = QStringLiteral("Close");
const QString toggleSelectKey = QStringLiteral("ToggleSelect");

QColor headerColor()
{
    return QColor::fromRgbF(1, 1, 1, 0.7f);
}

/// The soft capsule behind the rotate button.
class RotatePill : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(capsule(QRectF(rect())), QColor::fromRgbF(1, 1, 1, 0.08f));
    }
};

} // namespace

ViewerView::ViewerView(Inputs inputs, QWidget *parent, FrameTicker &ticker)
    : ItemOverlayBackdrop(inputs.onClose, parent, defaultFade(), ticker), m_inputs(std::move(inputs)), m_ticker(ticker)
{
    auto *panel = new QVBoxLayout(this);
    panel->setContentsMargins(24, 24, 24, 24);
    panel->setSpacing(18);
    buildHeader(ticker);
    buildMiddle(ticker);
    buildRotateRow(ticker);

    addShortcut(prevKey, QKeySequence(Qt::Key_Left), [this] { goPrevious(); });
    addShortcut(nextKey, QKeySequence(Qt::Key_Right), [this] { goNext(); });
    addShortcut(closeKey, QKeySequence(Qt::Key_Escape), [this] { requestClose(); });
    addShortcut(toggleSelectKey, QKeySequence(Qt::Key_Space), [this] { toggleSelection(); });
    refresh();
}

void ViewerView::buildHeader(FrameTicker &ticker)
{
    auto *row = new QHBoxLayout;
    auto *label = new QHBoxLayout;
    label->setSpacing(7);
    m_kindSymbol = new QLabel(this);
    label->addWidget(m_kindSymbol);
    m_title = new QLabel(this);
    // A file name is shown as it is, never read as markup.
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(LookFont::system(13));
    QPalette palette = m_title->palette();
    palette.setColor(QPalette::WindowText, headerColor());
    m_title->setPalette(palette);
    label->addWidget(m_title);
    m_badge = new ExcludedBadge(this);
    label->addWidget(m_badge);
    // Only the room between the header's pieces reaches the backdrop.
    keepClicks({m_kindSymbol, m_title, m_badge});
    row->addLayout(label);
    row->addStretch(1);
    m_close = new RoundOverlayButton(QStringLiteral("xmark"), tr("Close"), false, [this] { requestClose(); }, this, ticker);
    row->addWidget(m_close);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void ViewerView::buildMiddle(FrameTicker &ticker)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(18);
    m_previous = new RoundOverlayButton(QStringLiteral("chevron.left"), tr("Previous"), true, [this] { goPrevious(); },
                                        this, ticker);
    row->addWidget(m_previous);
    m_content = new QWidget(this);
    m_content->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto *contentLayout = new QVBoxLayout(m_content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    m_content->installEventFilter(this);
    row->addWidget(m_content, 1);
    m_next = new RoundOverlayButton(QStringLiteral("chevron.right"), tr("Next"), true, [this] { goNext(); }, this,
                                    ticker);
    row->addWidget(m_next);
    m_check = new ViewerCheck(false, [this] { toggleSelection(); }, m_content, ticker);
    static_cast<QVBoxLayout *>(layout())->addLayout(row, 1);
}

void ViewerView::buildRotateRow(FrameTicker &ticker)
{
    m_rotateRow = new RotatePill(this);
    keepClicks({m_rotateRow});
    m_rotateRow->setFixedSize(52, 52);
    m_rotate = new RoundOverlayButton(QStringLiteral("arrow.clockwise"), tr("Rotate right"), false,
                                      [this] { rotate(90); }, m_rotateRow, ticker);
    m_rotate->setGeometry(6, 6, 40, 40);
    static_cast<QVBoxLayout *>(layout())->addWidget(m_rotateRow, 0, Qt::AlignHCenter);
}

void ViewerView::setMedia(const MediaItems &media)
{
    m_inputs.media = media;
    refresh();
}

void ViewerView::setExcludedIDs(const QSet<QUuid> &excludedIDs)
{
    m_inputs.excludedIDs = excludedIDs;
    refresh();
}

void ViewerView::setSelectMode(bool selectMode)
{
    m_inputs.selectMode = selectMode;
    refresh();
}

int ViewerView::index() const
{
    return m_inputs.index.get();
}

const MediaItem &ViewerView::currentItem() const
{
    return m_inputs.media.at(index());
}

int ViewerView::currentRotation() const
{
    if (!hasCurrent())
        return 0;
    return m_inputs.rotations.get().value(currentItem().id, 0);
}

bool ViewerView::isCurrentSelected() const
{
    if (!hasCurrent())
        return false;
    return m_inputs.selectedIDs.get().contains(currentItem().id);
}

bool ViewerView::hasCurrent() const
{
    const int current = index();
    return current >= 0 && current < m_inputs.media.size();
}

void ViewerView::goPrevious()
{
    const int current = index();
    if (current < 1 || !hasCurrent())
        return;
    m_inputs.index.set(current - 1);
    refresh();
}

void ViewerView::goNext()
{
    const int current = index();
    if (current >= m_inputs.media.size() - 1 || !hasCurrent())
        return;
    m_inputs.index.set(current + 1);
    refresh();
}

void ViewerView::rotate(int delta)
{
    if (!hasCurrent())
        return;
    QHash<QUuid, int> rotations = m_inputs.rotations.get();
    const QUuid id = currentItem().id;
    int turned = (rotations.value(id, 0) + delta) % 360;
    if (turned < 0)
        turned += 360;
    rotations.insert(id, turned);
    m_inputs.rotations.set(rotations);
    refresh();
}

void ViewerView::toggleSelection()
{
    if (!hasCurrent())
        return;
    QSet<QUuid> selected = m_inputs.selectedIDs.get();
    const QUuid id = currentItem().id;
    if (!selected.remove(id))
        selected.insert(id);
    m_inputs.selectedIDs.set(selected);
    refresh();
}

QString ViewerView::titleText() const
{
    return m_title->text();
}

bool ViewerView::showsExcludedBadge() const
{
    return !m_badge->isHidden();
}

void ViewerView::refresh()
{
    // The main view shows the viewer only for an index within the list; should
    // that ever not hold, the last item shown stays rather than reading past the end.
    if (!hasCurrent())
        return;
    const MediaItem &item = currentItem();
    const int current = index();
    const int count = int(m_inputs.media.size());
    const bool isVideo = item.kind == MediaItem::Kind::video;

    m_kindSymbol->setPixmap(QPixmap::fromImage(SymbolIcons::image(
        isVideo ? QStringLiteral("video.fill") : QStringLiteral("photo.fill"), 13, SymbolWeight::Regular,
        headerColor(), devicePixelRatioF())));
    m_title->setText(tr("%1 · %2 / %3")
                         .arg(QFileInfo(item.url.toLocalFile()).fileName(), QString::number(current + 1),
                              QString::number(count)));
    m_badge->setHidden(!m_inputs.excludedIDs.contains(item.id));

    const bool hasPrevious = current >= 1;
    const bool hasNext = current < count - 1;
    m_previous->setEnabled(hasPrevious);
    m_next->setEnabled(hasNext);
    shortcuts()->setEnabled(prevKey, hasPrevious);
    shortcuts()->setEnabled(nextKey, hasNext);
    shortcuts()->setEnabled(toggleSelectKey, m_inputs.selectMode);

    showContent();
    m_rotateRow->setHidden(isVideo);
    m_check->setSelected(isCurrentSelected());
    m_check->setHidden(!m_inputs.selectMode);
    placeCheck();
}

void ViewerView::showContent()
{
    const MediaItem &item = currentItem();
    auto *contentLayout = m_content->layout();
    if (item.kind == MediaItem::Kind::video) {
        delete m_photo;
        if (m_video) {
            m_video->setItem(item);
            m_video->setSpaceTogglesPlayback(!m_inputs.selectMode);
            return;
        }
        m_video = new VideoPlayerPanel({item, !m_inputs.selectMode}, m_content, m_ticker);
        m_video->installEventFilter(this);
        connect(m_video, &VideoPlayerPanel::stateChanged, this, &ViewerView::placeCheck);
        contentLayout->addWidget(m_video);
    } else {
        delete m_video;
        if (m_photo) {
            m_photo->setSource(item.url, currentRotation());
            return;
        }
        m_photo = new FullsizeImageView({item.url, currentRotation()}, m_content, m_ticker);
        m_photo->installEventFilter(this);
        connect(m_photo, &FullsizeImageView::pictureLoaded, this, &ViewerView::placeCheck);
        contentLayout->addWidget(m_photo);
    }
    m_check->raise();
}

QRect ViewerView::contentPanel() const
{
    if (m_photo)
        return m_photo->panelRect().translated(m_photo->pos()).toRect();
    if (m_video)
        return m_video->panelRect().translated(m_video->pos()).toRect();
    return m_content->rect();
}

void ViewerView::placeCheck()
{
    // 10 px in from the panel's top-leading corner; the check's frame has room
    // around its circle for the hover growth.
    const QSize frame = m_check->sizeHint();
    const int inset = 10 - (frame.width() - 30) / 2;
    m_check->setGeometry(QRect(contentPanel().topLeft() + QPoint(inset, inset), frame));
}

void ViewerView::aboutToLeave()
{
    if (m_video)
        m_video->finish();
}

bool ViewerView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && (watched == m_content || watched == m_photo || watched == m_video))
        placeCheck();
    return ItemOverlayBackdrop::eventFilter(watched, event);
}

} // namespace pomelark
