#pragma once

#include "app/SessionServices.h"

class QWidget;

namespace pomelark {

/// The folder chooser of an import session: a folder-only file dialog with the
/// request's message and confirm title, starting where the request says.
/// Returns the chosen folder, or nothing when the user cancels.
std::optional<QUrl> chooseFolderInPanel(QWidget *parent, const FolderPanelRequest &request);

} // namespace pomelark
