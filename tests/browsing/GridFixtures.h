#pragma once

#include "browsing/TileSources.h"
#include "platform/SharedOutcome.h"
#include "services/MediaItem.h"
#include "services/PlaybackService.h"
#include "support/Fixtures.h"
#include "support/GalleryPictures.h"

#include <QHash>
#include <QUuid>

#include <memory>
#include <stdexcept>

namespace pomelark::test {

inline MediaItems makeItems(MediaItem::Kind kind, int count, const QString &stem = QStringLiteral("IMG_"))
{
    MediaItems items;
    const QString extension = kind == MediaItem::Kind::photo ? QStringLiteral(".JPG") : QStringLiteral(".MOV");
    for (int n = 0; n < count; ++n)
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(QStringLiteral("/card/DCIM/%1%2%3").arg(stem).arg(n, 4, 10, QLatin1Char('0')).arg(extension)),
                      kind});
    return items;
}

/// Picture sources that answer at once with the fixture picture, or hold the
/// answer for chosen files until the test releases it. A held photo load is
/// like one waiting for a decode slot: on release it gives its turn up when its
/// tile no longer wants it.
class FakeTileSources {
public:
    QHash<QUrl, double> durations;
    QSet<QUrl> brokenVideos;
    QList<QUrl> thumbnailRequests;
    /// Photo loads that went on to decode, and those that gave their turn up.
    const QList<QUrl> &decoded() const { return m_outcomes->decoded; }
    const QList<QUrl> &withdrawn() const { return m_outcomes->withdrawn; }

    void hold(const QUrl &url) { m_gates.insert(url, std::make_shared<SharedOutcome<bool>>()); }
    void release(const QUrl &url)
    {
        if (auto gate = m_gates.take(url))
            gate->setValue(true);
    }

    TileSources sources()
    {
        // A load released after its test ended must not reach this object.
        return {[this, outcomes = m_outcomes](QUrl url,
                                              ThumbnailMemoryCache::StillWanted stillWanted) -> QCoro::Task<ThumbnailLoad> {
                    thumbnailRequests.append(url);
                    if (auto gate = m_gates.value(url))
                        co_await gate->wait();
                    if (stillWanted && !stillWanted()) {
                        outcomes->withdrawn.append(url);
                        co_return ThumbnailLoad{std::nullopt, true};
                    }
                    outcomes->decoded.append(url);
                    QImage picture = fixturePicture({256, 192});
                    // Each file gets its own tint, so a wrong picture shows.
                    picture.setPixelColor(0, 0, QColor::fromRgb(qHash(url) & 0xffffff));
                    co_return ThumbnailLoad{picture};
                },
                [this](QUrl url) -> QCoro::Task<VideoInfo> {
                    if (auto gate = m_gates.value(url))
                        co_await gate->wait();
                    if (brokenVideos.contains(url))
                        throw std::runtime_error("no frame");
                    co_return VideoInfo{fixturePicture({320, 180}), durations.value(url, 7.4)};
                }};
    }

    /// The photo source as a tile's own loader, with no gate between.
    std::function<QCoro::Task<std::optional<QImage>>(QUrl)> photoLoader()
    {
        return [thumbnail = sources().thumbnail](QUrl url) -> QCoro::Task<std::optional<QImage>> {
            co_return (co_await thumbnail(url, {})).image;
        };
    }

private:
    struct Outcomes {
        QList<QUrl> decoded;
        QList<QUrl> withdrawn;
    };
    QHash<QUrl, std::shared_ptr<SharedOutcome<bool>>> m_gates;
    std::shared_ptr<Outcomes> m_outcomes = std::make_shared<Outcomes>();
};

/// A playable-video cache scripted by file names: a video named "…ready…"
/// plays as it is, one named "…fails…" cannot be converted, and every other
/// conversion waits until the test ends them all with `failAll` (or the
/// prewarmer is stopped).
class ScriptedPreparation : public PlaybackPreparation {
public:
    QCoro::Task<QuickCheckResult> quickCheck(QUrl source) override
    {
        co_return source.fileName().contains(QStringLiteral("ready")) ? QuickCheckResult::alreadyPlayable
                                                                      : QuickCheckResult::needsTranscode;
    }
    QCoro::Task<QUrl> playableURL(QUrl source, std::shared_ptr<PlaybackRequest> request) override
    {
        request->setOnWithdraw([this] { failAll(); });
        if (source.fileName().contains(QStringLiteral("fails")) || !co_await m_gate.wait())
            throw std::runtime_error("conversion failed");
        co_return source;
    }
    void failAll()
    {
        if (!m_gate.isSet())
            m_gate.setValue(false);
    }

private:
    SharedOutcome<bool> m_gate;
};

} // namespace pomelark::test
