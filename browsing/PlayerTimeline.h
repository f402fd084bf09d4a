#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace pomelark {

/// The video panel's own account of playback, without any player or display: where
/// the video stands, whether it runs, and what the scrubber and the time label show.
/// The panel feeds it the player's times and the user's actions and carries out
/// what it answers on the player.
///
/// The length comes from the poster's information; without it (none, or 0) the
/// scrubber does not seek, the end is not detected, and play never restarts from
/// the beginning.
class PlayerTimeline {
public:
    /// A time this close to the length counts as the end.
    static constexpr double endTolerance = 0.05;
    /// Play pressed this close to the end starts again from the beginning.
    static constexpr double restartWindow = 0.2;
    /// The panel's shape when no poster gives one.
    static constexpr double defaultAspectRatio = 1.6;

    double currentTime() const { return m_currentTime; }
    double progress() const { return m_progress; }
    bool isPlaying() const { return m_isPlaying; }
    bool isScrubbing() const { return m_isScrubbing; }
    std::optional<double> duration() const { return m_duration; }

    /// Back to the start: nothing known, nothing playing.
    void reset();
    /// The video's length in seconds as the poster information gives it, or none.
    void setDuration(std::optional<double> seconds) { m_duration = seconds; }

    /// The first frame is on screen and the player was told to play.
    void startedPlaying()
    {
        m_isPlaying = true;
        m_pictureShown = true;
    }

    /// How far the player may run into the video, sound and all, without
    /// showing a frame.
    static constexpr double pictureGrace = 2.0;
    /// Whether the player has run `pictureGrace` into the video with no first
    /// frame on screen: its sound is running ahead of a late picture.
    bool pictureOverdue() const { return !m_pictureShown && m_currentTime >= pictureGrace; }

    /// A periodic time from the player. Ignored while scrubbing; a time that is
    /// not finite counts as 0. Within `endTolerance` of the length playback counts
    /// as stopped.
    void handleTimeUpdate(double seconds);

    /// The player reached the end of the video (its own notice, for videos whose
    /// last time falls short of the stated length).
    void handleEnd();

    enum class Toggle { pause, play, restartAndPlay };
    /// The play/pause action: what to do on the player. Flips `isPlaying`.
    Toggle toggle();

    struct Seek {
        bool pauseFirst = false; ///< the drag just began while playing
        double seconds = 0;      ///< where to seek
    };
    /// One step of a scrubber drag at `x` on a scrubber `width` wide. None when
    /// there is no length or no width (nothing happens then).
    std::optional<Seek> scrub(double x, double width);
    /// The drag ended. Returns whether playback should resume.
    bool endScrub();

    /// "current / length", with "0:00" as the length when it is not known.
    QString timeText() const;

    /// The panel's width over height: the poster's when it has both sides, else 1.6.
    static double aspectRatio(const std::optional<QImage> &poster);

private:
    std::optional<double> knownDuration() const;

    std::optional<double> m_duration;
    double m_currentTime = 0;
    double m_progress = 0;
    bool m_isPlaying = false;
    bool m_pictureShown = false;
    bool m_isScrubbing = false;
    bool m_wasPlayingBeforeScrub = false;
};

} // namespace pomelark
