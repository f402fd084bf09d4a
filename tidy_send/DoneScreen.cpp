#include "tidy_send/DoneScreen.h"

#include "look/Color.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "tidy_send/LibraryFolderNames.h"
#include "tidy_send/RoundedBox.h"
#include "tidy_send/ScreenText.h"
#include "look/SymbolView.h"
#include "look/WrappedText.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace pomelark {

namespace {

constexpr int cardMaxWidth = 440;

const QColor &checkGreen()
{
    static const QColor color = colorFromHex(u"3F7D5C");
    return color;
}

/// A circle of 88 px with a symbol in it: the screen's big icon.
SymbolView *bigIcon(const QString &symbol, qreal size, SymbolWeight weight, const QColor &color, const QColor &circle)
{
    return new SymbolView({symbol, size, weight, color, QSize(88, 88), circle});
}

QWidget *textStack(QWidget *title, QWidget *line)
{
    auto *stack = new QWidget;
    auto *layout = new QVBoxLayout(stack);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(title);
    layout->addWidget(line);
    return stack;
}

/// One line of the stats card: a small check, the bold count, what became of them.
QWidget *statsRow(const QString &title, const QString &subtitle)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(new SymbolView({QStringLiteral("checkmark"), 11, SymbolWeight::Bold, checkGreen(), QSize(26, 26),
                                      Palette::mintSoft()}));
    QLabel *titleLabel = makeScreenText(
        title, {LookFont::system(13, QFont::Bold), Palette::ink(), Qt::AlignLeft | Qt::AlignVCenter, false});
    // The count is never cut or wrapped; the subtitle gives way instead.
    titleLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(titleLabel);
    // A text that draws the fractional size exactly, as a label would round it.
    auto *subtitleText = new WrappedText(subtitle, LookFont::system(12.5), Palette::inkSecondary(),
                                         Qt::AlignLeft | Qt::AlignVCenter);
    subtitleText->setMinimumWidth(1);
    layout->addWidget(subtitleText, 1);
    return row;
}

} // namespace

std::optional<DoneScreen::Mode> DoneScreen::Mode::fromPhase(const ExportCoordinator::Phase &phase)
{
    using Kind = ExportCoordinator::Phase::Kind;
    switch (phase.kind) {
    case Kind::finished:
        return success(phase.successPhotos, phase.successVideos, phase.failed.size());
    case Kind::permissionDenied:
        return permissionDenied();
    case Kind::running:
    case Kind::idle:
    case Kind::requestingPermission:
        break;
    }
    return std::nullopt;
}

DoneScreen::DoneScreen(Inputs inputs, QWidget *parent, FolderOpener openFolder, FrameTicker &ticker)
    : SendScreenFrame(20, parent), m_inputs(std::move(inputs)), m_openFolder(std::move(openFolder)), m_checkScale(0.0, ticker)
{
    if (m_inputs.mode.kind == Mode::Kind::success)
        buildSuccess();
    else
        buildPermissionDenied();
}

void DoneScreen::buildSuccess()
{
    const Mode &mode = m_inputs.mode;
    m_check = bigIcon(QStringLiteral("checkmark"), 42, SymbolWeight::Bold, checkGreen(), Palette::mintSoft());
    m_check->setSymbolScale(0);
    m_checkScale.setOnChange([this] { m_check->setSymbolScale(m_checkScale.value()); });
    addRow(m_check);

    QLabel *title = makeScreenText(LibraryFolderNames(m_inputs.libraryRoot).allSet(),
                                   {LookFont::rounded(28, QFont::DemiBold), Palette::ink(), Qt::AlignCenter});
    QLabel *line = makeScreenText(tr("Nothing was left on your computer · SD card originals untouched"),
                                  {LookFont::system(12), Palette::inkTertiary(), Qt::AlignCenter});
    line->setContentsMargins(0, 2, 0, 0);
    addRow(textStack(title, line), {});

    if (mode.photos >= 1 || mode.videos >= 1)
        addRow(buildStatsCard());

    if (mode.failed >= 1)
        addRow(makeScreenText(tr("%1 couldn't be sent").arg(mode.failed),
                              {LookFont::system(12), Palette::amber(), Qt::AlignCenter}),
               {});

    addRow(new PomelarkButton(ButtonStyle::ghost(), tr("Back to start"), QStringLiteral("house"),
                              [this] {
                                  if (m_inputs.onRestart)
                                      m_inputs.onRestart();
                              }),
           Qt::AlignHCenter, 4);
}

