#pragma once

#include "platform/SerialExecutor.h"
#include "services/ImportService.h"
#include "services/Validation.h"

#include <qcoro/qcorotask.h>

#include <functional>

namespace pomelark {

/// Checks every file of a folder once, in order, before anything is shown.
///
/// The service's state lives on the main thread; file checks run one at a time
/// on its own serial executor. Checks are cheap: size, then whether the content
/// is an image or a container with tracks. Nothing is decoded, nothing written.
class ValidationService {
public:
    /// Checks one file as checkFileNow() does, on the service's executor.
    using FileCheck = std::function<bool(const QString &path, MediaItem::Kind kind)>;

    /// Checks files with `fileCheck`, checkFileNow() when none is given.
    explicit ValidationService(ImportService importer = {}, FileCheck fileCheck = {});

    /// The one instance the app uses, made on first use (on the main thread).
    static ValidationService &shared();

    /// How many files after a failed one are read to learn whether the card
    /// still answers, when none has passed yet.
    static constexpr int filesReadAhead = 8;

    /// Scans `folder` and checks each file in turn. Before each file it calls
    /// `isStillPresent` on the main thread; false ends the run with
    /// ValidationAborted and drops what was gathered. A file that fails is
    /// listed only when `isStillPresent`, asked again, says the card is still
    /// there, and with PullSigns::watcherOrReads the card itself (SourceCheck)
    /// too; otherwise the run ends with ValidationAborted as well. A scan
    /// failure (ScanError) passes through unchanged. One bad file never stops
    /// the run.
    QCoro::Task<ValidationOutcome> validate(QUrl folder, std::function<bool()> isStillPresent,
                                            PullSigns signs = PullSigns::watcherOrReads);

    /// True when the file passes, false when it looks damaged. Throws
    /// ValidationFailure::Error(emptyFile) for an empty file and
    /// FileAttributesError when the file cannot be examined at all, is not a
    /// regular file, or (a photo) a read of its content fails.
    QCoro::Task<bool> checkFile(QUrl url, MediaItem::Kind kind);

    /// The same check, synchronously, on the calling thread.
    static bool checkFileNow(const QString &path, MediaItem::Kind kind);

    const ImportService &importer() const { return m_importer; }

private:
    ImportService m_importer;
    FileCheck m_fileCheck;
    SerialExecutor m_executor{QStringLiteral("ValidationService")};
};

} // namespace pomelark
