#pragma once

#include <QMainWindow>

namespace pomelark {

/// The one window of the app. Its content comes with the main view.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    static constexpr QSize minimumContentSize{600, 500};
};

} // namespace pomelark
