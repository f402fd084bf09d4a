#include "app/FolderPanel.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

#include <algorithm>

namespace pomelark {

namespace {

constexpr int nameColumn = 0;
constexpr int modifiedColumn = 3;

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
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || index.column() != modifiedColumn || !files)
            return QIdentityProxyModel::data(index, role);
        const QDateTime modified = files->lastModified(mapToSource(index));
        return modified.isValid() ? QLocale().toString(modified, QLocale::ShortFormat) : QString();
    }
};

/// Qt sizes the date column for a short US date ("10/29/81 02:02PM"), which
/// cuts Korean dates, and US ones with two-digit months or hours. This widens
/// it to the dates listed (never narrowing it), then takes what the list lacks
/// from the name column, which Qt sizes for 26 wide letters, so the dates stay
/// in view without sideways scrolling and the dialog keeps its width. It fits
/// again whenever the list's room changes: a scroll bar that comes with a long
/// folder takes some.
class DateColumnFit : public QObject {
public:
    explicit DateColumnFit(QTreeView &list) : QObject(&list), m_list(list) { list.viewport()->installEventFilter(this); }

    void fit()
    {
        QHeaderView *header = m_list.header();
        // QTreeView's override is protected; through the base class it is public.
        const int listed = static_cast<const QAbstractItemView &>(m_list).sizeHintForColumn(modifiedColumn);
        header->resizeSection(modifiedColumn, std::max({listed, header->sectionSizeHint(modifiedColumn),
                                                        header->sectionSize(modifiedColumn)}));
        const int overflow = header->length() - m_list.viewport()->width();
        const int spareName =
            header->sectionSize(nameColumn) - m_list.fontMetrics().horizontalAdvance(QString(12, u'w'));
        if (overflow > 0 && spareName > 0)
            header->resizeSection(nameColumn, header->sectionSize(nameColumn) - std::min(overflow, spareName));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            fit();
        return QObject::eventFilter(watched, event);
    }

private:
    QTreeView &m_list;
};

} // namespace

std::unique_ptr<QFileDialog> makeFolderChooser(QWidget *parent, const QString &message, const QString &prompt)
{
    auto dialog = std::make_unique<QFileDialog>(parent, message);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setLabelText(QFileDialog::Accept, prompt);
    auto *dates = new DatesInDefaultLocale(dialog.get());
    dialog->setProxyModel(dates);
    // The dates' widths are known once a folder is listed, each time one is.
    auto *list = dialog->findChild<QTreeView *>();
    if (const auto *files = qobject_cast<const QFileSystemModel *>(dates->sourceModel()); files && list)
        QObject::connect(files, &QFileSystemModel::directoryLoaded, new DateColumnFit(*list), &DateColumnFit::fit);
    // Qt sizes the dialog to its texts, in English wider than our smallest
    // window; it would hang past the window's edges.
    if (parent)
        dialog->resize(std::min(dialog->width(), parent->window()->width()), dialog->height());
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
