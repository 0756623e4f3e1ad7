// A value of the JSON form that cannot be taken, with the path that names it
// ("DataSets[0].GeneralSaveInfo.Salaries[2].Name"), and the paths themselves.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pv14::ledger {

class FormPath {
 public:
  FormPath() = default;
  FormPath Key(std::string_view key) const {
    return FormPath(text_.empty() ? std::string(key) : text_ + "." + std::string(key));
  }
  FormPath Index(std::size_t index) const {
    return FormPath(text_ + "[" + std::to_string(index) + "]");
  }
  // The top level is named as such, so a message never starts with ": ".
  std::string Text() const { return text_.empty() ? "(top level)" : text_; }

 private:
  explicit FormPath(std::string text) : text_(std::move(text)) {}
  std::string text_;
};

class FormError : public std::runtime_error {
 public:
  FormError(const FormPath& path, const std::string& problem)
      : std::runtime_error(path.Text() + ": " + problem) {}
  // A problem of the file as a whole (it is not JSON).
  explicit FormError(const std::string& problem) : std::runtime_error(problem) {}
};

}  // namespace pv14::ledger
