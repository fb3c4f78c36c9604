#pragma once
// The control operations the window's handlers may use, addressed by control
// name. The application shell implements them over real widgets; an operation
// on a control that does not exist throws.

#include <string>
#include <string_view>

#include "window/description.h"

namespace window {

class Controls {
 public:
  virtual ~Controls() = default;

  // The text of a combo box's edit field, whatever was typed or picked.
  virtual std::string Text(std::string_view combo) const = 0;
  // Appends an entry at the end of a combo box's list.
  virtual void AddItem(std::string_view combo, std::string_view item) = 0;
  // Shows `caption` in a label; an auto-sized label takes the text's size.
  virtual void SetCaption(std::string_view label, std::string_view caption) = 0;
  virtual void SetForeColor(std::string_view label, Color color) = 0;
  // The text shown while the pointer rests on a label; it says more than
  // the caption has room for.
  virtual void SetToolTip(std::string_view label, std::string_view text) = 0;
  // Closes the window; with no window left the program ends.
  virtual void Unload() = 0;
};

}  // namespace window
