#include "app/ToolbarView.h"

#include "app/ElidedLabel.h"
#include "app/MascotSlot.h"
#include "app/ScreenStyle.h"
#include "look/CountLabel.h"
#include "look/IconBtn.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "look/SelectToggle.h"
#include "look/ToolIconBtn.h"
#include "look/TuppoWiggle.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>

namespace pomelark {

namespace {

QString folderText(const QString &path)
{
    return ToolbarView::tr("Source folder · %1").arg(path);
}

QString photosText(int count)
{
    return ToolbarView::tr("%n photos", nullptr, count);
}

QString videosText(int count)
{
    return ToolbarView::tr("%n videos", nullptr, count);
}

QString skippedText(int count)
{
    return ToolbarView::tr("%1 skipped").arg(count);
}

} // namespace

ToolbarView::ToolbarView(Inputs inputs, QWidget *parent, FrameTicker &ticker, MascotPauser &pauser)
    : QWidget(parent), m_inputs(std::move(inputs))
{
    ScreenStyle::fillBackground(this, Palette::surface());
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    m_mascot = new TuppoWiggle(QStringLiteral("lavender"), 2, true, this, ticker, pauser);
    m_send = new PomelarkButton(ButtonStyle::primary(), tr("Send to Photos"), QStringLiteral("paperplane"),
                                [this] { call(&Inputs::onSendToPhotos); }, this, ticker);
    m_settings = new IconBtn(QStringLiteral("gearshape"), tr("Settings"), 38, 19, 12,
                             [this] { call(&Inputs::onSettings); }, this, ticker);

    m_folderLine = new ElidedLabel(folderText(m_inputs.folderPath), this);
    m_folderLine->setFont(LookFont::system(12));
    m_folderLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ScreenStyle::setTextColor(m_folderLine, Palette::inkSecondary());
    m_folder = new IconBtn(QStringLiteral("folder"), tr("Choose a different folder"), 26, 16, 8,
                           [this] { call(&Inputs::onPickFolder); }, this, ticker);
    m_folder->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_error = ScreenStyle::text(m_inputs.errorMessage.value_or(QString()), LookFont::system(12), Palette::coral(),
                                this, Qt::AlignLeft | Qt::AlignVCenter);

    m_photos = new CountLabel(QStringLiteral("photo.fill"), photosText(m_inputs.photoCount), false, this);
    m_videos = new CountLabel(QStringLiteral("video.fill"), videosText(m_inputs.videoCount), false, this);
    m_skipped = new CountLabel(QStringLiteral("questionmark"), skippedText(m_inputs.skippedCount), true, this);
    m_autoRotate = new ToolIconBtn(QStringLiteral("rotate.right"),
                                   tr("Stand photos up — finds sideways shots and straightens them"),
                                   m_inputs.hasMedia, [this] { call(&Inputs::onAutoRotate); }, this, ticker);
    m_bestShot = new ToolIconBtn(QStringLiteral("square.on.square"),
                                 tr("Tidy similar shots — keep just the best of each burst"), m_inputs.hasMedia,
                                 [this] { call(&Inputs::onBestShot); }, this, ticker);
    auto *divider = new QWidget(this);
    divider->setFixedSize(1, 22);
    ScreenStyle::fillBackground(divider, Palette::divider());
    m_select = new SelectToggle(m_inputs.selectMode, m_inputs.hasMedia, [this] { call(&Inputs::onToggleSelect); },
                                this, ticker);

    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(24, 16, 24, 12);
    rows->setSpacing(10);

    auto *top = new QHBoxLayout;
    top->setSpacing(8);
    top->addItem(new MascotSlot(m_mascot, 32, std::nullopt, Qt::AlignCenter));
    top->addStretch(1);
    top->addWidget(m_send);
    top->addWidget(m_settings);
    rows->addLayout(top);

    // A long path gives way before the folder button does.
    auto *folderRow = new QHBoxLayout;
    folderRow->setSpacing(8);
    folderRow->addWidget(m_folderLine, 0);
    folderRow->addWidget(m_folder, 0);
    folderRow->addStretch(1);
    rows->addLayout(folderRow);

    rows->addWidget(m_error);

    auto *counts = new QHBoxLayout;
    counts->setContentsMargins(0, 2, 0, 0);
    counts->setSpacing(22);
    counts->addWidget(m_photos);
    counts->addWidget(m_videos);
    counts->addWidget(m_skipped);
    counts->addStretch(1);
    auto *tools = new QHBoxLayout;
    tools->setSpacing(8);
    tools->addWidget(m_autoRotate);
    tools->addWidget(m_bestShot);
    counts->addLayout(tools);
    auto *dividerBox = new QHBoxLayout;
    dividerBox->setContentsMargins(2, 0, 2, 0);
    dividerBox->addWidget(divider);
    counts->addLayout(dividerBox);
    counts->addWidget(m_select);
    rows->addLayout(counts);

    setSkippedCount(m_inputs.skippedCount);
    setErrorMessage(m_inputs.errorMessage);
    setHasMedia(m_inputs.hasMedia);
}

void ToolbarView::call(const std::function<void()> Inputs::*action) const
{
    if (const auto &callback = m_inputs.*action)
        callback();
}

void ToolbarView::setFolderPath(const QString &folderPath)
{
    m_inputs.folderPath = folderPath;
    m_folderLine->setFullText(folderText(folderPath));
}

void ToolbarView::setPhotoCount(int photoCount)
{
    m_inputs.photoCount = photoCount;
    m_photos->setText(photosText(photoCount));
}

void ToolbarView::setVideoCount(int videoCount)
{
    m_inputs.videoCount = videoCount;
    m_videos->setText(videosText(videoCount));
}

void ToolbarView::setSkippedCount(int skippedCount)
{
    m_inputs.skippedCount = skippedCount;
    m_skipped->setText(skippedText(skippedCount));
    m_skipped->setVisible(skippedCount >= 1);
}

void ToolbarView::setErrorMessage(const std::optional<QString> &errorMessage)
{
    m_inputs.errorMessage = errorMessage;
    m_error->setText(errorMessage.value_or(QString()));
    // Hidden widgets take no room in the layout, so no gap is left for it.
    m_error->setVisible(errorMessage.has_value());
}

void ToolbarView::setHasMedia(bool hasMedia)
{
    m_inputs.hasMedia = hasMedia;
    m_send->setEnabled(hasMedia);
    m_autoRotate->setEnabled(hasMedia);
    m_bestShot->setEnabled(hasMedia);
    m_select->setEnabled(hasMedia);
}

void ToolbarView::setSelectMode(bool selectMode)
{
    m_inputs.selectMode = selectMode;
    m_select->setActive(selectMode);
}

void ToolbarView::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(QRect(0, height() - 1, width(), 1), Palette::line());
}

} // namespace pomelark
