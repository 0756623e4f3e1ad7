#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "report/SupportInfoFile.h"
#include "resources/Text.h"
#include "tests/fakes/FakeUi.h"
#include "tests/fakes/ForwardingEnv.h"
#include "tests/fakes/MemoryFile.h"

namespace pv14 {
namespace {

using testing::MemoryFile;

// Hands out the file objects a test makes; records what was opened.
class SupportEnv : public testing::ForwardingEnv {
 public:
  explicit SupportEnv(std::function<std::unique_ptr<File>()> make)
      : ForwardingEnv(Env::Default()), make_(std::move(make)) {}
  std::unique_ptr<File> NewFile() override {
    ++newFileCalls;
    return make_();
  }
  int newFileCalls = 0;

 private:
  std::function<std::unique_ptr<File>()> make_;
};

// A support file holding the given bytes; it remembers how it was opened.
struct FileState {
  std::string contents;
  bool exists = true;
  bool readFails = false;
  std::size_t chunk = 0;  // bytes per read call; 0 all at once
  std::string openedPath;
  unsigned openedFlags = 0;
  int opens = 0;
  int closes = 0;
};

class SupportFile : public File {
 public:
  explicit SupportFile(FileState& state) : s_(state) {}
  bool Open(const std::string& path, unsigned flags) override {
    s_.openedPath = path;
    s_.openedFlags = flags;
    ++s_.opens;
    open_ = s_.exists;
    return open_;
  }
  bool Write(const void*, std::size_t) override { return false; }
  bool Read(void* buffer, std::size_t size, std::size_t* got) override {
    if (!open_ || s_.readFails) return false;
    std::size_t n = std::min(size, s_.contents.size() - pos_);
    if (s_.chunk != 0) n = std::min(n, s_.chunk);
    s_.contents.copy(static_cast<char*>(buffer), n, pos_);
    pos_ += n;
    *got = n;
    return true;
  }
  void Close() override {
    if (open_) ++s_.closes;
    open_ = false;
  }
  bool IsOpen() const override { return open_; }

