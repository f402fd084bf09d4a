#include "app/PreparingScreen.h"

#include "app/FadingCaption.h"
#include "app/MascotSlot.h"
#include "app/ScreenStyle.h"
#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/TuppoHop.h"
#include "look/TuppoMotionView.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace pomelark {

namespace {

const QString mascotPalette = QStringLiteral("lavender");

/// The progress bar: a soft track with the filled part over it from the left.
class FillBar : public QWidget {
public:
    FillBar(std::function<double()> fill, QWidget *parent) : QWidget(parent), m_fill(std::move(fill))
    {
        setFixedSize(PreparingScreen::barWidth, PreparingScreen::barHeight);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(capsule(rect()), Palette::accentSoft());
        const qreal filled = std::max(0.0, m_fill()) * width();
        if (filled > 0)
            painter.fillPath(capsule(QRectF(0, 0, filled, height())), Palette::accent());
    }

private:
    std::function<double()> m_fill;
};

} // namespace

PreparingScreen::PreparingScreen(Inputs inputs, QWidget *parent, FrameTicker &ticker, MascotPauser &pauser,
                                 QRandomGenerator *random)
    : QWidget(parent), m_ticker(ticker), m_pauser(pauser), m_pacer(inputs.startedAt, inputs.isFinale, ticker, random),
      m_mascotFade(1, ticker)
{
    ScreenStyle::fillBackground(this, Palette::background());

    m_motionView = new TuppoMotionView(m_pacer.motion(), mascotPalette, mascotPixelSize, this, ticker, pauser);
    m_mascotSlot = new MascotSlot(m_motionView, std::nullopt, mascotRowHeight);
    m_caption = new FadingCaption(m_pacer.shownCaption().translated(), LookFont::rounded(20, QFont::Medium),
                                  Palette::ink(), this, ticker);
    m_bar = new FillBar([this] { return m_pacer.barFill(); }, this);

    auto *column = ScreenStyle::paddedColumn(this);
    column->setSpacing(rowSpacing);
    column->addStretch(1);
    column->addItem(m_mascotSlot);
    column->addWidget(m_caption);
    column->addWidget(m_bar, 0, Qt::AlignHCenter);
    column->addStretch(1);

    connect(&m_pacer, &PreparingPacer::captionChanged, this, &PreparingScreen::showCaption);
    connect(&m_pacer, &PreparingPacer::motionChanged, this, [this] { m_motionView->setKind(m_pacer.motion()); });
    connect(&m_pacer, &PreparingPacer::finaleChanged, this, [this] { showMascot(true); });
    m_mascotFade.setOnChange([this] { fadeMascots(); });
    connect(&m_pacer, &PreparingPacer::barFillChanged, m_bar, qOverload<>(&QWidget::update));
    showMascot(false);
}

PreparingScreen::~PreparingScreen() = default;

void PreparingScreen::setFinale(bool isFinale)
{
    m_pacer.setFinale(isFinale);
}

QString PreparingScreen::captionText() const
{
    return m_caption->text();
}

MotionWidget *PreparingScreen::shownMascot() const
{
    return m_mascotSlot->mascot();
}

void PreparingScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_pacer.start();
}

void PreparingScreen::showCaption()
{
    m_caption->setText(m_pacer.shownCaption().translated());
}

void PreparingScreen::showMascot(bool animated)
{
    MotionWidget *outgoing = m_mascotSlot->mascot();
    MotionWidget *incoming = m_motionView;
    if (m_pacer.isFinale()) {
        // Made afresh, so the hop starts at the beginning of its cycle.
        if (!m_hop)
            m_hop = new TuppoHop(mascotPalette, mascotPixelSize, true, this, m_ticker, m_pauser);
        incoming = m_hop;
    }
    if (incoming == outgoing && incoming->isVisibleTo(this))
        return;
    if (m_outgoingMascot && m_outgoingMascot != incoming) {
        // A swap during a swap: the older mascot goes at once.
        m_outgoingMascot->setGraphicsEffect(nullptr);
        m_outgoingMascot->hide();
    }
    m_mascotSlot->setMascot(incoming);
    incoming->show();
    m_outgoingMascot = outgoing != incoming ? outgoing : nullptr;
    if (animated && m_outgoingMascot) {
        for (MotionWidget *mascot : {incoming, m_outgoingMascot.data()})
            mascot->setGraphicsEffect(new QGraphicsOpacityEffect(mascot));
        m_mascotFade.setValue(0);
        m_mascotFade.animateTo(1, Animation::easeOut(finaleSwapSeconds));
    } else {
        m_mascotFade.setValue(1);
    }
    fadeMascots();
}

void PreparingScreen::fadeMascots()
{
    const double shown = m_mascotFade.value();
    auto fade = [](MotionWidget *mascot, double opacity) {
        if (auto *effect = qobject_cast<QGraphicsOpacityEffect *>(mascot ? mascot->graphicsEffect() : nullptr))
            effect->setOpacity(opacity);
    };
    fade(m_mascotSlot->mascot(), shown);
    fade(m_outgoingMascot, 1 - shown);
    if (shown < 1)
        return;
    if (MotionWidget *incoming = m_mascotSlot->mascot())
        incoming->setGraphicsEffect(nullptr);
    if (m_outgoingMascot) {
        m_outgoingMascot->setGraphicsEffect(nullptr);
        m_outgoingMascot->hide();
        if (m_outgoingMascot != m_motionView)
            m_outgoingMascot->deleteLater();
        m_outgoingMascot = nullptr;
    }
}

} // namespace pomelark
