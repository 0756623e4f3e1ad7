#include "ledgerengine/JsonDocument.h"

#include <optional>
#include <string>
#include <vector>

#include "ledgerengine/FormError.h"

namespace pv14::ledger {
namespace {

// Builds the document like the library's own DOM parser, keeping the path of
// every container so a refused value can be named.
class DocumentBuilder : public nlohmann::json_sax<Json> {
 public:
  // The steps keep views of keys held by the levels: the levels never move.
  explicit DocumentBuilder(const JsonListTaker& take) : take_(take) {
    levels_.reserve(kMaxJsonNesting);
  }

  Json& Root() { return root_; }
  const std::optional<FormError>& Problem() const { return problem_; }
  bool TooDeep() const { return tooDeep_; }

  bool null() override { return Add(nullptr); }
  bool boolean(bool value) override { return Add(value); }
  bool number_integer(number_integer_t value) override { return Add(value); }
  bool number_unsigned(number_unsigned_t value) override { return Add(value); }
  bool number_float(number_float_t, const string_t& text) override {
    if (text.find_first_of("eE") != string_t::npos) {
      return Fail(ChildPath(), text +
                                   " has an exponent: write the value as an integer or as a "
                                   "decimal text");
    }
    if (text.find('.') != string_t::npos) {
      return Fail(ChildPath(), text +
                                   " has a fraction: write an amount with decimals as a text, "
                                   "e.g. \"1234.5\"");
    }
    return Fail(ChildPath(), text + " is out of range");
  }
  bool string(string_t& value) override { return Add(std::move(value)); }
  bool binary(binary_t& value) override { return Add(Json::binary(value)); }

  bool start_object(std::size_t) override { return Open(Json::object()); }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override { return Open(Json::array()); }
  bool end_array() override { return Close(); }

  bool key(string_t& key) override {
    Level& level = levels_.back();
    if (level.value->contains(key)) {
      return Fail(level.path.Key(key), "the key is given twice");
    }
    level.key = key;
    return true;
  }

  bool parse_error(std::size_t, const std::string&,
                   const nlohmann::detail::exception& error) override {
    std::string what = error.what();
    if (auto end = what.find("] "); what.rfind("[json.exception", 0) == 0 && end != what.npos) {
      what.erase(0, end + 2);
    }
    problem_.emplace("malformed JSON: " + what);
    return false;
  }

 private:
  struct Level {
    Json* value;
    FormPath path;
    std::string key;        // the key whose value comes next, in an object
    std::size_t count = 0;  // values of a list so far, taken ones too
    std::string stepKey;    // this container's key in its object
    std::size_t heldAtOpen = 0;
  };

  FormPath ChildPath() const {
    if (levels_.empty()) return FormPath();
    const Level& level = levels_.back();
    return level.value->is_array() ? level.path.Index(level.count) : level.path.Key(level.key);
  }

  // Offers the last value of the innermost list, which is complete and
  // holds the values counted from heldBefore on.
  bool Offer(const FormPath& path, std::size_t heldBefore) {
    Level& list = levels_.back();
    const std::size_t index = list.count++;
    if (!take_) return true;
    try {
      if (take_(steps_, index, path, list.value->back())) {
        list.value->get_ref<Json::array_t&>().pop_back();
        held_ = heldBefore;
      }
    } catch (const FormError& error) {
      problem_ = error;
      return false;
    }
    return true;
  }

  // What is not taken stays until the end; no store has this much of it.
  bool Hold() {
    if (take_ && ++held_ > kMaxHeldJsonValues) {
      return Fail(ChildPath(),
                  "more values outside the long row lists than any store holds (at most " +
                      std::to_string(kMaxHeldJsonValues) + ")");
    }
    return true;
  }

  // Places a value where the parser is; returns where it went.
  Json* Place(Json value) {
    if (levels_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    Level& level = levels_.back();
    if (level.value->is_array()) {
      level.value->push_back(std::move(value));
      return &level.value->back();
    }
    Json& slot = (*level.value)[level.key];
    slot = std::move(value);
    return &slot;
  }

  bool Add(Json value) {
    const bool inList = !levels_.empty() && levels_.back().value->is_array();
    const std::size_t heldBefore = held_;
    if (!Hold()) return false;
    FormPath path = inList && take_ ? ChildPath() : FormPath();
    Place(std::move(value));
    return inList ? Offer(path, heldBefore) : true;
  }

  bool Open(Json container) {
    if (levels_.size() == kMaxJsonNesting) {
      tooDeep_ = true;
      return false;
    }
    FormPath path = ChildPath();
    const std::size_t heldBefore = held_;
    if (!Hold()) return false;
    JsonStep step;
    std::string stepKey;
    if (!levels_.empty()) {
      const Level& parent = levels_.back();
      step.inList = parent.value->is_array();
      step.index = parent.count;
      if (!step.inList) stepKey = parent.key;
    }
    Json* placed = Place(std::move(container));
    levels_.push_back(Level{placed, std::move(path), {}, 0, std::move(stepKey), heldBefore});
    step.key = levels_.back().stepKey;
    if (levels_.size() > 1) steps_.push_back(step);
    return true;
  }

  bool Close() {
    FormPath path = std::move(levels_.back().path);
    const std::size_t heldBefore = levels_.back().heldAtOpen;
    levels_.pop_back();
    if (levels_.empty()) return true;
    steps_.pop_back();
    return levels_.back().value->is_array() ? Offer(path, heldBefore) : true;
  }

  bool Fail(const FormPath& path, const std::string& problem) {
    problem_.emplace(path, problem);
    return false;
  }

  const JsonListTaker& take_;
  Json root_;
  std::vector<Level> levels_;
  std::vector<JsonStep> steps_;  // of every level but the top
  std::size_t held_ = 0;         // values in the document now
  std::optional<FormError> problem_;
  bool tooDeep_ = false;
};

// Where the parser stopped at the first container past the limit: found
// again by counting brackets outside strings, which only a refused file pays.
std::string TooDeepAt(std::string_view text) {
  std::size_t depth = 0;
  std::size_t line = 1;
  std::size_t lineStart = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    if (c == '"') {
      inString = true;
    } else if (c == '\n') {
      ++line;
      lineStart = i + 1;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxJsonNesting) {
        return "at line " + std::to_string(line) + ", column " + std::to_string(i - lineStart + 1);
      }
    } else if (c == ']' || c == '}') {
      if (depth > 0) --depth;
    }
  }
  return "near the end";
}

}  // namespace

Json ParseJsonDocument(std::string_view text, const JsonListTaker& take) {
  DocumentBuilder builder(take);
  const bool parsed = Json::sax_parse(text, &builder);
  if (builder.TooDeep()) {
    throw FormError("nesting deeper than the form's " + std::to_string(kMaxJsonNesting) +
                    " levels of objects and arrays " + TooDeepAt(text));
  }
  if (builder.Problem()) throw *builder.Problem();
  if (!parsed) throw FormError("malformed JSON");
  return std::move(builder.Root());
}

}  // namespace pv14::ledger
