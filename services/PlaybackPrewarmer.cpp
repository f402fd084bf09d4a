#include "services/PlaybackPrewarmer.h"

#include <QPointer>

namespace pomelark {

using QuickCheckResult = PlaybackPreparation::QuickCheckResult;

PlaybackPrewarmer::PlaybackPrewarmer(PlaybackPreparation &preparation, QObject *parent)
    : QObject(parent), m_preparation(preparation)
{
}

PlaybackPrewarmer::~PlaybackPrewarmer()
{
    // A worker still running sees the prewarmer gone at its next step and ends.
    m_stopped = true;
    if (m_request)
        m_request->withdraw();
}

void PlaybackPrewarmer::start(const MediaItems &items)
{
    m_stopped = false;
    m_queue.clear();
    m_states.clear();
    QList<QUrl> urls;
    for (const MediaItem &item : items) {
        m_states.insert(item.url, State::unknown);
        urls.append(item.url);
    }
    Q_EMIT statesChanged();
    m_workerDone = std::make_shared<SharedOutcome<bool>>();
    // The worker starts from the event loop, like any background task, so the
    // caller sees every video `unknown` first.
    QMetaObject::invokeMethod(
        this, [this, urls, done = m_workerDone] { runWorker(this, urls, done); }, Qt::QueuedConnection);
}

QCoro::Task<void> PlaybackPrewarmer::stop()
{
    m_stopped = true;
    m_queue.clear();
    if (m_request)
        m_request->withdraw();
    if (const auto done = m_workerDone)
        co_await done->wait();
    m_workerDone.reset();
    m_states.clear();
    Q_EMIT statesChanged();
}

void PlaybackPrewarmer::prioritize(const QUrl &url)
{
    const qsizetype position = m_queue.indexOf(url);
    if (position <= 0)
        return;
    m_queue.move(position, 0);
}

void PlaybackPrewarmer::setState(const QUrl &url, State state)
{
    m_states.insert(url, state);
    Q_EMIT statesChanged();
}

QCoro::Task<void> PlaybackPrewarmer::runWorker(QPointer<PlaybackPrewarmer> self, QList<QUrl> urls,
                                               std::shared_ptr<SharedOutcome<bool>> done)
{
    if (self) {
        co_await self->quickCheckAll(urls);
        if (self)
            co_await self->convertQueue(self);
    }
    done->setValue(true);
}

QCoro::Task<void> PlaybackPrewarmer::quickCheckAll(QList<QUrl> urls)
{
    // Every check starts at once; results are taken in the order they finish.
    QPointer<PlaybackPrewarmer> self = this;
    auto allChecked = std::make_shared<SharedOutcome<bool>>();
    auto remaining = std::make_shared<qsizetype>(urls.size());
    auto leftLoop = std::make_shared<bool>(false);
    if (urls.isEmpty())
        co_return;
    auto check = [](QPointer<PlaybackPrewarmer> self, PlaybackPreparation &preparation, QUrl url,
                    std::shared_ptr<qsizetype> remaining, std::shared_ptr<bool> leftLoop,
                    std::shared_ptr<SharedOutcome<bool>> allChecked) -> QCoro::Task<void> {
        QuickCheckResult result = QuickCheckResult::needsTranscode;
        try {
            result = co_await preparation.quickCheck(url);
        } catch (...) {
        }
        if (self && !*leftLoop) {
            if (self->m_stopped) {
                *leftLoop = true;
            } else if (result == QuickCheckResult::alreadyPlayable) {
                self->setState(url, State::ready);
            } else {
                self->setState(url, State::prewarming);
                self->m_queue.append(url);
            }
        }
        if (--*remaining == 0)
            allChecked->setValue(true);
    };
    for (const QUrl &url : urls)
        check(self, m_preparation, url, remaining, leftLoop, allChecked);
    co_await allChecked->wait();
}

QCoro::Task<void> PlaybackPrewarmer::convertQueue(QPointer<PlaybackPrewarmer> self)
{
    while (self && !self->m_stopped && !self->m_queue.isEmpty()) {
        const QUrl url = self->m_queue.takeFirst();
        self->setState(url, State::prewarming);
        // Made before the request is sent, so a stop at any point withdraws it.
        const auto request = std::make_shared<PlaybackRequest>();
        self->m_request = request;
        PlaybackPreparation &preparation = self->m_preparation;
        bool succeeded = false;
        try {
            co_await preparation.playableURL(url, request);
            succeeded = true;
        } catch (...) {
        }
        if (!self)
            co_return;
        self->m_request.reset();
        if (!self->m_stopped)
            self->setState(url, succeeded ? State::ready : State::failed);
    }
}

} // namespace pomelark
