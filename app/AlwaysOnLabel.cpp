#include "app/AlwaysOnLabel.h"

#include "look/LookFont.h"
#include "look/Palette.h"

#include <QCoreApplication>

namespace pomelark {

AlwaysOnLabel::AlwaysOnLabel(QWidget *parent)
    : QLabel(QCoreApplication::translate("SettingsScreen", "Always on"), parent)
{
    setFont(LookFont::system(12, QFont::DemiBold));
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Palette::inkTertiary());
    setPalette(colours);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

} // namespace pomelark
