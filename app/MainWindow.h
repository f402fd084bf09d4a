#pragma once

#include <QMainWindow>
#include <QPointer>

class QAction;
class QMenu;

namespace pomelark {

/// The one window of the app, always in the light look whatever the desktop's
/// colour scheme. Its menu bar holds a Help menu whose first item shows the
/// about box; further application commands follow it there.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    /// Shows `content` as the whole window below the menu bar, taking it as a
    /// child; the content shown before is deleted. `nullptr` leaves the window empty.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

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
    QMenu *m_helpMenu;
    QAction *m_aboutAction;
};

} // namespace pomelark
