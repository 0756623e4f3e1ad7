#include "report/SupportInfoFile.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "resources/Strings.h"
#include "resources/Text.h"

namespace pv14 {
namespace {

constexpr unsigned char kUnread = 0xFF;  // fill beyond the file's data
constexpr unsigned char kCr = 0x0D;
constexpr unsigned char kLf = 0x0A;
constexpr unsigned char kEndOfFileMark = 0x1A;

// The form's keys as written in the sources; two fields of the inquiry form
// that this program never reads have no label here.
constexpr const char* kKeyLiterals[SupportInfoFile::kKeyCount] = {
    "[=製品名=]",
    "[=製品ﾊﾞｰｼﾞｮﾝ=]",
    "[=提供ﾒﾃﾞｨｱ=]",
    "[=会社名=]",
    "[=部署=]",
    "[=郵便番号=]",
    "[=住所１=]",
    "[=住所２=]",
    "[=TEL=]",
    "[=FAX=]",
    "[=本体機種=]",
    "[=ﾌﾟﾘﾝﾀ=]",
    "[=ﾓﾃﾞﾑ=]",
    "[=搭載ﾒﾓﾘ=]",
    "[=購入日=]",
    "[=年間保守契約=]",
    "",
    "",
    "[=お問い合わせ内容=]",
    "[=症状が再現する手順や条件=]",
    "[=再現性=]",
};

bool StartsAt(std::span<const unsigned char> buffer, std::size_t pos, std::string_view key) {
  if (key.empty() || key.size() > buffer.size() - pos) return false;
  // The whole buffer is searched byte by byte: most bytes fail at the first.
  if (buffer[pos] != static_cast<unsigned char>(key.front())) return false;
  return std::memcmp(buffer.data() + pos, key.data(), key.size()) == 0;
}

}  // namespace

SupportInfoFile::SupportInfoFile(Env& env, Ui* ui) : env_(env), ui_(ui) {}

const std::array<std::string, SupportInfoFile::kKeyCount>& SupportInfoFile::Keys() {
  static const std::array<std::string, kKeyCount> keys = [] {
    std::array<std::string, kKeyCount> converted;
    for (std::size_t i = 0; i < kKeyCount; ++i) converted[i] = LiteralToCp932(kKeyLiterals[i]);
    return converted;
  }();
  return keys;
}

std::string SupportInfoFile::ProductName() { return Value(kProductNameKey); }

std::string SupportInfoFile::ProductVersion() { return Value(kProductVersionKey); }

std::string SupportInfoFile::Value(std::size_t keyIndex) {
  return keyIndex < kKeyCount ? Lookup(Keys()[keyIndex]) : std::string();
}

bool SupportInfoFile::Load() {
  if (memory_) return true;
  memory_ = env_.GlobalAlloc(kBufferSize);
  if (!memory_) {
    // The next lookup tries again.
    if (ui_ != nullptr)
      ui_->MessageBox(kNoWindow, SJ("ﾒﾓﾘが不足しています。"), MessageCaption(), kMbOk);
    return false;
  }
  buffer_ = std::span<unsigned char>(memory_.get(), kBufferSize);
  ReadFile();
  return true;
}

void SupportInfoFile::ReadFile() {
  std::size_t filled = 0;
  std::unique_ptr<File> file = env_.NewFile();
  if (file != nullptr && file->Open(folder_ + "SUPPORT.INF", File::kRead)) {
    bool readable = true;
    while (filled < buffer_.size()) {
      std::size_t got = 0;
      readable = file->Read(buffer_.data() + filled, buffer_.size() - filled, &got);
      if (!readable || got == 0) break;
      filled += got;
    }
    file->Close();
    if (!readable) filled = 0;  // an unreadable file is treated like a missing one
  }
  // Past the data the buffer holds only unread bytes, which neither begin a
  // key nor belong to a value: one of them ends every search as all of them
  // would, and the rest of the buffer is never looked at.
  const std::size_t used = std::min(filled + 1, buffer_.size());
  std::fill(buffer_.begin() + static_cast<std::ptrdiff_t>(filled),
            buffer_.begin() + static_cast<std::ptrdiff_t>(used), kUnread);
  buffer_ = buffer_.first(used);
  SplitLines();
  JoinMultiLineValues();
}

// Every line becomes a NUL-terminated text.
void SupportInfoFile::SplitLines() {
  for (std::size_t i = 0; i < buffer_.size(); ++i) {
    if (buffer_[i] == kCr && i + 1 < buffer_.size() && buffer_[i + 1] == kLf) {
      buffer_[i] = 0;
      buffer_[i + 1] = 0;
      ++i;
    } else if (buffer_[i] == kEndOfFileMark) {
      buffer_[i] = 0;
    }
  }
}

// The two free-text fields keep their line breaks and run up to the next key.
void SupportInfoFile::JoinMultiLineValues() {
  const std::string_view multiLineKeys[] = {Keys()[kInquiryKey], Keys()[kReproductionKey]};
  const std::size_t size = buffer_.size();
  for (std::size_t start = 0; start < size; ++start) {
    const unsigned char c = buffer_[start];
    if (c != static_cast<unsigned char>(multiLineKeys[0].front()) &&
        c != static_cast<unsigned char>(multiLineKeys[1].front())) {
      continue;  // most bytes of the buffer begin no key
    }
    auto key = std::find_if(std::begin(multiLineKeys), std::end(multiLineKeys),
                            [&](std::string_view k) { return StartsAt(buffer_, start, k); });
    if (key == std::end(multiLineKeys)) continue;
    for (std::size_t i = start + key->size(); i < size; ++i) {
      if (buffer_[i] == kUnread) {
        buffer_[i] = 0;
        break;
      }
      if (buffer_[i] == '[' && i + 1 < size && buffer_[i + 1] == '=') {
        // i is at least the key's length past start, so both bytes exist.
        buffer_[i - 2] = 0;
        buffer_[i - 1] = 0;
        break;
      }
      if (buffer_[i] == 0 && i + 1 < size && buffer_[i + 1] == 0) {
        buffer_[i] = kCr;
        buffer_[i + 1] = kLf;
        ++i;
      }
    }
  }
}

std::string SupportInfoFile::Lookup(std::string_view key) {
  if (!Load()) return {};
  for (std::size_t start = 0; start < buffer_.size(); ++start) {
    if (!StartsAt(buffer_, start, key)) continue;
    auto value = buffer_.begin() + static_cast<std::ptrdiff_t>(start + key.size());
    // The value ends at its line's NUL, or where the file's data ends.
    auto end =
        std::find_if(value, buffer_.end(), [](unsigned char c) { return c == 0 || c == kUnread; });
    return std::string(value, end);
  }
  return {};
}

}  // namespace pv14
