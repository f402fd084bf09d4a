#include "app/ValidationScreen.h"

#include "app/FailureList.h"
#include "app/FolderPanel.h"
#include "app/Paragraph.h"
#include "app/ScreenStyle.h"
#include "look/SymbolView.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "platform/FileManager.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

namespace pomelark {

namespace {

/// How many failed copies the report names before it sums up the rest.
constexpr int namedProblems = 8;

} // namespace

ValidationScreen::ValidationScreen(Inputs inputs, QWidget *parent) : QWidget(parent), m_inputs(std::move(inputs))
{
    ScreenStyle::fillBackground(this, Palette::background());
    auto *frame = ScreenStyle::paddedColumn(this);
    frame->setSpacing(24);
    frame->addStretch(1);
    auto *column = new QVBoxLayout;
    frame->addLayout(column);
    frame->addStretch(1);
    if (showsEmptyState())
        buildEmptyState(column);
    else
        buildResults(column);
}

ValidationScreen::~ValidationScreen() = default;

void ValidationScreen::buildResults(QVBoxLayout *column)
{
    const ValidationOutcome &outcome = m_inputs.phase.outcome();
    column->setSpacing(22);
    auto *summary = new QVBoxLayout;
    summary->setSpacing(6);
    summary->addWidget(ScreenStyle::text(tr("%1 scanned · %2 ready").arg(outcome.totalScanned).arg(outcome.valid.size()),
                                         LookFont::rounded(22, QFont::Medium), Palette::ink(), this));
    if (!outcome.failed.isEmpty()) {
        summary->addWidget(ScreenStyle::text(tr("%1 couldn't be imported").arg(outcome.failed.size()),
                                             LookFont::system(13), Palette::inkSecondary(), this));
    }
    column->addLayout(summary);
    addFailures(column);

    m_retry = new PomelarkButton(ButtonStyle::secondary(), tr("Choose another folder"), {}, [this] {
        if (m_inputs.onRetry)
            m_inputs.onRetry();
    }, this);
    m_proceed = new PomelarkButton(ButtonStyle::primary(), tr("Skip and start"), {}, [this] {
        if (m_inputs.onProceed)
            m_inputs.onProceed();
    }, this);
    auto *ways = new QHBoxLayout;
    ways->setSpacing(10);
    ways->addStretch(1);
    ways->addWidget(m_retry);
    ways->addWidget(m_proceed);
    ways->addStretch(1);
    column->addLayout(ways);
}

void ValidationScreen::buildEmptyState(QVBoxLayout *column)
{
    column->setSpacing(18);
    column->addWidget(new SymbolView({QStringLiteral("tray"), 36, SymbolWeight::Regular, Palette::inkTertiary()}, this), 0, Qt::AlignHCenter);
    column->addWidget(ScreenStyle::text(tr("No files to import"), LookFont::rounded(20, QFont::Medium), Palette::ink(),
                                        this));
    // Lines centred; wraps inside the column (a translation may be longer).
    column->addWidget(new Paragraph(tr("The SD card may be damaged, or the file format isn't supported."),
                                    LookFont::system(13), Palette::inkSecondary(), 0, columnMaxWidth, this),
                      0, Qt::AlignHCenter);
    addFailures(column);
    m_retry = new PomelarkButton(ButtonStyle::primary(), tr("Choose another folder"), {}, [this] {
        if (m_inputs.onRetry)
            m_inputs.onRetry();
    }, this);
    column->addWidget(m_retry, 0, Qt::AlignHCenter);
}

void ValidationScreen::addFailures(QVBoxLayout *column)
{
    const QList<ValidationFailure> &failed = m_inputs.phase.outcome().failed;
    if (failed.isEmpty())
        return;
    m_failureList = new FailureList(failed, [this](const ValidationFailure &failure) { revealInFolder(failure); },
                                    this);
    column->addWidget(m_failureList, 0, Qt::AlignHCenter);
    m_aside = new PomelarkButton(ButtonStyle::secondary(), tr("Set failed files aside"),
                                 QStringLiteral("tray.and.arrow.down"), [this] { setFailedFilesAside(); }, this);
    column->addWidget(m_aside, 0, Qt::AlignHCenter);
}

void ValidationScreen::reveal(const QList<QUrl> &items)
{
    if (m_inputs.reveal)
        m_inputs.reveal(items);
    else
        FileManager::showItems(items);
}

void ValidationScreen::revealInFolder(const ValidationFailure &failure)
{
    reveal({failure.sourceURL});
}

QString ValidationScreen::chooseFolderWithDialog(QWidget *parent)
{
    const std::unique_ptr<QFileDialog> dialog =
        makeFolderChooser(parent, tr("Choose a folder to keep the failed files"), tr("Keep here"));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

void ValidationScreen::setFailedFilesAside()
{
    if (m_copy)
        return;
    QPointer<ValidationScreen> alive(this);
    const QString folder = m_inputs.chooseFolder ? m_inputs.chooseFolder() : chooseFolderWithDialog(this);
    // The chooser may run its own event loop, long enough for the screen to go.
    if (!alive || folder.isEmpty())
        return;
    QList<QUrl> sources;
    for (const ValidationFailure &failure : m_inputs.phase.outcome().failed)
        sources.append(failure.sourceURL);
    if (m_aside)
        m_aside->setEnabled(false);
    // Owned by the screen: if it goes before the copy ends, the report is dropped.
    m_copy = new QFutureWatcher<AsideReport>(this);
    connect(m_copy, &QFutureWatcherBase::finished, this, &ValidationScreen::asideFinished);
    m_copy->setFuture(FailedFilesAside::start(std::move(sources), folder));
}

void ValidationScreen::asideFinished()
{
    const AsideReport report = m_copy->result();
    m_copy->deleteLater();
    m_copy = nullptr;
    if (m_aside)
        m_aside->setEnabled(true);

    reveal({QUrl::fromLocalFile(report.destination)});

    QString details = report.destination;
    if (!report.problems.isEmpty()) {
        details += QStringLiteral("\n\n") + tr("%n files couldn't be copied:", nullptr, int(report.problems.size()));
        for (qsizetype i = 0; i < report.problems.size() && i < namedProblems; ++i) {
            const AsideReport::Problem &problem = report.problems.at(i);
            details += QStringLiteral("\n") + problem.fileName + QStringLiteral(" — ") + problem.reason;
        }
        if (report.problems.size() > namedProblems)
            details += QStringLiteral("\n") + tr("…and %1 more").arg(report.problems.size() - namedProblems);
    }
    if (m_reportBox)
        m_reportBox->deleteLater();
    m_reportBox = new QMessageBox(this);
    m_reportBox->setAttribute(Qt::WA_DeleteOnClose);
    m_reportBox->setIcon(report.problems.isEmpty() ? QMessageBox::Information : QMessageBox::Warning);
    m_reportBox->setText(tr("Set %n files aside", nullptr, report.copied));
    m_reportBox->setInformativeText(details);
    m_reportBox->addButton(tr("OK"), QMessageBox::AcceptRole);
    m_reportBox->open();
    Q_EMIT failedFilesSetAside(report);
}

} // namespace pomelark
