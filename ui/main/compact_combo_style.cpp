// A style for the small designed drop-down lists.
#include "ui/main/compact_combo_style.h"

#include <QStyleOptionComplex>

namespace corvane {
namespace {
constexpr int kArrowWidth = 15;
constexpr int kTextMargin = 3;
}  // namespace

QRect CompactComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl sub, const QWidget* widget) const {
    if (control == CC_ComboBox && option != nullptr) {
        const QRect r = option->rect;
        if (sub == SC_ComboBoxArrow)
            return QRect(r.right() - kArrowWidth + 1, r.top(), kArrowWidth, r.height());
        if (sub == SC_ComboBoxEditField)
            return QRect(r.left() + kTextMargin, r.top() + 2, r.width() - kArrowWidth - kTextMargin,
                         r.height() - 4);
    }
    return QProxyStyle::subControlRect(control, option, sub, widget);
}

void applyCompactComboStyle(QComboBox* box) {
    // The list keeps only a guarded pointer to its style, so the style may die with it.
    auto* style = new CompactComboStyle;
    style->setParent(box);
    box->setStyle(style);
}

}  // namespace corvane
