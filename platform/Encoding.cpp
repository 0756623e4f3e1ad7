#include "platform/Encoding.h"

#include <iconv.h>

#include <cerrno>

namespace pv14 {
namespace {

const iconv_t kNotOpen = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

// One direction of conversion, opened on first use and kept for the
// thread's life: opening a descriptor costs far more than converting a short
// text. A descriptor holds state between calls, so each thread has its own.
// The last text converted is remembered too: a progress caption is converted
// again, unchanged, on every refresh.
class Converter {
 public:
  Converter(const char* to, const char* from) : to_(to), from_(from) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() {
    if (cd_ != kNotOpen) iconv_close(cd_);
    cd_ = kNotOpen;
  }

  // nullopt on any invalid or unmappable input.
  std::optional<std::string> Convert(std::string_view in) {
    if (lastIn_ && *lastIn_ == in) return lastOut_;
    std::optional<std::string> out = ConvertAfresh(in);
    lastIn_ = in;
    lastOut_ = out;
    return out;
  }

 private:
  std::optional<std::string> ConvertAfresh(std::string_view in) {
    if (cd_ == kNotOpen) cd_ = iconv_open(to_, from_);
    if (cd_ == kNotOpen) return std::nullopt;
    // A failed conversion may have stopped inside a character: start afresh.
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 2 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::size_t used = 0;
    bool inputDone = false;
    for (;;) {
      char* outPtr = out.data() + used;
      std::size_t outLeft = out.size() - used;
      // After the input, one call without input ends any shift sequence.
      const std::size_t result = inputDone ? iconv(cd_, nullptr, nullptr, &outPtr, &outLeft)
                                           : iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      used = out.size() - outLeft;
      if (result == kFailed) {
        if (error != E2BIG) return std::nullopt;
        out.resize(out.size() * 2);
        continue;
      }
      if (inputDone) break;
      inputDone = true;  // a call that did not fail took all of the input
    }
    out.resize(used);
    return out;
  }

  const char* to_;
  const char* from_;
  iconv_t cd_ = kNotOpen;
  std::optional<std::string> lastIn_;
  std::optional<std::string> lastOut_;
};

Converter& ToCp932() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter;
}

Converter& ToUtf8() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) { return ToCp932().Convert(utf8); }

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) { return ToUtf8().Convert(cp932); }

}  // namespace pv14
