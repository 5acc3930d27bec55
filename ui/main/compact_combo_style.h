// A style for the small designed drop-down lists: a narrower arrow, so "Node: FE" fits in 73
// pixels.
#pragma once

#include <QComboBox>
#include <QProxyStyle>

namespace corvane {

class CompactComboStyle final : public QProxyStyle {
  public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
};

// Gives the list a style of its own, owned by the list.
void applyCompactComboStyle(QComboBox* box);

}  // namespace corvane
