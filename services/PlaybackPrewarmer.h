#pragma once

#include "services/MediaItem.h"
#include "services/PlaybackService.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <memory>

namespace pomelark {

/// Prepares the session's videos for playback in the background: asks which
/// already play, then converts the rest one at a time, in a queue the user can
/// reorder. Publishes one state per video for the tiles. Main thread only.
class PlaybackPrewarmer : public QObject {
    Q_OBJECT
public:
    enum class State { unknown, prewarming, ready, failed };
    Q_ENUM(State)
    using States = QHash<QUrl, State>;

    Q_PROPERTY(States states READ states NOTIFY statesChanged)

    explicit PlaybackPrewarmer(PlaybackPreparation &preparation = PlaybackService::shared(), QObject *parent = nullptr);
    ~PlaybackPrewarmer() override;

    const States &states() const { return m_states; }
    State state(const QUrl &url) const { return m_states.value(url, State::unknown); }
    const QList<QUrl> &queue() const { return m_queue; }
    bool isWorking() const { return m_workerDone != nullptr && !m_workerDone->isSet(); }

    /// Starts over with `items` (each video once): every one `unknown`, then a
    /// new worker. A previous worker must have been stopped first.
    void start(const MediaItems &items);

    /// Stops the worker and clears everything; returns once the worker has ended.
    /// The worker's own request is withdrawn wherever it is: one still probing
    /// its video ends at once and starts nothing, and a conversion under way is
    /// ended unless someone else (the viewer) waits for the same copy, in which
    /// case it is waited for. Never fails.
    QCoro::Task<void> stop();

    /// Moves `url` to the front of the waiting queue if it is waiting.
    void prioritize(const QUrl &url);

Q_SIGNALS:
    void statesChanged();

private:
    static QCoro::Task<void> runWorker(QPointer<PlaybackPrewarmer> self, QList<QUrl> urls,
                                       std::shared_ptr<SharedOutcome<bool>> done);
    QCoro::Task<void> quickCheckAll(QList<QUrl> urls);
    QCoro::Task<void> convertQueue(QPointer<PlaybackPrewarmer> self);
    void setState(const QUrl &url, State state);

    PlaybackPreparation &m_preparation;
    States m_states;
    QList<QUrl> m_queue;
    bool m_stopped = false;
    /// The request of the video being prepared, there from before it is asked for.
    std::shared_ptr<PlaybackRequest> m_request;
    std::shared_ptr<SharedOutcome<bool>> m_workerDone;
};

} // namespace pomelark
