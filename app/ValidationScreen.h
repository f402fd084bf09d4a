#pragma once

#include "app/FailedFilesAside.h"
#include "services/Validation.h"

#include <QFutureWatcher>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <functional>

class QVBoxLayout;

namespace pomelark {

class FailureList;
class PomelarkButton;

/// Shown when validation found a failed file or nothing valid: a summary (or,
/// with nothing valid, an empty state), the failed files with their reasons, a
/// way to copy them into a folder of the user's choice, and the ways on: choose
/// another folder, or skip the failures and start with the valid files.
class ValidationScreen : public QWidget {
    Q_OBJECT
public:
    /// What the screen shows: for now always the result of one validation.
    class Phase {
    public:
        Phase() = default;
        static Phase result(ValidationOutcome outcome) { return Phase(std::move(outcome)); }
        const ValidationOutcome &outcome() const { return m_outcome; }

    private:
        explicit Phase(ValidationOutcome outcome) : m_outcome(std::move(outcome)) {}
        ValidationOutcome m_outcome;
    };

    struct Inputs {
        Phase phase;
        /// "Skip and start": go on to the grid with the valid files.
        std::function<void()> onProceed;
        /// "Choose another folder": back to the welcome screen.
        std::function<void()> onRetry;
        /// Asks for the folder to keep failed files in; returns its path, or
        /// nothing when the user cancels. Unset: chooseFolderWithDialog().
        std::function<QString()> chooseFolder;
        /// Shows files in the file manager. Unset: FileManager::showItems.
        std::function<void(const QList<QUrl> &)> reveal;
    };

    explicit ValidationScreen(Inputs inputs, QWidget *parent = nullptr);
    ~ValidationScreen() override;

    /// Asks for a folder, then copies every failed file into it off the main
    /// thread, never replacing a file there; when done, shows the folder in the
    /// file manager and says how many were set aside and which could not be.
    /// Does nothing while a previous run still copies, or when the user cancels.
    void setFailedFilesAside();
    /// Shows the failed file in the file manager.
    void revealInFolder(const ValidationFailure &failure);

    /// A folder dialog: "Choose a folder to keep the failed files", accepting with
    /// "Keep here"; folders only, new ones may be made. Empty when cancelled.
    static QString chooseFolderWithDialog(QWidget *parent);

    /// Whether a set-aside run is copying.
    bool isSettingAside() const { return m_copy != nullptr; }
    /// Whether the empty state (nothing valid) is shown instead of the summary.
    bool showsEmptyState() const { return m_inputs.phase.outcome().valid.isEmpty(); }
    FailureList *failureList() const { return m_failureList; }
    PomelarkButton *asideButton() const { return m_aside; }
    PomelarkButton *retryButton() const { return m_retry; }
    PomelarkButton *proceedButton() const { return m_proceed; }
    /// The last report's message box while it is open.
    QMessageBox *reportBox() const { return m_reportBox; }

    static constexpr int columnMaxWidth = 540;

Q_SIGNALS:
    /// A set-aside run finished and its report is on screen.
    void failedFilesSetAside(const pomelark::AsideReport &report);

private:
    void buildResults(QVBoxLayout *column);
    void buildEmptyState(QVBoxLayout *column);
    void addFailures(QVBoxLayout *column);
    void asideFinished();
    void reveal(const QList<QUrl> &items);

    Inputs m_inputs;
    FailureList *m_failureList = nullptr;
    PomelarkButton *m_aside = nullptr;
    PomelarkButton *m_retry = nullptr;
    PomelarkButton *m_proceed = nullptr;
    QFutureWatcher<AsideReport> *m_copy = nullptr;
    QPointer<QMessageBox> m_reportBox;
};

} // namespace pomelark
