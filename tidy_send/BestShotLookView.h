#pragma once

#include "look/Binding.h"
#include "look/OverlayLayer.h"
#include "services/BestShotGroup.h"

#include <QHash>
#include <QUrl>
#include <QUuid>

#include <functional>

class QLabel;
class QPushButton;

namespace pomelark {

class BestTag;
class ExcludedBadge;
class KeepCheck;
class LookRoundBtn;

/// The enlarged look at one group of similar photos, over the similar-shots
/// confirmation: a dark backdrop, the current photo large (zoomable, turned by
/// its rotation) with its keep check, the file name and position, the "Best"
/// tag and the excluded badge, round previous, next and close buttons. Left and
/// right arrows move within the group (no wrap-around), Escape closes, the space
/// bar flips the photo's keep flag. It writes only the keep flags of `group` and
/// the position `pos`; a click on the backdrop, the close button and Escape call
/// `onClose`. Once it leaves, nothing it shows reacts any more.
class BestShotLookView : public OverlayLayer {
    Q_OBJECT
public:
    struct Inputs {
        Binding<BestShotGroup> group;  ///< the view writes only `keep`
        QHash<QUuid, int> rotations;   ///< clockwise degrees per item id; none means 0
        Binding<int> pos;              ///< index into the group's items of the photo shown
        std::function<void()> onClose;
    };

    explicit BestShotLookView(Inputs inputs, QWidget *parent = nullptr, Animation fade = Animation::easeOut(0.25),
                              FrameTicker &ticker = FrameTicker::shared());

    /// Re-reads the group and the position.
    void refresh();
    void setRotations(const QHash<QUuid, int> &rotations);

    /// One photo back; nothing at the first.
    void showPrevious();
    /// One photo on; nothing at the last.
    void showNext();
    /// Flips the keep flag of the photo shown.
    void toggleKeep();

    /// The backdrop's colour (1C1814 at 0.94).
    static QColor backdropColor();

    QString titleText() const;
    bool showsBestTag() const;
    bool showsExcludedBadge() const;
    LookRoundBtn *previousButton() const { return m_previous; }
    LookRoundBtn *nextButton() const { return m_next; }
    LookRoundBtn *closeButton() const { return m_close; }
    KeepCheck *keepCheck() const { return m_check; }
    QWidget *photoView() const { return m_photo; }
    /// The hidden button bound to `key` (left, right, Escape, space), or null.
    QPushButton *shortcutButton(Qt::Key key) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildShortcuts();
    void showPhoto(const QUrl &url, int rotationDegrees);
    void placeKeepCheck();
    bool isBackdropAt(QPoint point) const;
    void close();

    Inputs m_inputs;
    QWidget *m_titleGroup = nullptr;
    QLabel *m_title = nullptr;
    BestTag *m_bestTag = nullptr;
    ExcludedBadge *m_badge = nullptr;
    LookRoundBtn *m_close = nullptr;
    LookRoundBtn *m_previous = nullptr;
    LookRoundBtn *m_next = nullptr;
    QWidget *m_photoArea = nullptr;
    QWidget *m_photo = nullptr;
    KeepCheck *m_check = nullptr;
    QHash<int, QPushButton *> m_shortcuts;
    QUrl m_shownURL;
    int m_shownRotation = 0;
    bool m_pressedOnBackdrop = false;
};

} // namespace pomelark
