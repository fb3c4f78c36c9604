#include "app/combo_style.h"

#include <QStyleOptionComplex>

namespace app {
namespace {

constexpr int kArrowWidth = 16;
constexpr int kFrameWidth = 1;

}  // namespace

QRect ComboFitStyle::subControlRect(ComplexControl control,
                                    const QStyleOptionComplex* option,
                                    SubControl sub_control,
                                    const QWidget* widget) const {
  if (control != CC_ComboBox || (sub_control != SC_ComboBoxArrow &&
                                 sub_control != SC_ComboBoxEditField)) {
    return QProxyStyle::subControlRect(control, option, sub_control, widget);
  }
  const QRect& box = option->rect;
  const QRect arrow(box.right() - kArrowWidth + 1, box.top(), kArrowWidth,
                    box.height());
  const QRect field(box.left() + kFrameWidth, box.top() + kFrameWidth,
                    arrow.left() - box.left() - kFrameWidth,
                    box.height() - 2 * kFrameWidth);
  return visualRect(option->direction, box,
                    sub_control == SC_ComboBoxArrow ? arrow : field);
}

}  // namespace app
