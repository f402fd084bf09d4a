#pragma once

#include "services/BestShotGroup.h"
#include "services/MediaItem.h"
#include "services/Validation.h"
#include "tidy_send/RotateSuggestion.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <concepts>
#include <chrono>
#include <optional>

namespace pomelark {

class ImportSession;
class ToolFlows;

/// Everything one window's session holds, readable by anyone and announced on
/// every change (one parameterless signal per field, emitted only when the value
/// really changed). Written only by the main view's operations: the setters are
/// for the main view and its session and tool flows, never for screens.
class SessionState : public QObject {
    Q_OBJECT

public:
    /// The screen the window shows. Overlays are flags, not screens.
    enum class Screen { welcome, validating, validationResult, grid, settings, converting, done };
    Q_ENUM(Screen)

    /// The one-shot information alerts the tools raise.
    enum class InfoAlert { allUpright, noPhotosToRotate, noBestShotGroups, notEnoughPhotos };
    Q_ENUM(InfoAlert)

    /// Where a tool's job stands; absent while the job is not running.
    struct ToolProgress {
        int done = 0;
        int total = 0;
        friend bool operator==(const ToolProgress &, const ToolProgress &) = default;
    };

    using Rotations = QHash<QUuid, int>;
    using IDSet = QSet<QUuid>;
    using BestShotGroups = QList<BestShotGroup>;

private:
    Q_PROPERTY(std::optional<QUrl> folderURL READ folderURL NOTIFY folderURLChanged)
    Q_PROPERTY(QString sourceFolderPath READ sourceFolderPath NOTIFY sourceFolderPathChanged)
    Q_PROPERTY(pomelark::MediaItems photos READ photos NOTIFY photosChanged)
    Q_PROPERTY(pomelark::MediaItems videos READ videos NOTIFY videosChanged)
    Q_PROPERTY(Screen screen READ screen NOTIFY screenChanged)
    Q_PROPERTY(Screen settingsReturn READ settingsReturn NOTIFY settingsReturnChanged)
    Q_PROPERTY(bool showingSendConfirm READ showingSendConfirm NOTIFY showingSendConfirmChanged)
    Q_PROPERTY(std::optional<pomelark::ValidationOutcome> validationOutcome READ validationOutcome NOTIFY validationOutcomeChanged)
    Q_PROPERTY(QDateTime preparingStartedAt READ preparingStartedAt NOTIFY preparingStartedAtChanged)
    Q_PROPERTY(bool preparingFinale READ preparingFinale NOTIFY preparingFinaleChanged)
    Q_PROPERTY(std::optional<int> viewerIndex READ viewerIndex NOTIFY viewerIndexChanged)
    Q_PROPERTY(pomelark::SessionState::Rotations rotations READ rotations NOTIFY rotationsChanged)
    Q_PROPERTY(pomelark::SessionState::IDSet excludedIDs READ excludedIDs NOTIFY excludedIDsChanged)
    Q_PROPERTY(bool selectMode READ selectMode NOTIFY selectModeChanged)
    Q_PROPERTY(pomelark::SessionState::IDSet selectedIDs READ selectedIDs NOTIFY selectedIDsChanged)
    Q_PROPERTY(bool showingExcludeConfirm READ showingExcludeConfirm NOTIFY showingExcludeConfirmChanged)
    Q_PROPERTY(bool showingIncludeConfirm READ showingIncludeConfirm NOTIFY showingIncludeConfirmChanged)
    Q_PROPERTY(std::optional<pomelark::SessionState::ToolProgress> autoRotateProgress READ autoRotateProgress NOTIFY autoRotateProgressChanged)
    Q_PROPERTY(pomelark::RotateSuggestions rotateSuggestions READ rotateSuggestions NOTIFY rotateSuggestionsChanged)
    Q_PROPERTY(bool showingRotateConfirm READ showingRotateConfirm NOTIFY showingRotateConfirmChanged)
    Q_PROPERTY(std::optional<pomelark::SessionState::ToolProgress> bestShotProgress READ bestShotProgress NOTIFY bestShotProgressChanged)
    Q_PROPERTY(pomelark::SessionState::BestShotGroups bestShotGroups READ bestShotGroups NOTIFY bestShotGroupsChanged)
    Q_PROPERTY(bool showingBestShotConfirm READ showingBestShotConfirm NOTIFY showingBestShotConfirmChanged)
    Q_PROPERTY(std::optional<pomelark::SessionState::InfoAlert> infoAlert READ infoAlert NOTIFY infoAlertChanged)

public:
    explicit SessionState(QObject *parent = nullptr);

