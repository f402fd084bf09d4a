#pragma once

#include "app/SessionState.h"
#include "services/BoundedAnalysis.h"
#include "services/ExportSettings.h"
#include "services/MediaItem.h"

#include <QPointer>

#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

namespace pomelark {

class ContentView;

/// The flows that change the session's item sets on the grid: the sideways-photo
/// and similar-shots jobs with the application of their results, exclude and
/// include of the selection, and the send. Works on its view's state; the view
/// forwards its operations of the same names here.
class ToolFlows {
public:
    explicit ToolFlows(ContentView &view) : m_view(view) {}

    void autoRotateTapped();
    QCoro::Task<void> runAutoRotate();
    void applyRotations();
    void cancelRotate();

    void bestShotTapped();
    QCoro::Task<void> runBestShot();
    void applyBestShot();
    void cancelBestShot();

    void applyExclude();
    void applyInclude();

    void confirmSend();
    void startSend();
    QCoro::Task<void> runSend(MediaItems items, ExportSettings settings);

    /// `current` turned a further `degrees` clockwise, in 0…359.
    static int turned(int current, int degrees);

private:
    /// Runs a tool's job over the session's photos with its progress pair kept
    /// current and cleared at the end. None when the controller went away or a
    /// new session (or going home) overtook the job.
    template <typename Result>
    static QCoro::Task<std::optional<Result>> runJob(
        QPointer<ContentView> view, const std::function<QCoro::Task<Result>(MediaItems, AnalysisProgress)> &job,
        void (SessionState::*setProgress)(std::optional<SessionState::ToolProgress>));

    ContentView &m_view;
    bool m_sending = false;
};

} // namespace pomelark
