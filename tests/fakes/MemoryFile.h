// A File that keeps what is written in memory and can refuse the k-th write,
// for the report's fault-injection loops.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Env.h"

namespace pv14::testing {

class MemoryFile : public File {
 public:
  // failAtWrite: 1-based number of the write call that fails; 0 never.
  explicit MemoryFile(int failAtWrite = 0) : failAt_(failAtWrite) {}

  bool Open(const std::string& path, unsigned flags) override {
    if (failOpen) return false;
    path_ = path;
    flags_ = flags;
    if (flags & kCreate) contents.clear();
    open_ = true;
    ++opens;
    return true;
  }
  bool Write(const void* data, std::size_t size) override {
    if (!open_) return false;
    ++writes;
    if (failAt_ != 0 && writes >= failAt_) return false;
    contents.append(static_cast<const char*>(data), size);
    lines.emplace_back(static_cast<const char*>(data), size);
    return true;
  }
  bool Read(void* buffer, std::size_t size, std::size_t* got) override {
    if (!open_ || readPos_ >= failReadAt) return false;
    std::size_t n = std::min({size, contents.size() - readPos_, failReadAt - readPos_});
    contents.copy(static_cast<char*>(buffer), n, readPos_);
    readPos_ += n;
    *got = n;
    return true;
  }
  void Close() override {
    if (open_) ++closes;
    open_ = false;
  }
  bool IsOpen() const override { return open_; }

  const std::string& path() const { return path_; }
  unsigned flags() const { return flags_; }

  std::string contents;            // every byte written
  std::vector<std::string> lines;  // one entry per successful write call
  int writes = 0;                  // write calls made, the failed one included
  int opens = 0;
  int closes = 0;
  bool failOpen = false;
  // Reading stops here: a read call from this byte on fails.
  std::size_t failReadAt = static_cast<std::size_t>(-1);

 private:
  int failAt_;
  bool open_ = false;
  std::string path_;
  unsigned flags_ = 0;
  std::size_t readPos_ = 0;
};

}  // namespace pv14::testing
