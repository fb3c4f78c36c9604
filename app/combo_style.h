#pragma once
// A style for the combo boxes that leaves their edit field room for the
// texts the layout was drawn for.

#include <QProxyStyle>

namespace app {

// The stock styles give a 65-pixel combo box so wide an arrow and frame that
// "11.0592" scrolls to "1.0592", misleading the reader. This one narrows the
// arrow and frame to the classic proportions and keeps all else.
class ComboFitStyle final : public QProxyStyle {
 public:
  QRect subControlRect(ComplexControl control,
                       const QStyleOptionComplex* option,
                       SubControl sub_control,
                       const QWidget* widget) const override;
};

}  // namespace app
