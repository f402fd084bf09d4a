#pragma once

#include "platform/PhotoLibrary.h"
#include "platform/SerialExecutor.h"

#include <QDateTime>
#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <exception>
#include <functional>
#include <optional>

namespace pomelark {

/// Why a file did not get into the Photos library.
class PhotosError : public std::exception {
public:
    enum class Kind { importFailed, denied };

    /// An add that failed; `underlying` is what the file system reported, in
    /// the display language.
    static PhotosError importFailed(QString underlying) { return PhotosError(Kind::importFailed, std::move(underlying)); }
    static PhotosError denied() { return PhotosError(Kind::denied, {}); }

    const char *what() const noexcept override { return "photos library error"; }

    /// The user text, in the display language: "Couldn't add to Photos:", a
    /// space and the underlying reason; or "No Photos access".
    QString message() const;

    Kind kind;
    QString underlying;

private:
    PhotosError(Kind kind, QString underlying) : kind(kind), underlying(std::move(underlying)) {}
};

/// Add-only access to the Photos library. The send is its one user.
///
/// Adds run one at a time on the service's own executor.
class PhotosService {
public:
    /// Same values as the statuses the send was designed around; only
    /// authorized and limited let a send go ahead.
    enum class AuthorizationStatus { notDetermined = 0, restricted = 1, denied = 2, authorized = 3, limited = 4 };

    explicit PhotosService(PhotoLibrary library = PhotoLibrary());
    virtual ~PhotosService() = default;

    /// The one instance the app uses, made on first use.
    static PhotosService &shared();

    /// The current status, without asking for anything: notDetermined while the
    /// library folder does not exist yet. Any thread.
    virtual AuthorizationStatus authorizationStatus() const;

    /// Makes the library folder when missing; authorized, or denied when it cannot
    /// be made or written. Never fails otherwise.
    virtual QCoro::Task<AuthorizationStatus> requestAuthorization();

    /// Copies the finished file at `fileURL` into the library as `originalName`'s
    /// base name with `fileURL`'s extension, filed under `creationDate` (the file's
    /// own time when none). The file at `fileURL` stays. Throws
    /// PhotosError::importFailed; a failed add leaves nothing in the library.
    /// The first add of the service's life first sweeps the library of the
    /// leftovers of adds that died (PhotoLibrary::sweepLeftovers()).
    virtual QCoro::Task<void> addToLibrary(QUrl fileURL, bool isVideo, std::optional<QDateTime> creationDate,
                                           QString originalName);

    /// Blocks until the add under way, if any, has ended, for the program's
    /// end: an add reads a converted file on this computer, never the card, so
    /// it takes no longer than a copy. Nothing else waits for it.
    void finishAdds() { m_executor.waitForDone(); }

    const PhotoLibrary &library() const { return m_library; }

    /// The clock that judges how old a leftover is.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    /// `original`'s base name with the extension of `converted`: IMG_0001.JPG and
    /// 3F2A….heic give IMG_0001.heic.
    static QString libraryName(const QString &original, const QString &converted);

private:
    PhotoLibrary m_library;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    bool m_swept = false;
    SerialExecutor m_executor{QStringLiteral("PhotosService")};
};

} // namespace pomelark
