#pragma once

#include <QLabel>

namespace pomelark {

/// "Always on", in place of a switch, for a rule the user cannot turn off.
class AlwaysOnLabel : public QLabel {
    Q_OBJECT
public:
    explicit AlwaysOnLabel(QWidget *parent = nullptr);
};

} // namespace pomelark
