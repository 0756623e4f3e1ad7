#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "report/XmlOutput.h"
#include "resources/Text.h"
#include "tests/fakes/MemoryFile.h"

namespace pv14 {
namespace {

using testing::MemoryFile;
using Write = std::function<int(XmlOutput&, std::string&)>;

const std::string kPath = "Z:\\out\\report.xml";

struct LineCase {
  const char* name;
  Write write;
  std::string expected;
};

TEST(XmlOutputTest, LineForms) {
  const LineCase cases[] = {
      {"start tag", [](auto& o, auto& l) { return o.OpenTag(l, "SYSTEM", 1); }, "\t<SYSTEM>\r\n"},
      {"counted row",
       [](auto& o, auto& l) { return o.OpenTag(l, "FUDOUSAN_UTIWAKE", 4, "COUNT", "3"); },
       "\t\t\t\t<FUDOUSAN_UTIWAKE COUNT=\"3\">\r\n"},
      {"two attributes", [](auto& o, auto& l) { return o.OpenTag(l, "R", 0, "A", "1", "B", "2"); },
       "<R A=\"1\" B=\"2\">\r\n"},
      {"second alone",
       [](auto& o, auto& l) { return o.OpenTag(l, "R", 0, nullptr, nullptr, "B", "2"); },
       "<R>\r\n"},
      {"first incomplete",
       [](auto& o, auto& l) { return o.OpenTag(l, "R", 0, "A", nullptr, "B", "2"); }, "<R>\r\n"},
      {"attribute escaped", [](auto& o, auto& l) { return o.OpenTag(l, "R", 0, "A", "<&\"'>"); },
       "<R A=\"&lt;&amp;&quot;&apos;&gt;\">\r\n"},
      {"element", [](auto& o, auto& l) { return o.WriteElement(l, "VERSION", "1", 2); },
       "\t\t<VERSION>1</VERSION>\r\n"},
      {"empty element", [](auto& o, auto& l) { return o.WriteElement(l, "A", "", 0); },
       "<A></A>\r\n"},
      {"value escaped", [](auto& o, auto& l) { return o.WriteElement(l, "V", "A&B <\"x\">'", 0); },
       "<V>A&amp;B &lt;&quot;x&quot;&gt;&apos;</V>\r\n"},
      {"controls kept", [](auto& o, auto& l) { return o.WriteElement(l, "V", "a\tb\r\n", 0); },
       "<V>a\tb\r\n</V>\r\n"},
      {"trail bytes kept", [](auto& o, auto& l) { return o.WriteElement(l, "V", SJ("ソ表"), 0); },
       "<V>" + SJ("ソ表") + "</V>\r\n"},
      {"element attributes",
       [](auto& o, auto& l) { return o.WriteElement(l, "R", "v", 5, "COUNT", "1", "K", "a&b"); },
       "\t\t\t\t\t<R COUNT=\"1\" K=\"a&amp;b\">v</R>\r\n"},
      {"end tag", [](auto& o, auto& l) { return o.CloseTag(l, "REPORT", 0); }, "</REPORT>\r\n"},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFile file;
    XmlOutput out;
    ASSERT_EQ(out.Open(&file, &kPath), 0);
    std::string line = "previous content";
    EXPECT_EQ(c.write(out, line), 1);
    EXPECT_EQ(file.lines, std::vector<std::string>{c.expected});
    EXPECT_EQ(line, c.expected);
  }
}

TEST(XmlOutputTest, TextIsWrittenByteForByteWithoutLineEnd) {
  MemoryFile file;
  XmlOutput out;
  ASSERT_EQ(out.Open(&file, &kPath), 0);
  EXPECT_EQ(out.WriteText("<?x a=\"&\"?>"), 1);
  EXPECT_EQ(file.contents, "<?x a=\"&\"?>");
}

std::string Repeat(std::string_view text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

TEST(XmlOutputTest, EscapeWithinTheLimit) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"abc", "abc"},
      {"&amp;", "&amp;amp;"},
      {std::string(255, 'x'), std::string(255, 'x')},
      {std::string(256, 'x'), std::nullopt},
      {std::string(51, '&'), Repeat("&amp;", 51)},
      {std::string(52, '&'), std::nullopt},
  };
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(XmlOutput::Escape(input), expected) << input.size();
  }
}

