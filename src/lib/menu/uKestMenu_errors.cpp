#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "uKestMenu.h"
#include "uKestMenu_internal.h"

namespace kest::menu {

const char* const SKestItemIndexOutOfRange = "Toolbar item index out of range";
const char* const SKestItemAlreadyInserted = "Toolbar item already inserted";
const char* const SKestItemCannotInsertInto =
    "Toolbar item cannot be inserted into container of type %s";
const char* const SKestViewerNotFound =
    "An item viewer associated the specified item could not be found";

std::string KestClassName(const kest::ui::Component& c) {
  const char* mangled = typeid(c).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> plain(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string name = (status == 0 && plain) ? plain.get() : mangled;
  // Users know the class, not the namespace it lives in.
  const auto colon = name.rfind("::");
  return colon == std::string::npos ? name : name.substr(colon + 2);
}

} // namespace kest::menu

namespace kest::menu::detail {

std::string Format1(const char* pattern, const std::string& arg) {
  std::string text = pattern;
  const auto at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, arg);
  return text;
}

} // namespace kest::menu::detail
