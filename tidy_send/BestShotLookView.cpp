#include "tidy_send/BestShotLookView.h"

#include "browsing/ExcludedBadge.h"
#include "look/Color.h"
#include "look/LookFont.h"
#include "look/SymbolIcons.h"
#include "tidy_send/BestTag.h"
#include "tidy_send/KeepCheck.h"
#include "tidy_send/LookRoundBtn.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace pomelark {

namespace {

constexpr int contentPadding = 24;
constexpr int contentSpacing = 18;
constexpr int checkSize = 30;
constexpr int checkInset = 10;

QString translated(const char *text)
{
    // Explicit context: tr() would not see the class the way the catalogue tools do.
    return QCoreApplication::translate("BestShotLookView", text);
}

QColor titleColor()
{
    return withOpacity(Qt::white, 0.7);
}

} // namespace

BestShotLookView::BestShotLookView(Inputs inputs, QWidget *parent, Animation fade, FrameTicker &ticker)
    : OverlayLayer(parent, fade, ticker), m_inputs(std::move(inputs))
{
    auto *content = new QVBoxLayout(this);
    content->setContentsMargins(contentPadding, contentPadding, contentPadding, contentPadding);
    content->setSpacing(contentSpacing);

    // Title row: the photo's name and place, its marks, and the close button at the far end.
    auto *titleRow = new QHBoxLayout;
    m_titleGroup = new QWidget(this);
    auto *titleGroup = new QHBoxLayout(m_titleGroup);
    titleGroup->setContentsMargins(0, 0, 0, 0);
    titleGroup->setSpacing(8);
    auto *symbol = new QLabel(m_titleGroup);
    symbol->setPixmap(QPixmap::fromImage(SymbolIcons::image(QStringLiteral("photo.fill"), 13, SymbolWeight::Regular,
                                                            titleColor(), qApp->devicePixelRatio())));
    titleGroup->addWidget(symbol);
    m_title = new QLabel(m_titleGroup);
    m_title->setFont(LookFont::system(13));
    QPalette palette = m_title->palette();
    palette.setColor(QPalette::WindowText, titleColor());
    m_title->setPalette(palette);
    titleGroup->addWidget(m_title);
    m_bestTag = new BestTag(m_titleGroup);
    titleGroup->addWidget(m_bestTag);
    m_badge = new ExcludedBadge(m_titleGroup);
    titleGroup->addWidget(m_badge);
    titleRow->addWidget(m_titleGroup);
    titleRow->addStretch(1);
    m_close = new LookRoundBtn(QStringLiteral("xmark"), translated("Close"), false, [this] { close(); }, this, ticker);
    titleRow->addWidget(m_close);
    content->addLayout(titleRow);

    // Photo row: previous, the photo taking all the room between, next.
    auto *photoRow = new QHBoxLayout;
    photoRow->setSpacing(contentSpacing);
    m_previous = new LookRoundBtn(QStringLiteral("chevron.left"), translated("Previous"), true,
                                  [this] { showPrevious(); }, this, ticker);
    photoRow->addWidget(m_previous, 0, Qt::AlignVCenter);
    m_photoArea = new QWidget(this);
    m_photoArea->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_photoArea->installEventFilter(this);
    photoRow->addWidget(m_photoArea, 1);
    m_next = new LookRoundBtn(QStringLiteral("chevron.right"), translated("Next"), true, [this] { showNext(); },
                              this, ticker);
    photoRow->addWidget(m_next, 0, Qt::AlignVCenter);
    content->addLayout(photoRow, 1);

    m_photo = new QWidget(m_photoArea);
    m_check = new KeepCheck(true, [this] { toggleKeep(); }, checkSize, m_photoArea, ticker);
    m_check->resize(m_check->sizeHint());

    buildShortcuts();
    refresh();
}

QColor BestShotLookView::backdropColor()
{
    QColor color = colorFromHex(u"1C1814");
    color.setAlphaF(0.94);
    return color;
}

