#include "app/AlwaysOnLabel.h"

#include "app/ScreenStyle.h"
#include "look/LookFont.h"
#include "look/Palette.h"

#include <QCoreApplication>

namespace pomelark {

AlwaysOnLabel::AlwaysOnLabel(QWidget *parent)
    : QLabel(QCoreApplication::translate("SettingsScreen", "Always on"), parent)
{
    setFont(LookFont::system(12, QFont::DemiBold));
    ScreenStyle::setTextColor(this, Palette::inkTertiary());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

} // namespace pomelark