QWidget *DoneScreen::buildStatsCard()
{
    const Mode &mode = m_inputs.mode;
    auto *card = new RoundedBox({Palette::surface(), Palette::line(), 12});
    card->setPreferredMaximumWidth(cardMaxWidth);
    auto *rows = new QVBoxLayout(card);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    if (mode.photos >= 1)
        rows->addWidget(statsRow(tr("%n photos", nullptr, int(mode.photos)),
                                 LibraryFolderNames(m_inputs.libraryRoot).wentInto()));
    if (mode.videos >= 1) {
        if (mode.photos >= 1) {
            auto *divider = new RoundedBox({Palette::divider()});
            divider->setObjectName(QStringLiteral("divider"));
            divider->setFixedHeight(1);
            rows->addWidget(divider);
        }
        rows->addWidget(statsRow(tr("%n videos", nullptr, int(mode.videos)), tr("Converted to iPhone format and sent")));
    }
    return card;
}

void DoneScreen::buildPermissionDenied()
{
    addRow(bigIcon(QStringLiteral("lock.fill"), 36, SymbolWeight::Semibold, Palette::accentDeep(), Palette::accentSoft()));

    QLabel *title = makeScreenText(tr("Photos access needed"),
                                   {LookFont::rounded(24, QFont::DemiBold), Palette::ink(), Qt::AlignCenter});
    const LibraryFolderNames names(m_inputs.libraryRoot);
    auto *line = new WrappedText(names.writeRequest(), LookFont::system(13),
                                 Palette::inkSecondary(), Qt::AlignHCenter, 3);
    addRow(textStack(title, line), {});

    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    const QString opened = folderToOpen(m_inputs.libraryRoot);
    row->addWidget(new PomelarkButton(ButtonStyle::primary(),
                                      names.openFolder(opened.isEmpty() ? m_inputs.libraryRoot : opened), {},
                                      [this] { openPicturesFolder(); }));
    row->addWidget(new PomelarkButton(ButtonStyle::ghost(), tr("Back to grid"), {}, [this] {
        if (m_inputs.onBackToGrid)
            m_inputs.onBackToGrid();
    }));
    addRow(row, 4);
}

bool DoneScreen::openWithDesktop(const QUrl &folder)
{
    return QDesktopServices::openUrl(folder);
}

QString DoneScreen::folderToOpen(const QString &libraryRoot)
{
    if (libraryRoot.isEmpty())
        return {};
    QString folder = QDir::cleanPath(QFileInfo(libraryRoot).absoluteFilePath());
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return {};
        folder = parent;
    }
    return folder;
}

void DoneScreen::openPicturesFolder()
{
    const QString folder = folderToOpen(m_inputs.libraryRoot);
    if (folder.isEmpty() || !m_openFolder)
        return;
    m_openFolder(QUrl::fromLocalFile(folder));
}

void DoneScreen::popCheck()
{
    if (!m_check)
        return;
    m_checkScale.setValue(0);
    m_check->setSymbolScale(0);
    m_checkScale.animateTo(1, Animation::spring().delayed(0.05));
}

void DoneScreen::showEvent(QShowEvent *event)
{
    SendScreenFrame::showEvent(event);
    // A window coming back from the task bar is not a new appearance.
    if (!event->spontaneous())
        popCheck();
}

} // namespace pomelark
