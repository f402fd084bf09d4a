#pragma once

#include "platform/UpdateFeed.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QVersionNumber>

#include <qcoro/qcorotask.h>

#include <chrono>

namespace pomelark {

/// Checks a release feed for a newer version of the program. It installs
/// nothing: the package manager does that. The feed's address is configured
/// outside the program (see `configuredFeed`); without one no check can start.
///
/// Lives on the main thread. At most one check runs at a time.
class Updater : public QObject {
    Q_OBJECT
public:
    /// What one check found.
    struct CheckResult {
        enum class Kind {
            upToDate,        ///< the feed's version is not newer than the running one
            updateAvailable, ///< `feed` names a newer release
            unreachable,     ///< no answer, an HTTP error, a timeout or an oversized answer; see `error`
            unreadable,      ///< an answer that is not a feed of the agreed shape
            notPossible,     ///< no feed is set, or a check is already running
        };
        Kind kind = Kind::notPossible;
        UpdateFeed feed;  ///< the feed read (upToDate and updateAvailable)
        QString error;    ///< what went wrong, in the network layer's words (unreachable)
    };

    /// `feed` empty or not a usable address: `canCheckForUpdates` stays false.
    Updater(QUrl feed, QVersionNumber running, QObject *parent = nullptr);
    /// A check still running is dropped: its task never finishes.
    ~Updater() override;

    /// The feed address: POMELARK_UPDATE_FEED when set, else "updates/feedURL"
    /// from the application's settings (the user's file, falling back to the
    /// system-wide one). An empty URL when none is set.
    static QUrl configuredFeed();

    /// Whether `url` can serve as a feed: an absolute http, https or file address.
    static bool isUsableFeed(const QUrl &url);

    QUrl feed() const { return m_feed; }
    QVersionNumber runningVersion() const { return m_running; }

    /// True when a feed is set and no check runs.
    bool canCheckForUpdates() const { return m_feedUsable && !m_checking; }

    /// Fetches the feed and compares its version with the running one. Never
    /// throws: every failure comes back as a result. Started while a check runs
    /// or without a feed, it returns `notPossible` at once.
    QCoro::Task<CheckResult> checkForUpdates();

    /// How long one fetch may take before it counts as unreachable.
    void setTransferTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    /// Answers longer than this are not feeds; the fetch stops there.
    static constexpr qint64 maximumFeedBytes = 64 * 1024;

Q_SIGNALS:
    void canCheckForUpdatesChanged(bool canCheck);

private:
    void setChecking(bool checking);

    QUrl m_feed;
    QVersionNumber m_running;
    bool m_feedUsable;
    bool m_checking = false;
    std::chrono::milliseconds m_timeout{std::chrono::seconds(30)};
    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
};

} // namespace pomelark