    const std::optional<QUrl> &folderURL() const { return m_folderURL; }
    const QString &sourceFolderPath() const { return m_sourceFolderPath; }
    const MediaItems &photos() const { return m_photos; }
    const MediaItems &videos() const { return m_videos; }
    Screen screen() const { return m_screen; }
    Screen settingsReturn() const { return m_settingsReturn; }
    bool showingSendConfirm() const { return m_showingSendConfirm; }
    const std::optional<ValidationOutcome> &validationOutcome() const { return m_validationOutcome; }
    /// The distant past until a session starts.
    const QDateTime &preparingStartedAt() const { return m_preparingStartedAt; }
    /// The same moment on the session clock's monotonic time, which the
    /// preparing screen's caption grid counts from.
    std::chrono::nanoseconds preparingStartedClock() const { return m_preparingStartedClock; }
    bool preparingFinale() const { return m_preparingFinale; }
    std::optional<int> viewerIndex() const { return m_viewerIndex; }
    /// Clockwise degrees per item id, each in 0…359.
    const Rotations &rotations() const { return m_rotations; }
    const IDSet &excludedIDs() const { return m_excludedIDs; }
    bool selectMode() const { return m_selectMode; }
    const IDSet &selectedIDs() const { return m_selectedIDs; }
    bool showingExcludeConfirm() const { return m_showingExcludeConfirm; }
    bool showingIncludeConfirm() const { return m_showingIncludeConfirm; }
    std::optional<ToolProgress> autoRotateProgress() const { return m_autoRotateProgress; }
    const RotateSuggestions &rotateSuggestions() const { return m_rotateSuggestions; }
    bool showingRotateConfirm() const { return m_showingRotateConfirm; }
    std::optional<ToolProgress> bestShotProgress() const { return m_bestShotProgress; }
    const BestShotGroups &bestShotGroups() const { return m_bestShotGroups; }
    bool showingBestShotConfirm() const { return m_showingBestShotConfirm; }
    std::optional<InfoAlert> infoAlert() const { return m_infoAlert; }

    /// The photos followed by the videos: what the viewer pages through and
    /// Select All selects.
    MediaItems allItems() const { return m_photos + m_videos; }

Q_SIGNALS:
    void folderURLChanged();
    void sourceFolderPathChanged();
    void photosChanged();
    void videosChanged();
    void screenChanged();
    void settingsReturnChanged();
    void showingSendConfirmChanged();
    void validationOutcomeChanged();
    void preparingStartedAtChanged();
    void preparingFinaleChanged();
    void viewerIndexChanged();
    void rotationsChanged();
    void excludedIDsChanged();
    void selectModeChanged();
    void selectedIDsChanged();
    void showingExcludeConfirmChanged();
    void showingIncludeConfirmChanged();
    void autoRotateProgressChanged();
    void rotateSuggestionsChanged();
    void showingRotateConfirmChanged();
    void bestShotProgressChanged();
    void bestShotGroupsChanged();
    void showingBestShotConfirmChanged();
    void infoAlertChanged();

protected:
    friend class ImportSession;
    friend class ToolFlows;

