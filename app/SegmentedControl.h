#pragma once

#include "look/AnimatedValue.h"
#include "look/Binding.h"
#include "look/FrameTicker.h"

#include <QList>
#include <QWidget>

#include <memory>
#include <vector>

namespace pomelark {

/// A row of text segments on a soft track, one per option of a text value; the
/// segment whose value equals the bound value is raised on a white pill. When
/// the value matches no option, none is. Clicking a segment sets the value.
class SegmentedControl : public QWidget {
    Q_OBJECT
public:
    struct Option {
        QString value; ///< what the binding is set to
        QString label; ///< shown, already translated
    };

    SegmentedControl(Binding<QString> value, QList<Option> options, QWidget *parent = nullptr,
                     FrameTicker &ticker = FrameTicker::shared());
    ~SegmentedControl() override;

    /// Reads the binding again and moves the highlight (over 0.15 s) if it changed.
    void refresh();

    /// The option shown selected, or -1.
    int selectedIndex() const;
    /// How far segment `index` shows the selected look, 0…1 (moves with the animation).
    qreal selectionProgress(int index) const;
    /// Where segment `index` lies, in the control's coordinates.
    QRect segmentRect(int index) const;
    const QList<Option> &options() const { return m_options; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr qreal highlightSeconds = 0.15;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int segmentAt(QPoint point) const;
    QSize segmentSize(int index) const;

    Binding<QString> m_value;
    QList<Option> m_options;
    QString m_shown;
    std::vector<std::unique_ptr<AnimatedValue>> m_selection;
    int m_pressed = -1;
};

} // namespace pomelark
