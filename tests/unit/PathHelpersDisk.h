// A real disk for the path and settings tests: the POSIX Env over a drive
// table of temporary folders (D: fixed, M: remote, Q: CD-ROM, R: RAM disk,
// U: unknown, \\srv\share), wrapped by an EnvWrapper that logs folder changes and
// fails chosen calls. Any other letter has no volume behind it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/EnvWrapper.h"
#include "platform/posix/PosixEnv.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {

struct FileFaults {
  int writes = 0, failWriteAt = 0;  // 1-based over every file; 0 never fails
  bool failOpenReadWrite = false;
};

// Counts its writes with every other file of its Env, so the k-th write of a
// whole operation can fail.
class CountedFile : public File {
 public:
  CountedFile(std::unique_ptr<File> inner, FileFaults& faults)
      : inner_(std::move(inner)), faults_(faults) {}
  bool Open(const std::string& path, unsigned flags) override {
    bool readWrite = (flags & kReadWrite) == kReadWrite;
    return !(readWrite && faults_.failOpenReadWrite) && inner_->Open(path, flags);
  }
  bool Write(const void* data, std::size_t size) override {
    return ++faults_.writes != faults_.failWriteAt && inner_->Write(data, size);
  }
  bool Read(void* buffer, std::size_t size, std::size_t* got) override {
    return inner_->Read(buffer, size, got);
  }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }

 private:
  std::unique_ptr<File> inner_;
  FileFaults& faults_;
};

class FaultyEnv : public EnvWrapper {
 public:
  using EnvWrapper::EnvWrapper;

  std::unique_ptr<File> NewFile() override {
    return std::make_unique<CountedFile>(target().NewFile(), files);
  }
  bool CreateDirectory(const std::string& path) override {
    if (++creates == failCreateAt || path == failCreate) return false;
    if (!target().CreateDirectory(path)) return false;
    created.push_back(path);
    return true;
  }
  bool RemoveDirectory(const std::string& path) override {
    if (!target().RemoveDirectory(path)) return false;
    removed.push_back(path);
    return true;
  }
  bool ReplaceFile(const std::string& source, const std::string& replaced) override {
    return !failReplace && target().ReplaceFile(source, replaced);
  }
  std::string GetTempPath() override { return tempPath ? *tempPath : target().GetTempPath(); }

  FileFaults files;
  int creates = 0, failCreateAt = 0;  // 1-based; 0 never fails
  std::string failCreate;             // this exact path cannot be created
  bool failReplace = false;
  std::optional<std::string> tempPath;
  std::vector<std::string> created, removed;
};

class DiskTest : public ::testing::Test {
 protected:
  DiskTest() {
    for (const char* dir : {"d", "m", "q", "r", "u", "share"}) {
      std::filesystem::create_directory(tmp.Join(dir));
    }
    const std::string& t = tmp.path();
    std::string error;
    auto drives =
        DriveTable::Parse("D=" + t + "/d;M=" + t + "/m,remote;Q=" + t + "/q,cdrom;R=" + t +
                              "/r,ramdisk;U=" + t + "/u,unknown;\\\\srv\\share=" + t + "/share",
                          &error);
    EXPECT_TRUE(drives) << error;
    posix = NewPosixEnv(*drives);
    env = std::make_unique<FaultyEnv>(*posix);
  }

  // Every entry below the temporary folder with its content ("/" for folders).
  std::map<std::string, std::string> Tree() const {
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tmp.path())) {
      std::string name = std::filesystem::relative(entry.path(), tmp.path()).string();
      tree[name] = entry.is_directory() ? "/" : tmp.ReadFile(name);
    }
    return tree;
  }

  TempDir tmp{"dialogs"};
  std::unique_ptr<Env> posix;
  std::unique_ptr<FaultyEnv> env;
};

}  // namespace pv14::testing
