#include "app/FolderPanel.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace pomelark {

namespace {

// Qt's Korean catalogue lacks these texts of its own file list (the type of a
// folder, of the root); ours carries them.
struct QtText {
    const char *source;
    const char *disambiguation;
};
[[maybe_unused]] constexpr QtText qtTextsWeCarry[] = {
    QT_TRANSLATE_NOOP3("QAbstractFileIconProvider", "Folder", "All other platforms"),
    {QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "Drive"), nullptr},
};

/// Qt's file list writes its dates in the system's locale whatever the
/// application's default; this writes them in the default, the display
/// language's.
class DatesInDefaultLocale : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        constexpr int modifiedColumn = 3;
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || index.column() != modifiedColumn || !files)
            return QIdentityProxyModel::data(index, role);
        const QDateTime modified = files->lastModified(mapToSource(index));
        return modified.isValid() ? QLocale().toString(modified, QLocale::ShortFormat) : QString();
    }
};

} // namespace

std::unique_ptr<QFileDialog> makeFolderChooser(QWidget *parent, const QString &message, const QString &prompt)
{
    auto dialog = std::make_unique<QFileDialog>(parent, message);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setLabelText(QFileDialog::Accept, prompt);
    dialog->setProxyModel(new DatesInDefaultLocale(dialog.get()));
    return dialog;
}

std::optional<QUrl> chooseFolderInPanel(QWidget *parent, const FolderPanelRequest &request)
{
    const std::unique_ptr<QFileDialog> dialog = makeFolderChooser(parent, request.message, request.prompt);
    if (request.directory)
        dialog->setDirectoryUrl(*request.directory);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedUrls().isEmpty())
        return std::nullopt;
    return dialog->selectedUrls().constFirst();
}

} // namespace pomelark