void BestShotLookView::buildShortcuts()
{
    // Invisible buttons that take no room; a key does what its button does, and
    // nothing while the button is disabled.
    auto *holder = new QWidget(this);
    holder->setFixedSize(0, 0);
    holder->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char *title;
        Qt::Key key;
        std::function<void()> action;
    } shortcuts[] = {
        {QT_TRANSLATE_NOOP("BestShotLookView", "Prev"), Qt::Key_Left, [this] { showPrevious(); }},
        {QT_TRANSLATE_NOOP("BestShotLookView", "Next"), Qt::Key_Right, [this] { showNext(); }},
        {QT_TRANSLATE_NOOP("BestShotLookView", "Close"), Qt::Key_Escape, [this] { close(); }},
        {QT_TRANSLATE_NOOP("BestShotLookView", "ToggleKeep"), Qt::Key_Space, [this] { toggleKeep(); }},
    };
    for (const auto &shortcut : shortcuts) {
        auto *button = new QPushButton(translated(shortcut.title), holder);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, shortcut.action);
        // The key clicks at once; a button's own mnemonic would click 100 ms later.
        auto *key = new QShortcut(QKeySequence(shortcut.key), button);
        key->setContext(Qt::WindowShortcut);
        connect(key, &QShortcut::activated, button, &QPushButton::click);
        row->addWidget(button);
        m_shortcuts.insert(shortcut.key, button);
    }
    holder->move(0, 0);
}

QPushButton *BestShotLookView::shortcutButton(Qt::Key key) const
{
    return m_shortcuts.value(key, nullptr);
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
    m_shortcuts.value(Qt::Key_Left)->setEnabled(canGoBack);
    m_shortcuts.value(Qt::Key_Right)->setEnabled(canGoOn);
    if (count == 0) {
        m_title->clear();
        m_bestTag->hide();
        m_badge->hide();
        m_check->hide();
        return;
    }

    const MediaItem &current = group.items[pos];
    m_title->setText(translated("%1 · %2 / %3").arg(current.url.fileName()).arg(pos + 1).arg(count));
    m_bestTag->setVisible(group.bestIndex && *group.bestIndex == pos);
    const bool kept = group.keep.value(pos, false);
    m_badge->setVisible(!kept);
    m_check->setKept(kept);
    m_check->show();
    showPhoto(current.url, m_inputs.rotations.value(current.id, 0));
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

void BestShotLookView::close()
{
    if (isLeaving())
        return;
    if (m_inputs.onClose)
        m_inputs.onClose();
}

void BestShotLookView::showPhoto(const QUrl &url, int rotationDegrees)
{
    if (url == m_shownURL && rotationDegrees == m_shownRotation)
        return;
    m_shownURL = url;
    m_shownRotation = rotationDegrees;
    placeKeepCheck();
}

void BestShotLookView::placeKeepCheck()
{
    m_photo->setGeometry(m_photoArea->rect());
    const QRect panel = m_photo->geometry();
    m_check->move(panel.topLeft() + QPoint(checkInset - KeepCheck::bleed, checkInset - KeepCheck::bleed));
    m_check->raise();
}

bool BestShotLookView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_photoArea && event->type() == QEvent::Resize)
        placeKeepCheck();
    return OverlayLayer::eventFilter(watched, event);
}

void BestShotLookView::resizeEvent(QResizeEvent *event)
{
    OverlayLayer::resizeEvent(event);
    placeKeepCheck();
}

void BestShotLookView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), backdropColor());
}

bool BestShotLookView::isBackdropAt(QPoint point) const
{
    // Only clicks that nothing in front takes: the empty space around the
    // content, between the rows and beside the photo.
    QWidget *hit = childAt(point);
    return hit == nullptr || hit == m_photoArea || hit == m_titleGroup;
}

void BestShotLookView::mousePressEvent(QMouseEvent *event)
{
    m_pressedOnBackdrop = event->button() == Qt::LeftButton && isBackdropAt(event->position().toPoint());
    event->accept();
}

void BestShotLookView::mouseReleaseEvent(QMouseEvent *event)
{
    const bool tapped = m_pressedOnBackdrop && isBackdropAt(event->position().toPoint());
    m_pressedOnBackdrop = false;
    event->accept();
    if (tapped)
        close();
}

} // namespace pomelark
