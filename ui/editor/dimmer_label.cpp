// A label of the editor's dimmer grid that reports a mouse click with its dimmer number.
#include "ui/editor/dimmer_label.h"

#include <QColor>
#include <QMouseEvent>
#include <QPalette>

namespace corvane {

DimmerLabel::DimmerLabel(int16_t index, const QString& caption, const QColor& background,
                         QWidget* parent)
    : QLabel(caption, parent), index_(index) {
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setFocusPolicy(Qt::NoFocus);
}

// Both halves of the click are taken here, so a click on a label never reaches the window's
// background handling.
void DimmerLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void DimmerLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked(index_);
}

}  // namespace corvane
