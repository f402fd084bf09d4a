#pragma once

#include "browsing/CoverPicture.h"
#include "look/AnimatedValue.h"
#include "look/Binding.h"
#include "look/SpinnerSpokes.h"
#include "services/ThumbnailMemoryCache.h"
#include "tidy_send/RotateSuggestion.h"

#include <QImage>
#include <QWidget>

#include <optional>

namespace pomelark {

class AnswerChip;

/// One sideways photo of the rotation confirmation: the photo small as it is, an
/// arrow, the photo large as it will be, and the chips "Rotate" and "Leave as
/// is". Once its thumbnail has loaded the large picture stands up, after a delay
/// that grows with the card's place in the list; it turns only while the
/// suggestion is accepted. A declined card fades its pictures and loses its mint
/// outline. The card changes nothing but the suggestion's `accepted`, through
/// its binding.
class ConfirmCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int beforeSide = 64;
    static constexpr int afterSide = 132;
    static constexpr int rowSpacing = 10;
    static constexpr int arrowSize = 13;
    /// Room around the pictures for the outline, which straddles the large one's edge.
    static constexpr int outlineRoom = 2;
    static constexpr double turnSeconds = 0.55;
    static constexpr double fadeSeconds = 0.25;
    static constexpr qreal declinedOpacity = 0.45;

    /// The thumbnail comes from `thumbnails` (the shared cache unless a test hands in its own).
    ConfirmCard(Binding<RotateSuggestion> suggestion, int appearIndex, QWidget *parent = nullptr,
                FrameTicker &ticker = FrameTicker::shared(),
                ThumbnailMemoryCache &thumbnails = ThumbnailMemoryCache::shared());
    ~ConfirmCard() override;

    /// Re-reads the suggestion: follows its `accepted` flag (animated) and loads
    /// the thumbnail anew when the photo changed. A suggestion that is no longer
    /// in the list is ignored.
    void refresh();

    /// Writes `accepted` through the binding.
    void setAccepted(bool accepted);

    /// How the large picture is meant to stand: the suggestion's degrees once the
    /// card has stood up and while it is accepted, else 0.
    qreal displayedAngle() const;
    /// The angle the large picture is drawn at right now (moving toward displayedAngle).
    qreal drawnAngle() const { return m_angle.value(); }
    /// The pictures' opacity right now: 1 accepted, 0.45 declined.
    qreal pictureOpacity() const;
    /// The large picture's outline right now: mint accepted, the hairline colour declined.
    QColor outlineColor() const;

    bool isStood() const { return m_stood; }
    bool hasImage() const { return m_image.has_value(); }
    /// Whether both sides show the spinner (the thumbnail is not in); it turns only while the card is shown.
    bool showsSpinners() const { return !m_image; }
    const SpinnerSpokes &spinner() const { return m_spinner; }
    const RotateSuggestion &suggestion() const { return m_shown; }
    int appearIndex() const { return m_appearIndex; }
    AnswerChip *rotateChip() const { return m_rotate; }
    AnswerChip *leaveChip() const { return m_leave; }

    /// Where the large picture lies in the card.
    QRectF afterFrame() const;
    QRectF beforeFrame() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void loadThumbnail();
    void deliver(std::optional<QImage> image, quint64 generation);
    /// The placeholders' spinners turn until the thumbnail is in (and stay when it never decodes).
    void runSpinners(bool shown);
    void paintThumb(QPainter &painter, CoverPicture &picture, const QRectF &frame, qreal angle, qreal radius) const;

    Binding<RotateSuggestion> m_binding;
    RotateSuggestion m_shown;
    int m_appearIndex;
    ThumbnailMemoryCache &m_thumbnails;
    std::optional<QImage> m_image;
    // m_image as drawn small and large, each scaled once.
    CoverPicture m_beforePicture;
    CoverPicture m_afterPicture;
    bool m_stood = false;
    bool m_loadStarted = false;
    quint64 m_generation = 0;
    AnimatedValue m_angle;
    AnimatedValue m_accept;
    // Painted with the pictures rather than as child widgets, so they fade with them.
    SpinnerSpokes m_spinner;
    AnswerChip *m_rotate = nullptr;
    AnswerChip *m_leave = nullptr;
};

} // namespace pomelark