 private:
  FileState& s_;
  bool open_ = false;
  std::size_t pos_ = 0;
};

struct Answers {
  std::string name;
  std::string version;
};

Answers Read(FileState& state) {
  SupportEnv env([&] { return std::make_unique<SupportFile>(state); });
  SupportInfoFile info(env);
  return {info.ProductName(), info.ProductVersion()};
}

const std::string& NameKey() { return SupportInfoFile::Keys()[SupportInfoFile::kProductNameKey]; }
const std::string& VersionKey() {
  return SupportInfoFile::Keys()[SupportInfoFile::kProductVersionKey];
}

TEST(SupportInfoFileTest, KeyTableHoldsTheFormsKeysWithTheirLengths) {
  const auto& keys = SupportInfoFile::Keys();
  ASSERT_EQ(keys.size(), 21u);
  EXPECT_EQ(keys[SupportInfoFile::kProductNameKey], SJ("[=製品名=]"));
  EXPECT_EQ(keys[SupportInfoFile::kProductNameKey].size(), 10u);
  // The half-width katakana are single bytes.
  EXPECT_EQ(keys[SupportInfoFile::kProductVersionKey].size(), 15u);
  EXPECT_EQ(keys[SupportInfoFile::kInquiryKey], SJ("[=お問い合わせ内容=]"));
  EXPECT_EQ(keys[SupportInfoFile::kInquiryKey].size(), 20u);
  EXPECT_EQ(keys[SupportInfoFile::kReproductionKey].size(), 28u);
  EXPECT_EQ(keys.back(), SJ("[=再現性=]"));
}

struct LookupCase {
  const char* name;
  std::string contents;
  std::string expectedName;
  std::string expectedVersion;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class SupportInfoLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(SupportInfoLookupTest, Answers) {
  FileState state;
  state.contents = GetParam().contents;
  Answers answers = Read(state);
  EXPECT_EQ(answers.name, GetParam().expectedName);
  EXPECT_EQ(answers.version, GetParam().expectedVersion);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SupportInfoLookupTest,
    ::testing::Values(
        LookupCase{"NameWithoutLineEnd", NameKey() + SJ("勘定丸１９") + "\r\n", SJ("勘定丸１９"),
                   ""},
        LookupCase{"BothKeys", VersionKey() + "19.00.03\r\n" + NameKey() + "Name\r\n", "Name",
                   "19.00.03"},
        LookupCase{"BlankAfterKeyKept", NameKey() + " Name \r\n", " Name ", ""},
        LookupCase{"FirstOfTwoOccurrences", NameKey() + "First\r\n" + NameKey() + "Second\r\n",
                   "First", ""},
        LookupCase{"LastLineWithoutLineEnd", "x\r\n" + NameKey() + "Last", "Last", ""},
        LookupCase{"EndOfFileMarkNotPartOfValue", NameKey() + "Name\x1A", "Name", ""},
        LookupCase{"KeyInsideALine", "note " + NameKey() + "Mid\r\n", "Mid", ""},
        LookupCase{"LoneCarriageReturnStaysInValue", NameKey() + "a\rb\r\n", "a\rb", ""},
        LookupCase{"LoneLineFeedStaysInValue", NameKey() + "a\nb\r\n", "a\nb", ""},
        LookupCase{"KeyWithNothingAfterIt", NameKey() + "\r\n" + VersionKey(), "", ""},
        LookupCase{"MissingKeys", "[=会社名=]X\r\n", "", ""}, LookupCase{"EmptyFile", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SupportInfoFileTest, MultiLineFieldKeepsLineBreaksUpToTheNextKey) {
  FileState state;
  const auto& keys = SupportInfoFile::Keys();
  state.contents = keys[SupportInfoFile::kInquiryKey] + "line 1\r\nline 2\r\n" + NameKey() +
                   "Name\r\n" + keys[SupportInfoFile::kReproductionKey] + "step 1\r\nstep 2\r\n";
  SupportEnv env([&] { return std::make_unique<SupportFile>(state); });
  SupportInfoFile info(env);
  EXPECT_EQ(info.Value(SupportInfoFile::kInquiryKey), "line 1\r\nline 2");
  EXPECT_EQ(info.ProductName(), "Name");
  // The last field runs to the end of the file's data.
  EXPECT_EQ(info.Value(SupportInfoFile::kReproductionKey), "step 1\r\nstep 2\r\n");
  EXPECT_EQ(info.Value(SupportInfoFile::kKeyCount), "");
}

TEST(SupportInfoFileTest, MissingFileAnswersEmptyWithoutMessage) {
  FileState state;
  state.exists = false;
  SupportEnv env([&] { return std::make_unique<SupportFile>(state); });
  testing::FakeUi ui;
  SupportInfoFile info(env, &ui);
  EXPECT_EQ(info.ProductName(), "");
  EXPECT_EQ(info.ProductVersion(), "");
  EXPECT_TRUE(ui.messageBoxes.empty());
  // Not found once means not looked for again by this object.
  EXPECT_EQ(state.opens, 1);
}

TEST(SupportInfoFileTest, FileIsOpenedReadOnlyByNameInTheCurrentFolderAndReadOnce) {
  FileState state;
  state.contents = NameKey() + "Name\r\n" + VersionKey() + "1.0\r\n";
  SupportEnv env([&] { return std::make_unique<SupportFile>(state); });
  SupportInfoFile info(env);
  EXPECT_EQ(state.opens, 0);  // construction touches nothing
  EXPECT_EQ(info.ProductName(), "Name");
  EXPECT_EQ(info.ProductVersion(), "1.0");
  EXPECT_EQ(state.openedPath, "SUPPORT.INF");
  EXPECT_EQ(state.openedFlags, File::kRead);
  EXPECT_EQ(state.opens, 1);
  EXPECT_EQ(state.closes, 1);
  EXPECT_EQ(env.newFileCalls, 1);
}

TEST(SupportInfoFileTest, UnreadableFileAnswersEmpty) {
  FileState state;
  state.contents = NameKey() + "Name\r\n";
  state.readFails = true;
  EXPECT_EQ(Read(state).name, "");
  EXPECT_EQ(state.closes, 1);
}

TEST(SupportInfoFileTest, ShortReadsAreJoined) {
  FileState state;
  state.contents = std::string(1000, 'x') + "\r\n" + NameKey() + "Name\r\n";
  state.chunk = 7;
  EXPECT_EQ(Read(state).name, "Name");
}

TEST(SupportInfoFileTest, NoFileObjectAnswersEmpty) {
  SupportEnv env([] { return nullptr; });
  SupportInfoFile info(env);
  EXPECT_EQ(info.ProductName(), "");
}

// Only the first 30000 bytes are seen, and a value is never read past them.
TEST(SupportInfoFileTest, OnlyTheBufferedStartOfALongFileIsSeen) {
  const std::size_t size = SupportInfoFile::kBufferSize;
  FileState cutValue;
  std::string filler(size - NameKey().size() - 5, 'x');
  cutValue.contents = filler + NameKey() + "ABCDEFGH\r\n" + VersionKey() + "2\r\n";
  EXPECT_EQ(Read(cutValue).name, "ABCDE");
  EXPECT_EQ(Read(cutValue).version, "");

  FileState keyCut;
  keyCut.contents = std::string(size - 4, 'x') + NameKey() + "Name\r\n";
  EXPECT_EQ(Read(keyCut).name, "");

  FileState exact;
  exact.contents = std::string(size - NameKey().size() - 4, 'x') + NameKey() + "Last";
  ASSERT_EQ(exact.contents.size(), size);
  EXPECT_EQ(Read(exact).name, "Last");
}

}  // namespace
}  // namespace pv14
