#include "web/dispatch.h"

#include <exception>
#include <string_view>

#include "calc/runtime_error.h"
#include "web/dom.h"
#include "window/words.h"

namespace web {
namespace {

void Show(std::string_view message) noexcept {
  baud51_dom_message(message.data(), message.size());
}

}  // namespace

void Dispatch(const std::function<void()>& handler) noexcept {
  try {
    handler();
  } catch (const calc::RuntimeError& error) {
    Show(window::ErrorMessage(error.Kind()));
  } catch (const std::exception& error) {
    Show(error.what());
  } catch (...) {
    Show(window::kUnknownError);
  }
}

}  // namespace web
