#pragma once

#include "look/Binding.h"
#include "look/ItemOverlayBackdrop.h"
#include "services/BestShotGroup.h"

#include <QHash>
#include <QUrl>
#include <QUuid>

#include <functional>

class QLabel;

namespace pomelark {

class BestTag;
class ExcludedBadge;
class FullsizeImageView;
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
class BestShotLookView : public ItemOverlayBackdrop {
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

    QString titleText() const;
    bool showsBestTag() const;
    bool showsExcludedBadge() const;
    LookRoundBtn *previousButton() const { return m_previous; }
    LookRoundBtn *nextButton() const { return m_next; }
    LookRoundBtn *closeButton() const { return m_close; }
    KeepCheck *keepCheck() const { return m_check; }
    FullsizeImageView *photoView() const { return m_photo; }

    /// Names of the hidden key shortcuts (see `shortcuts()`).
    static inline const QString previousShortcut = QStringLiteral("Prev");
    static inline const QString nextShortcut = QStringLiteral("Next");
    static inline const QString closeShortcut = QStringLiteral("Close");
    static inline const QString toggleKeepShortcut = QStringLiteral("ToggleKeep");

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeKeepCheck();

    Inputs m_inputs;
    QLabel *m_title = nullptr;
    BestTag *m_bestTag = nullptr;
    ExcludedBadge *m_badge = nullptr;
    LookRoundBtn *m_close = nullptr;
    LookRoundBtn *m_previous = nullptr;
    LookRoundBtn *m_next = nullptr;
    QWidget *m_photoArea = nullptr;
    FullsizeImageView *m_photo = nullptr;
    KeepCheck *m_check = nullptr;
};

} // namespace pomelark
