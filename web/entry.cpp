#include "web/entry.h"

#include "web/dom.h"
#include "window/dispatch.h"

namespace web {

void Report(std::string_view message) {
  baud51_dom_message(message.data(), message.size());
}

void Dispatch(const std::function<void()>& work) noexcept {
  window::Dispatch(work, Report);
}

std::optional<std::string> LinkValue(std::string_view key) {
  const int size = baud51_dom_link_size(key.data(), key.size());
  if (size < 0 || size > 200) return std::nullopt;
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  baud51_dom_link_copy(key.data(), key.size(), text.data(), text.size());
  text.pop_back();
  return text;
}

}  // namespace web
