#pragma once

#include "platform/Updater.h"

class QMessageBox;
class QWidget;

namespace pomelark {

/// Tells the user what an update check found. For a newer release it offers
/// to open the release page in the browser; installing is the package manager's.
class UpdatePrompt {
public:
    /// Opens (without blocking) a message box over `parent` for `result` and
    /// returns it; it deletes itself when closed. Nothing is shown for a check
    /// that could not start (`notPossible`), and none is returned.
    static QMessageBox *show(const Updater::CheckResult &result, const QVersionNumber &running, QWidget *parent);
};

} // namespace pomelark
