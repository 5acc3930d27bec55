// A style for the small designed drop-down lists: a narrower arrow, so "Node: FE" fits in 73 pixels.
#pragma once

#include <QProxyStyle>

namespace corvane {

class CompactComboStyle final : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
};

// The one instance, owned by the application for every window's lists.
QStyle* compactComboStyle();

}  // namespace corvane