    void setFolderURL(std::optional<QUrl> value) { assign(m_folderURL, std::move(value), &SessionState::folderURLChanged); }
    void setSourceFolderPath(QString value) { assign(m_sourceFolderPath, std::move(value), &SessionState::sourceFolderPathChanged); }
    void setPhotos(MediaItems value) { assign(m_photos, std::move(value), &SessionState::photosChanged); }
    void setVideos(MediaItems value) { assign(m_videos, std::move(value), &SessionState::videosChanged); }
    void setScreen(Screen value) { assign(m_screen, value, &SessionState::screenChanged); }
    void setSettingsReturn(Screen value) { assign(m_settingsReturn, value, &SessionState::settingsReturnChanged); }
    void assignShowingSendConfirm(bool value) { assign(m_showingSendConfirm, value, &SessionState::showingSendConfirmChanged); }
    void setValidationOutcome(std::optional<ValidationOutcome> value) { assign(m_validationOutcome, std::move(value), &SessionState::validationOutcomeChanged); }
    void setPreparingStartedAt(QDateTime value, std::chrono::nanoseconds clock)
    {
        m_preparingStartedClock = clock;
        assign(m_preparingStartedAt, std::move(value), &SessionState::preparingStartedAtChanged);
    }
    void setPreparingFinale(bool value) { assign(m_preparingFinale, value, &SessionState::preparingFinaleChanged); }
    void setViewerIndex(std::optional<int> value) { assign(m_viewerIndex, value, &SessionState::viewerIndexChanged); }
    void setRotations(Rotations value) { assign(m_rotations, std::move(value), &SessionState::rotationsChanged); }
    void setExcludedIDs(IDSet value) { assign(m_excludedIDs, std::move(value), &SessionState::excludedIDsChanged); }
    void setSelectMode(bool value) { assign(m_selectMode, value, &SessionState::selectModeChanged); }
    void setSelectedIDs(IDSet value) { assign(m_selectedIDs, std::move(value), &SessionState::selectedIDsChanged); }
    void assignShowingExcludeConfirm(bool value) { assign(m_showingExcludeConfirm, value, &SessionState::showingExcludeConfirmChanged); }
    void assignShowingIncludeConfirm(bool value) { assign(m_showingIncludeConfirm, value, &SessionState::showingIncludeConfirmChanged); }
    void setAutoRotateProgress(std::optional<ToolProgress> value) { assign(m_autoRotateProgress, value, &SessionState::autoRotateProgressChanged); }
    void setRotateSuggestions(RotateSuggestions value) { assign(m_rotateSuggestions, std::move(value), &SessionState::rotateSuggestionsChanged); }
    void setShowingRotateConfirm(bool value) { assign(m_showingRotateConfirm, value, &SessionState::showingRotateConfirmChanged); }
    void setBestShotProgress(std::optional<ToolProgress> value) { assign(m_bestShotProgress, value, &SessionState::bestShotProgressChanged); }
    void setBestShotGroups(BestShotGroups value) { assign(m_bestShotGroups, std::move(value), &SessionState::bestShotGroupsChanged); }
    void setShowingBestShotConfirm(bool value) { assign(m_showingBestShotConfirm, value, &SessionState::showingBestShotConfirmChanged); }
    void setInfoAlert(std::optional<InfoAlert> value) { assign(m_infoAlert, value, &SessionState::infoAlertChanged); }

    /// Leaves select mode and empties the selection in one step, as every way
    /// out of select mode must.
    void endSelectMode()
    {
        setSelectMode(false);
        setSelectedIDs({});
    }

    /// Closes the viewer and every confirmation, dropping what the tool
    /// confirmations held: all of them speak of the items of a session that is
    /// being left.
    void closeOverlays()
    {
        setViewerIndex(std::nullopt);
        assignShowingSendConfirm(false);
        assignShowingExcludeConfirm(false);
        assignShowingIncludeConfirm(false);
        setShowingRotateConfirm(false);
        setRotateSuggestions({});
        setShowingBestShotConfirm(false);
        if (!m_bestShotGroups.isEmpty())
            setBestShotGroups({});
    }

private:
    template <typename T>
    void assign(T &field, T value, void (SessionState::*changed)())
    {
        // Values without a comparison (groups, outcomes) are announced on every write.
        if constexpr (std::equality_comparable<T>) {
            if (field == value)
                return;
        }
        field = std::move(value);
        Q_EMIT(this->*changed)();
    }

    std::optional<QUrl> m_folderURL;
    QString m_sourceFolderPath;
    MediaItems m_photos;
    MediaItems m_videos;
    Screen m_screen = Screen::welcome;
    Screen m_settingsReturn = Screen::grid;
    bool m_showingSendConfirm = false;
    std::optional<ValidationOutcome> m_validationOutcome;
    QDateTime m_preparingStartedAt;
    std::chrono::nanoseconds m_preparingStartedClock{};
    bool m_preparingFinale = false;
    std::optional<int> m_viewerIndex;
    Rotations m_rotations;
    IDSet m_excludedIDs;
    bool m_selectMode = false;
    IDSet m_selectedIDs;
    bool m_showingExcludeConfirm = false;
    bool m_showingIncludeConfirm = false;
    std::optional<ToolProgress> m_autoRotateProgress;
    RotateSuggestions m_rotateSuggestions;
    bool m_showingRotateConfirm = false;
    std::optional<ToolProgress> m_bestShotProgress;
    BestShotGroups m_bestShotGroups;
    bool m_showingBestShotConfirm = false;
    std::optional<InfoAlert> m_infoAlert;
};

} // namespace pomelark
