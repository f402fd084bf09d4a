#include "app/MainWindow.h"

#include "look/Palette.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QVBoxLayout>

namespace pomelark {

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_frame(new QWidget(this))
{
    setWindowTitle(QStringLiteral("Pomelark"));
    setPalette(lightPalette());

    // The minimum sits on the content's frame, so the menu bar never eats into it.
    m_frame->setMinimumSize(minimumContentSize);
    auto *layout = new QVBoxLayout(m_frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(m_frame);

    QMenu *fileMenu = menuBar()->addMenu(QCoreApplication::translate("MainWindow", "&File"));
    m_quitAction = fileMenu->addAction(QCoreApplication::translate("MainWindow", "&Quit"));
    // Spelled out: the standard Quit key is empty under some platform themes.
    m_quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_quitAction->setMenuRole(QAction::QuitRole);
    // The window's own close, so quitting cleans up exactly as closing it does.
    connect(m_quitAction, &QAction::triggered, qApp, &QApplication::closeAllWindows);

    m_helpMenu = menuBar()->addMenu(QCoreApplication::translate("MainWindow", "&Help"));
    m_aboutAction = m_helpMenu->addAction(QCoreApplication::translate("MainWindow", "About Pomelark"));
    m_aboutAction->setMenuRole(QAction::AboutRole);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::showAbout);

    resize(900, 640);
}

void MainWindow::setContent(QWidget *content)
{
    if (content == m_content)
        return;
    delete m_content.data();
    m_content = content;
    if (content)
        m_frame->layout()->addWidget(content);
}

QPalette MainWindow::lightPalette()
{
    QPalette light;
    light.setColor(QPalette::Window, Palette::background());
    light.setColor(QPalette::WindowText, Palette::ink());
    light.setColor(QPalette::Base, Palette::surface());
    light.setColor(QPalette::AlternateBase, Palette::background());
    light.setColor(QPalette::Text, Palette::ink());
    light.setColor(QPalette::PlaceholderText, Palette::inkTertiary());
    light.setColor(QPalette::Button, Palette::surface());
    light.setColor(QPalette::ButtonText, Palette::ink());
    light.setColor(QPalette::BrightText, Qt::white);
    light.setColor(QPalette::ToolTipBase, Palette::surface());
    light.setColor(QPalette::ToolTipText, Palette::ink());
    light.setColor(QPalette::Highlight, Palette::accent());
    light.setColor(QPalette::HighlightedText, Qt::white);
    light.setColor(QPalette::Link, Palette::accentDeep());
    light.setColor(QPalette::Light, Qt::white);
    light.setColor(QPalette::Midlight, Palette::background());
    light.setColor(QPalette::Mid, Palette::divider());
    light.setColor(QPalette::Dark, Palette::inkTertiary());
    light.setColor(QPalette::Shadow, Palette::inkSecondary());
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        light.setColor(QPalette::Disabled, role, Palette::inkTertiary());
    return light;
}

void MainWindow::showAbout()
{
    QMessageBox::about(this, QCoreApplication::translate("MainWindow", "About Pomelark"),
                       QCoreApplication::translate("MainWindow", "Pomelark %1")
                               .arg(QCoreApplication::applicationVersion())
                           + QStringLiteral("\n")
                           + QCoreApplication::translate(
                               "MainWindow", "Tidies the photos and videos from a camera card or a folder and "
                                             "sends them to your Photos folder."));
}

} // namespace pomelark
