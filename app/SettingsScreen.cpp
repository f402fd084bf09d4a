#include "app/SettingsScreen.h"

#include "app/AlwaysOnLabel.h"
#include "app/AppLanguage.h"
#include "app/AppRelauncher.h"
#include "app/ScreenStyle.h"
#include "app/SegmentedControl.h"
#include "app/SettingsRow.h"
#include "app/SettingsSection.h"
#include "app/StoredSetting.h"
#include "look/IconBtn.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/ScrollIndicators.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QVBoxLayout>

namespace pomelark {

namespace {

// The bar at the top: white, with a hairline along its bottom edge.
class Header : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Palette::surface());
        painter.fillRect(QRect(0, height() - 1, width(), 1), Palette::line());
    }
};

// Holds the card column at its full width in the middle. Where a classic scroll
// bar leaves less than the column and its 24 px margins, the margins give way
// first, so the column keeps its width at the smallest window.
class CentredColumn : public QWidget {
public:
    CentredColumn(QWidget *column, QWidget *parent) : QWidget(parent), m_column(column)
    {
        column->setParent(this);
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return top + columnHeight(columnWidthFor(width)) + bottom; }
    QSize sizeHint() const override
    {
        const int width = SettingsScreen::columnWidth + 2 * side;
        return {width, heightForWidth(width)};
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        const int column = columnWidthFor(width());
        m_column->setGeometry((width() - column) / 2, top, column, columnHeight(column));
        QWidget::resizeEvent(event);
    }

private:
    static int columnWidthFor(int width)
    {
        return std::clamp(width - 2 * side, std::min(width, int(SettingsScreen::columnWidth)),
                          int(SettingsScreen::columnWidth));
    }
    int columnHeight(int width) const
    {
        const int forWidth = m_column->heightForWidth(width);
        return forWidth >= 0 ? forWidth : m_column->sizeHint().height();
    }

    static constexpr int side = 24;
    static constexpr int top = 22;
    static constexpr int bottom = 32;
    QWidget *m_column;
};

} // namespace

Binding<QString> SettingsScreen::storedDateMode()
{
    return StoredSetting::text(QStringLiteral("settings.dateMode"), [] { return QStringLiteral("keep"); });
}

Binding<QString> SettingsScreen::storedQuality()
{
    return StoredSetting::text(QStringLiteral("settings.quality"), [] { return QStringLiteral("size"); });
}

Binding<QString> SettingsScreen::storedAppLanguage()
{
    return StoredSetting::text(QLatin1String(AppLanguage::settingsKey),
                               [] { return AppLanguage::current(QSettings()).code(); });
}

std::function<void()> SettingsScreen::defaultRelaunch()
{
    return [] { AppRelauncher::relaunchThisProgram(); };
}

SettingsScreen::SettingsScreen(Inputs inputs, QWidget *parent) : QWidget(parent), m_inputs(std::move(inputs))
{
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(makeHeader());
    stack->addWidget(makeBody(), 1);
}

