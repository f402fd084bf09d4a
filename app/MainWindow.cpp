#include "app/MainWindow.h"

namespace pomelark {

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Pomelark"));
    setMinimumSize(minimumContentSize);
    resize(900, 640);
}

} // namespace pomelark