// Every kind of write, to show that none gets through after a failure.
const Write kEveryWrite[] = {
    [](auto& o, auto&) { return o.WriteText("x"); },
    [](auto& o, auto& l) { return o.OpenTag(l, "A", 1); },
    [](auto& o, auto& l) { return o.WriteElement(l, "A", "v", 1); },
    [](auto& o, auto& l) { return o.CloseTag(l, "A", 1); },
};

void ExpectEveryLaterWriteFails(XmlOutput& out, MemoryFile& file) {
  const int writes = file.writes;
  std::string line;
  for (const Write& write : kEveryWrite) EXPECT_EQ(write(out, line), 0);
  EXPECT_EQ(file.writes, writes);
  EXPECT_EQ(out.Close(), 0);
  EXPECT_EQ(file.closes, 1);
}

TEST(XmlOutputTest, FailedWriteClosesTheFileForGood) {
  MemoryFile file(/*failAtWrite=*/2);
  XmlOutput out;
  ASSERT_EQ(out.Open(&file, &kPath), 0);
  std::string line;
  EXPECT_EQ(out.OpenTag(line, "REPORT", 0), 1);
  EXPECT_EQ(out.OpenTag(line, "SYSTEM", 1), 0);
  EXPECT_FALSE(file.IsOpen());
  ExpectEveryLaterWriteFails(out, file);
  EXPECT_EQ(file.contents, "<REPORT>\r\n");
}

// A line over 255 bytes is not written at all and fails like a full disk.
TEST(XmlOutputTest, OverLongLineFailsWithoutWriting) {
  const std::string fills(246, 'v');  // "<A>" and "</A>" CR LF make 255
  const Write overLong[] = {
      [&](auto& o, auto& l) { return o.WriteElement(l, "A", fills + "v", 0); },
      [&](auto& o, auto& l) { return o.WriteElement(l, "A", fills, 1); },
      [](auto& o, auto& l) { return o.WriteElement(l, "A", std::string(60, '&'), 0); },
      [](auto& o, auto& l) { return o.OpenTag(l, "A", 0, "N", std::string(250, 'a').c_str()); },
      [](auto& o, auto& l) { return o.CloseTag(l, std::string(252, 'N').c_str(), 0); },
  };
  for (const Write& write : overLong) {
    MemoryFile file;
    XmlOutput out;
    ASSERT_EQ(out.Open(&file, &kPath), 0);
    std::string line;
    EXPECT_EQ(write(out, line), 0);
    EXPECT_TRUE(file.contents.empty());
    ExpectEveryLaterWriteFails(out, file);
  }
  MemoryFile file;
  XmlOutput out;
  ASSERT_EQ(out.Open(&file, &kPath), 0);
  std::string line;
  EXPECT_EQ(out.WriteElement(line, "A", fills, 0), 1);
  EXPECT_EQ(file.contents.size(), XmlOutput::kMaxLine);
}

TEST(XmlOutputTest, OpenCreatesWriteOnlyOrRefuses) {
  MemoryFile file;
  XmlOutput out;
  EXPECT_EQ(out.Open(nullptr, &kPath), -1);
  EXPECT_EQ(out.Open(&file, nullptr), -1);
  EXPECT_EQ(file.opens, 0);
  EXPECT_EQ(out.Open(&file, &kPath), 0);
  EXPECT_EQ(file.flags(), File::kCreate | File::kWrite);
  EXPECT_EQ(out.Path(), kPath);

  MemoryFile unopenable;
  unopenable.failOpen = true;
  XmlOutput refused;
  EXPECT_EQ(refused.Open(&unopenable, &kPath), -1);
  std::string line;
  for (const Write& write : kEveryWrite) EXPECT_EQ(write(refused, line), 0);
}

TEST(XmlOutputTest, DestructionClosesAnAttachedFile) {
  MemoryFile file;
  {
    XmlOutput out;
    ASSERT_EQ(out.Open(&file, &kPath), 0);
  }
  EXPECT_EQ(file.closes, 1);
}

}  // namespace
}  // namespace pv14
