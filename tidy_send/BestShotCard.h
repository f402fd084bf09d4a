#pragma once

#include "browsing/CoverPicture.h"
#include "look/AnimatedValue.h"
#include "look/ShadowUnderlay.h"
#include "look/SpinnerSpokes.h"

#include <QImage>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

namespace pomelark {

class KeepCheck;

/// The 104 px square card of one photo in a group of similar shots: the photo's
/// thumbnail turned by the session's rotation and cropped to fill the square,
/// dimmed to half while the photo is left out, a lavender border while it is
/// kept, the "Best" capsule on the proposed best shot and a keep check in the
/// top-left corner. The shadow deepens under the pointer. A click on the check
/// calls `onToggleKeep`; a click anywhere else on the card calls `onOpen`. The
/// card changes nothing itself: its owner hands new flags back through the
/// setters, and the look eases to them over 0.15 s.
///
/// The thumbnail comes from the process-wide thumbnail cache once the card is
/// first shown. A photo that cannot be decoded leaves the card on its soft
/// placeholder with a spinner; nothing is retried until the URL changes.
class BestShotCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int side = 104;
    /// Room around the square for the outer half of the border: the widget is
    /// this much larger on every side, and owners lay cards out accordingly.
    static constexpr int bleed = 2;
    static constexpr qreal changeSeconds = 0.15;

    BestShotCard(QUrl url, int rotationDegrees, bool kept, bool isBest, std::function<void()> onToggleKeep,
                 std::function<void()> onOpen, QWidget *parent = nullptr,
                 FrameTicker &ticker = FrameTicker::shared());

    /// A new URL loads its thumbnail (once the card is shown); results of the
    /// previous URL that arrive later are dropped.
    void setUrl(const QUrl &url);
    void setRotationDegrees(int degrees);
    void setKept(bool kept);
    void setBest(bool isBest);

    QUrl url() const { return m_url; }
    int rotationDegrees() const { return m_rotationDegrees; }
    bool isKept() const { return m_kept; }
    bool isBest() const { return m_isBest; }
    bool isHover() const { return m_isHover; }
    /// The decoded thumbnail, once a load has delivered one.
    const std::optional<QImage> &image() const { return m_image; }
    KeepCheck *keepCheck() const { return m_check; }
    /// Whether the placeholder shows the spinner (no picture is in); it turns only while the card is shown.
    bool showsSpinner() const { return !m_image; }
    const SpinnerSpokes &spinner() const { return m_spinner; }

    /// The 104 px square in the card's own coordinates.
    QRectF square() const;
    /// What is drawn right now, easing with the kept and hover changes.
    qreal pictureOpacity() const;
    qreal borderWidth() const;
    QColor borderColor() const;
    qreal bestOpacity() const;
    Shadow shadow() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    static QCoro::Task<void> loadThumbnail(QPointer<BestShotCard> card, QUrl url, quint64 generation);
    void startLoad();
    void repaintAll();
    /// The placeholder's spinner turns until a picture is in (and stays when it never decodes).
    void runSpinner(bool shown);
    QRectF spinnerFrame() const;

    QUrl m_url;
    int m_rotationDegrees;
    bool m_kept;
    bool m_isBest;
    std::function<void()> m_onOpen;
    std::optional<QImage> m_image;
    CoverPicture m_picture; ///< m_image as drawn, scaled once
    bool m_isHover = false;
    bool m_pressed = false;
    bool m_loadStarted = false;
    quint64 m_loadGeneration = 0;
    AnimatedValue m_keptProgress;
    AnimatedValue m_hoverProgress;
    // Painted with the picture rather than as a child widget, so it dims with it.
    SpinnerSpokes m_spinner;
    KeepCheck *m_check = nullptr;
    QPointer<ShadowUnderlay> m_shadow;
    bool m_castLargest = false;
};

} // namespace pomelark
