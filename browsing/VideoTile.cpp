#include "browsing/VideoTile.h"

#include "look/Color.h"
#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"
#include "look/Shadows.h"
#include "look/SymbolIcons.h"
#include "platform/SystemLog.h"
#include "services/FormatDuration.h"
#include "services/PlaybackPrewarmer.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <exception>

namespace pomelark {

namespace {

constexpr qreal shadeHeight = 54;
constexpr qreal shadeOpacity = 0.55;
constexpr qreal playSide = 38;

QString fileName(const QUrl &url)
{
    return QFileInfo(url.toLocalFile()).fileName();
}

} // namespace

VideoTile::VideoTile(MediaItem item, PlaybackPrewarmer *prewarmer, Flags flags, std::function<void()> onActivate,
                     std::function<void()> onToggleSelect, Loader loader, QObject *parent, FrameTicker &ticker)
    : GridTile(flags, std::move(onActivate), std::move(onToggleSelect), parent, ticker), m_item(std::move(item)),
      m_prewarmer(prewarmer), m_appear(0, ticker)
{
    m_appear.setOnChange([this] { Q_EMIT changed(); });
    if (prewarmer)
        connect(prewarmer, &PlaybackPrewarmer::statesChanged, this, &GridTile::changed);
    if (loader)
        runLoad(this, m_item.url, std::move(loader));
    m_constructing = false;
}

QCoro::Task<void> VideoTile::runLoad(QPointer<VideoTile> self, QUrl url, Loader loader)
{
    std::optional<VideoInfo> info;
    try {
        info = co_await loader(url);
    } catch (const std::exception &error) {
        SystemLog::write(QStringLiteral("[VideoTile] thumbnail FAILED for ") + fileName(url) + QStringLiteral(": ")
                         + QString::fromUtf8(error.what()));
    }
    // A tile that scrolled away is gone; its result serves nobody.
    if (self && self->m_item.url == url)
        self->setInfo(std::move(info));
}

void VideoTile::setInfo(std::optional<VideoInfo> info)
{
    const bool wasEmpty = !m_info.has_value();
    m_info = std::move(info);
    m_poster = CoverPicture(m_info ? m_info->thumbnail : QImage());
    if (!m_info)
        m_appear.setValue(0);
    else if (m_constructing)
        m_appear.setValue(1);
    else if (wasEmpty)
        m_appear.animateTo(1, Animation::easeOut(posterSeconds));
    Q_EMIT changed();
}

void VideoTile::activate()
{
    if (m_prewarmer)
        m_prewarmer->prioritize(m_item.url);
    callActivate();
}

QString VideoTile::statusText() const
{
    if (flags().selectMode || !m_info || !m_prewarmer)
        return {};
    const auto &states = m_prewarmer->states();
    const auto found = states.constFind(m_item.url);
    if (found == states.constEnd())
        return {};
    switch (*found) {
    case PlaybackPrewarmer::State::unknown:
    case PlaybackPrewarmer::State::prewarming:
        return tr("Preparing");
    case PlaybackPrewarmer::State::failed:
        return tr("Won't play");
    case PlaybackPrewarmer::State::ready:
        break;
    }
    return {};
}

QRectF VideoTile::statusBadgeFrame() const
{
    const QString text = statusText();
    if (text.isEmpty())
        return {};
    const QFontMetricsF metrics(LookFont::system(10, QFont::Medium));
    return {markPadding, markPadding, metrics.horizontalAdvance(text) + 12, metrics.height() + 4};
}

QString VideoTile::helpAt(QPointF point) const
{
    const QString help = GridTile::helpAt(point);
    if (!help.isEmpty())
        return help;
    if (m_prewarmer && m_prewarmer->states().value(m_item.url) == PlaybackPrewarmer::State::failed
        && statusBadgeFrame().contains(point))
        return tr("This video just won't play, but sending it to Photos works fine");
    return {};
}

void VideoTile::paintContent(QPainter &painter, const QRectF &tile)
{
    const qreal appear = m_info ? m_appear.value() : 0;
    if (appear < 1)
        paintPlaceholder(painter, tile);
    if (!m_info || appear <= 0)
        return;
    painter.save();
    painter.setOpacity(painter.opacity() * appear);
    paintPoster(painter, tile);
    paintPlayButton(painter, tile);
    paintStatusBadge(painter);
    painter.restore();
}

void VideoTile::paintPoster(QPainter &painter, const QRectF &tile)
{
    m_poster.draw(painter, tile, 0);

    QLinearGradient shade(0, tile.bottom(), 0, tile.bottom() - shadeHeight);
    shade.setColorAt(0, withOpacity(Palette::ink(), shadeOpacity));
    shade.setColorAt(1, withOpacity(Palette::ink(), 0));
    painter.fillRect(QRectF(tile.left(), tile.bottom() - shadeHeight, tile.width(), shadeHeight), shade);

    // The sans family's digits are already of one width.
    const QFont font = LookFont::system(10, QFont::DemiBold);
    const QString text = formatDuration(m_info->duration);
    const QFontMetricsF metrics(font);
    const QSizeF label(metrics.horizontalAdvance(text) + 12, metrics.height() + 4);
    const QRectF frame(QPointF(tile.right() - markPadding - label.width(), tile.bottom() - markPadding - label.height()),
                       label);
    painter.fillPath(continuousRoundedRect(frame, 4), withOpacity(Palette::ink(), shadeOpacity));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(frame, Qt::AlignCenter, text);
}

void VideoTile::paintPlaceholder(QPainter &painter, const QRectF &tile) const
{
    painter.fillRect(tile, Palette::accentSoft());
    const QFont font = LookFont::system(11);
    const QFontMetricsF metrics(font);
    constexpr qreal symbolSide = 17;
    constexpr qreal gap = 8;
    const qreal textHeight = metrics.height();
    const qreal top = tile.center().y() - (symbolSide + gap + textHeight) / 2;
    SymbolIcons::paint(painter, QStringLiteral("video.fill"),
                       QRectF(tile.center().x() - symbolSide / 2, top, symbolSide, symbolSide), symbolSide,
                       SymbolWeight::Regular, Palette::accentDeep());
    const QRectF line(tile.left() + 8, top + symbolSide + gap, tile.width() - 16, textHeight);
    painter.setFont(font);
    painter.setPen(Palette::accentDeep());
    painter.drawText(line, Qt::AlignCenter, metrics.elidedText(fileName(m_item.url), Qt::ElideMiddle, line.width()));
}

void VideoTile::paintPlayButton(QPainter &painter, const QRectF &tile) const
{
    const qreal hover = hoverProgress();
    const QRectF circle(tile.center() - QPointF(playSide / 2, playSide / 2), QSizeF(playSide, playSide));
    QPainterPath disc;
    disc.addEllipse(circle);
    ShadowPainter::draw(painter, disc, Shadows::small());
    painter.fillPath(disc, mixColors(withOpacity(Qt::white, 0.85), Palette::accent(), hover));
    // The triangle's weight sits left of its box; 2 px right looks centred.
    SymbolIcons::paint(painter, QStringLiteral("play.fill"), circle.translated(2, 0), 15, SymbolWeight::Regular,
                       mixColors(Palette::accentDeep(), Qt::white, hover));
}

void VideoTile::paintStatusBadge(QPainter &painter) const
{
    const QRectF frame = statusBadgeFrame();
    if (frame.isEmpty())
        return;
    const bool failed = m_prewarmer->states().value(m_item.url) == PlaybackPrewarmer::State::failed;
    painter.fillPath(capsule(frame), failed ? Palette::amber() : Palette::accentSoft());
    painter.setFont(LookFont::system(10, QFont::Medium));
    painter.setPen(failed ? QColor(Qt::white) : Palette::accentDeep());
    painter.drawText(frame, Qt::AlignCenter, statusText());
}

} // namespace pomelark
