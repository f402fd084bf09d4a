#pragma once

#include "look/FrameTicker.h"

#include <QWidget>

#include <functional>
#include <optional>

class QGraphicsOpacityEffect;

namespace pomelark {

class ActivitySpinner;

/// Where the video panel stands: no playable file could be had, nothing under
/// way yet, a playable file being made, or a player showing its picture.
enum class VideoPanelPhase { failed, idle, preparing, playing };

/// Everything the video panel draws over its picture, and the clicks on it: the
/// play badge with the file name (or a spinner with "Preparing..."), the failure
/// box, the length badge, and the control bar with its play/pause button,
/// scrubber and time label. It covers the panel exactly and takes every click
/// inside it; it decides nothing itself.
class VideoPanelChrome : public QWidget {
    Q_OBJECT
public:
    struct State {
        VideoPanelPhase phase = VideoPanelPhase::idle;
        QString fileName;
        QString failureMessage;
        std::optional<QString> durationText; ///< the length, once known
        bool isPlaying = false;
        double progress = 0;
        QString timeText;
        bool hasSurface = false; ///< a player's picture lies under the chrome
        /// How far the change to playing has come (0…1): the badge fades out and
        /// the bar fades in.
        double playingFade = 1;
    };

    struct Actions {
        std::function<void()> onToggle;                          ///< play/pause button
        std::function<void()> onSurfaceTap;                      ///< a click on the picture
        std::function<void(double x, double width)> onScrub;     ///< drag on the scrubber
        std::function<void()> onEndScrub;
    };

    VideoPanelChrome(Actions actions, QWidget *parent, FrameTicker &ticker = FrameTicker::shared());

    void setState(const State &state);
    const State &state() const { return m_state; }

    /// Where the control bar's parts lie (empty while the bar is not shown).
    QRectF barRect() const;
    QRectF playButtonRect() const;
    QRectF scrubberRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Press { none, button, scrubber, bar, surface };

    QRectF timeLabelRect() const;
    void paintCentre(QPainter &painter, bool preparing) const;
    void paintFailure(QPainter &painter) const;
    void paintDurationBadge(QPainter &painter) const;
    void paintBar(QPainter &painter) const;
    QRectF badgeCircle() const;
    void placeSpinner();

    Actions m_actions;
    State m_state;
    ActivitySpinner *m_spinner = nullptr;
    QGraphicsOpacityEffect *m_spinnerFade = nullptr;
    Press m_press = Press::none;
};

} // namespace pomelark
