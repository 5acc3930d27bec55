// A label of the editor's dimmer grid that reports a mouse click with its dimmer number.
#pragma once

#include <QLabel>
#include <cstdint>

class QColor;

namespace corvane {

class DimmerLabel final : public QLabel {
    Q_OBJECT

  public:
    // Single border, centred text, the given background: the designed look of both label kinds.
    DimmerLabel(int16_t index, const QString& caption, const QColor& background, QWidget* parent);

  signals:
    // A press and release of the left button on the label, as a click on a button counts.
    void clicked(int16_t Index);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const int16_t index_;
    bool pressed_ = false;
};

}  // namespace corvane
