#pragma once

#include "app/SessionServices.h"

#include <memory>

class QFileDialog;
class QWidget;

namespace pomelark {

/// A folder-only file dialog titled `message` whose confirm button says
/// `prompt`, not yet shown. It speaks the display language throughout, its
/// dates included, shows those dates whole once a folder is listed, and is no
/// wider than the window of `parent`.
std::unique_ptr<QFileDialog> makeFolderChooser(QWidget *parent, const QString &message, const QString &prompt);

/// The folder chooser of an import session: a folder-only file dialog with the
/// request's message and confirm title, starting where the request says.
/// Returns the chosen folder, or nothing when the user cancels.
std::optional<QUrl> chooseFolderInPanel(QWidget *parent, const FolderPanelRequest &request);

} // namespace pomelark
