#pragma once

#include <QMainWindow>
#include <QPointer>

class QAction;
class QMenu;

namespace pomelark {

/// The one window of the app, always in the light look whatever the desktop's
/// colour scheme. Its menu bar holds a File menu with Quit (Ctrl+Q) and a Help
/// menu whose first item shows the about box; further application commands
/// follow it there.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    /// Shows `content` as the whole window below the menu bar, taking it as a
    /// child; the content shown before is deleted. `nullptr` leaves the window empty.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    /// "Quit" (Ctrl+Q): closes the app's windows as their close buttons do, after
    /// which the last one closed ends the app through its ordinary quit.
    QAction *quitAction() const { return m_quitAction; }

    /// The Help menu: "About Pomelark", then the commands added after it.
    QMenu *helpMenu() const { return m_helpMenu; }
    QAction *aboutAction() const { return m_aboutAction; }

    /// The least the content is given, below the menu bar.
    static constexpr QSize minimumContentSize{600, 500};

    /// The light palette every widget of the window inherits.
    static QPalette lightPalette();

private:
    void showAbout();

    QWidget *m_frame;
    QPointer<QWidget> m_content;
    QAction *m_quitAction;
    QMenu *m_helpMenu;
    QAction *m_aboutAction;
};

} // namespace pomelark
