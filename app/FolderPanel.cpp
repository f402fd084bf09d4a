#include "app/FolderPanel.h"

#include <QFileDialog>

namespace pomelark {

std::optional<QUrl> chooseFolderInPanel(QWidget *parent, const FolderPanelRequest &request)
{
    QFileDialog dialog(parent, request.message);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, request.prompt);
    if (request.directory)
        dialog.setDirectoryUrl(*request.directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty())
        return std::nullopt;
    return dialog.selectedUrls().constFirst();
}

} // namespace pomelark