QWidget *SettingsScreen::makeHeader()
{
    auto *header = new Header(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(16, 14, 16, 14);
    row->setSpacing(10);
    row->addWidget(new IconBtn(QStringLiteral("chevron.left"), QCoreApplication::translate("SettingsScreen", "Back"), 38, 19, 12, [this] {
        if (m_inputs.onBack)
            m_inputs.onBack();
    }));
    row->addWidget(ScreenStyle::text(QCoreApplication::translate("SettingsScreen", "Settings"),
                                     LookFont::system(17, QFont::DemiBold), Palette::ink(), nullptr,
                                     Qt::AlignLeft | Qt::AlignVCenter));
    row->addStretch(1);
    return header;
}

QWidget *SettingsScreen::makeBody()
{
    // The language picker reports a change (not a click on the current choice)
    // after writing it, as the store and the restart offer follow the new value.
    Binding<QString> language{m_inputs.appLanguage.get, [this](QString code) {
                                  const bool changed = code != m_inputs.appLanguage.get();
                                  m_inputs.appLanguage.set(code);
                                  if (changed)
                                      languageChanged(code);
                              }};
    QList<SegmentedControl::Option> languages;
    for (AppLanguage::Code each : AppLanguage::allCases)
        languages.append({AppLanguage(each).code(), AppLanguage(each).pickerLabel()});
    m_language = new SegmentedControl(language, languages);
    m_dateMode = new SegmentedControl(
        m_inputs.dateMode, {{QStringLiteral("keep"), QCoreApplication::translate("SettingsScreen", "Keep capture date")}, {QStringLiteral("now"), QCoreApplication::translate("SettingsScreen", "Use today's date")}});
    m_quality = new SegmentedControl(
        m_inputs.quality, {{QStringLiteral("size"), QCoreApplication::translate("SettingsScreen", "Smaller size")}, {QStringLiteral("quality"), QCoreApplication::translate("SettingsScreen", "Higher quality")}});

    auto *languageSection = new SettingsSection(QCoreApplication::translate("SettingsScreen", "Language"));
    languageSection->addRow(
        new SettingsRow(QCoreApplication::translate("SettingsScreen", "Display language"), QCoreApplication::translate("SettingsScreen", "Applies after you restart Pomelark."), true, m_language));

    auto *convertSection = new SettingsSection(QCoreApplication::translate("SettingsScreen", "Convert"));
    convertSection->addRow(
        new SettingsRow(QCoreApplication::translate("SettingsScreen", "Capture date"), QCoreApplication::translate("SettingsScreen", "Choose where it sorts on your Photos timeline."), false, m_dateMode));
    convertSection->addRow(
        new SettingsRow(QCoreApplication::translate("SettingsScreen", "Quality"), QCoreApplication::translate("SettingsScreen", "Choose smaller files or higher quality."), true, m_quality));

    auto *afterSection = new SettingsSection(QCoreApplication::translate("SettingsScreen", "After tidying"));
    afterSection->addRow(new SettingsRow(QCoreApplication::translate("SettingsScreen", "Auto-delete temp files after sending"),
                                         QCoreApplication::translate("SettingsScreen", "Nothing is left on your computer."), false, new AlwaysOnLabel));
    afterSection->addRow(new SettingsRow(QCoreApplication::translate("SettingsScreen", "Never touch the original folder"),
                                         QCoreApplication::translate("SettingsScreen", "Whether it's an SD card or a folder on your computer, the originals are "
                                            "never deleted. Always on, for safety."),
                                         true, new AlwaysOnLabel));

    m_column = new QWidget;
    auto *cards = new QVBoxLayout(m_column);
    cards->setContentsMargins(0, 0, 0, 0);
    cards->setSpacing(26);
    cards->addWidget(languageSection);
    cards->addWidget(convertSection);
    cards->addWidget(afterSection);

    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollIndicators::apply(scroll);
    scroll->setWidgetResizable(true);
    ScreenStyle::fillBackground(scroll->viewport(), Palette::background());
    scroll->setWidget(new CentredColumn(m_column, scroll));
    return scroll;
}

void SettingsScreen::refresh()
{
    m_language->refresh();
    m_dateMode->refresh();
    m_quality->refresh();
}

void SettingsScreen::languageChanged(const QString &code)
{
    const std::optional<AppLanguage> language = AppLanguage::fromCode(code);
    if (!language)
        return;
    QSettings settings;
    AppLanguage::store(*language, settings);
    m_pendingRestart = true;
    showRestartAlert();
}

void SettingsScreen::showRestartAlert()
{
    if (m_restartAlert)
        return;
    const QString title = QCoreApplication::translate("SettingsScreen", "Restart to apply the language");
    auto *alert = new QMessageBox(QMessageBox::NoIcon, title, title, QMessageBox::NoButton, this);
    alert->setTextFormat(Qt::PlainText);
    alert->setInformativeText(QCoreApplication::translate("SettingsScreen", "Pomelark will reopen in the language you picked."));
    QPushButton *restart = alert->addButton(QCoreApplication::translate("SettingsScreen", "Restart now"), QMessageBox::AcceptRole);
    QPushButton *later = alert->addButton(QCoreApplication::translate("SettingsScreen", "Later"), QMessageBox::RejectRole);
    alert->setDefaultButton(restart);
    alert->setEscapeButton(later);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    connect(alert, &QMessageBox::finished, this, [this, alert, restart] {
        m_pendingRestart = false;
        if (alert->clickedButton() == restart && m_inputs.relaunchApp)
            m_inputs.relaunchApp();
    });
    m_restartAlert = alert;
    alert->open();
}

} // namespace pomelark
