#pragma once

#include "look/FrameTicker.h"

#include <QPointer>
#include <QWidget>

class QMessageBox;

namespace pomelark {

class BestShotConfirmView;
class ContentView;
class ExcludeConfirmView;
class IncludeConfirmView;
class OverlayLayer;
class RotateConfirmView;
class SendConfirmView;
class ToolProgressOverlay;
class ViewerView;

/// The window's content: the screen of the session's current step and, above
/// it, the overlays in their stacking order (send confirmation, the sideways
/// scan's progress and its confirmation, the similar-photo search's progress and
/// its confirmation, exclude, include, the viewer, and the card-missing screen
/// on top). Everything it shows is built from the session controller's state;
/// every action goes back to the controller. It keeps nothing of its own.
class MainView : public QWidget {
    Q_OBJECT
public:
    /// `controller` must outlive the view.
    explicit MainView(ContentView *controller, QWidget *parent = nullptr,
                      FrameTicker &ticker = FrameTicker::shared());
    ~MainView() override;

    ContentView *controller() const;

    /// The screen widget shown now (none for a screen that draws nothing).
    QWidget *screenWidget() const;

    // The overlays while they exist, for tests.
    SendConfirmView *sendConfirm() const;
    ToolProgressOverlay *autoRotateProgress() const;
    RotateConfirmView *rotateConfirm() const;
    ToolProgressOverlay *bestShotProgress() const;
    BestShotConfirmView *bestShotConfirm() const;
    ExcludeConfirmView *excludeConfirm() const;
    IncludeConfirmView *includeConfirm() const;
    ViewerView *viewer() const;
    OverlayLayer *cardMissing() const;
    QMessageBox *infoAlert() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showScreen();
    QWidget *makeScreen();
    QWidget *makeDoneScreen();

    void followSendConfirm();
    void followToolProgress();
    void followRotateConfirm();
    void followBestShotConfirm();
    void followSelectionConfirms();
    void followViewer();
    void followCardMissing();
    void followInfoAlert();
    void restack();

    ContentView *m_view;
    FrameTicker &m_ticker;
    QPointer<QWidget> m_screen;
    QPointer<SendConfirmView> m_sendConfirm;
    QPointer<ToolProgressOverlay> m_autoRotateProgress;
    QPointer<RotateConfirmView> m_rotateConfirm;
    QPointer<ToolProgressOverlay> m_bestShotProgress;
    QPointer<BestShotConfirmView> m_bestShotConfirm;
    QPointer<ExcludeConfirmView> m_excludeConfirm;
    QPointer<IncludeConfirmView> m_includeConfirm;
    QPointer<ViewerView> m_viewer;
    QPointer<OverlayLayer> m_cardMissing;
    QPointer<QMessageBox> m_infoAlert;
};

} // namespace pomelark
