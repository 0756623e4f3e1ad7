#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "report/XmlOutput.h"
#include "resources/Text.h"
#include "tests/fakes/MemoryFile.h"

namespace pv14 {
namespace {

using testing::MemoryFile;

const std::string kPath = "Z:\\out\\report.xml";

struct LineCase {
  const char* name;
  std::function<int(XmlOutput&, std::string&)> write;
  std::string expected;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class XmlOutputLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(XmlOutputLineTest, WritesOneLine) {
  MemoryFile file;
  XmlOutput out;
  ASSERT_EQ(out.Open(&file, &kPath), 0);
  std::string line = "previous content of the caller's buffer";
  EXPECT_EQ(GetParam().write(out, line), 1);
  ASSERT_EQ(file.lines.size(), 1u);
  EXPECT_EQ(file.lines[0], GetParam().expected);
  EXPECT_EQ(line, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, XmlOutputLineTest,
    ::testing::Values(
        LineCase{"StartTagIndentedOnce",
                 [](XmlOutput& o, std::string& l) { return o.OpenTag(l, "SYSTEM", 1); },
                 "\t<SYSTEM>\r\n"},
        LineCase{"StartTagWithCount",
                 [](XmlOutput& o, std::string& l) {
                   return o.OpenTag(l, "FUDOUSAN_UTIWAKE", 4, "COUNT", "3");
                 },
                 "\t\t\t\t<FUDOUSAN_UTIWAKE COUNT=\"3\">\r\n"},
        LineCase{
            "StartTagWithTwoAttributes",
            [](XmlOutput& o, std::string& l) { return o.OpenTag(l, "R", 0, "A", "1", "B", "2"); },
            "<R A=\"1\" B=\"2\">\r\n"},
        LineCase{"StartTagSecondAttributeAloneIsDropped",
                 [](XmlOutput& o, std::string& l) {
                   return o.OpenTag(l, "R", 0, nullptr, nullptr, "B", "2");
                 },
                 "<R>\r\n"},
        LineCase{"StartTagIncompleteFirstDropsBoth",
                 [](XmlOutput& o, std::string& l) {
                   return o.OpenTag(l, "R", 0, "A", nullptr, "B", "2");
                 },
                 "<R>\r\n"},
        LineCase{"StartTagIncompleteSecondIsDropped",
                 [](XmlOutput& o, std::string& l) {
                   return o.OpenTag(l, "R", 0, "A", "1", nullptr, "2");
                 },
                 "<R A=\"1\">\r\n"},
        LineCase{"StartTagAttributeValueEscaped",
                 [](XmlOutput& o, std::string& l) { return o.OpenTag(l, "R", 0, "A", "<&\"'>"); },
                 "<R A=\"&lt;&amp;&quot;&apos;&gt;\">\r\n"},
        LineCase{"ElementWithValue",
                 [](XmlOutput& o, std::string& l) { return o.WriteElement(l, "VERSION", "1", 2); },
                 "\t\t<VERSION>1</VERSION>\r\n"},
        LineCase{"ElementEmptyHasNothingBetweenTags",
                 [](XmlOutput& o, std::string& l) { return o.WriteElement(l, "A", "", 0); },
                 "<A></A>\r\n"},
        LineCase{
            "ElementValueEscaped",
            [](XmlOutput& o, std::string& l) { return o.WriteElement(l, "V", "A&B <\"x\">'", 0); },
            "<V>A&amp;B &lt;&quot;x&quot;&gt;&apos;</V>\r\n"},
        LineCase{
            "ElementControlCharactersKept",
            [](XmlOutput& o, std::string& l) { return o.WriteElement(l, "V", "a\tb\r\nc", 0); },
            "<V>a\tb\r\nc</V>\r\n"},
        LineCase{"ElementDoubleByteTrailBytesUntouched",
                 [](XmlOutput& o, std::string& l) { return o.WriteElement(l, "V", SJ("ソ表"), 0); },
                 "<V>" + SJ("ソ表") + "</V>\r\n"},
        LineCase{"ElementWithTwoAttributes",
                 [](XmlOutput& o, std::string& l) {
                   return o.WriteElement(l, "ROW", "v", 5, "COUNT", "1", "KIND", "a&b");
                 },
                 "\t\t\t\t\t<ROW COUNT=\"1\" KIND=\"a&amp;b\">v</ROW>\r\n"},
        LineCase{
            "ElementSecondAttributeAloneIsDropped",
            [](XmlOutput& o,
               std::string&
                   l) { return o.WriteElement(l, "ROW", "v", 0, nullptr, nullptr, "KIND", "x"); },
            "<ROW>v</ROW>\r\n"},
        LineCase{"EndTagWithoutIndentation",
                 [](XmlOutput& o, std::string& l) { return o.CloseTag(l, "REPORT", 0); },
                 "</REPORT>\r\n"},
        LineCase{"EndTagIndented",
                 [](XmlOutput& o, std::string& l) { return o.CloseTag(l, "SEIZOUGENKA", 3); },
                 "\t\t\t</SEIZOUGENKA>\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XmlOutputTest, TextIsWrittenByteForByteWithoutLineEnd) {
  MemoryFile file;
  XmlOutput out;
  ASSERT_EQ(out.Open(&file, &kPath), 0);
  EXPECT_EQ(out.WriteText("<?x a=\"&\"?>"), 1);
  EXPECT_EQ(out.WriteText(std::string_view("a\0b", 3)), 1);
  EXPECT_EQ(file.lines, (std::vector<std::string>{"<?x a=\"&\"?>", std::string("a\0b", 3)}));
}

struct EscapeCase {
  const char* name;
  std::string input;
  std::optional<std::string> expected;
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }

class XmlOutputEscapeTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(XmlOutputEscapeTest, Escapes) {
  EXPECT_EQ(XmlOutput::Escape(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, XmlOutputEscapeTest,
    ::testing::Values(EscapeCase{"Plain", "abc", "abc"}, EscapeCase{"Empty", "", ""},
                      EscapeCase{"AllFive", "&><\"'", "&amp;&gt;&lt;&quot;&apos;"},
                      EscapeCase{"AlreadyAnEntityIsEscapedAgain", "&amp;", "&amp;amp;"},
                      EscapeCase{"InputAtTheLimit", std::string(255, 'x'), std::string(255, 'x')},
                      EscapeCase{"InputOverTheLimit", std::string(256, 'x'), std::nullopt},
                      EscapeCase{"ResultAtTheLimit", std::string(51, '&'),
                                 [] {
                                   std::string s;
                                   for (int i = 0; i < 51; ++i) s += "&amp;";
                                   return s;
                                 }()},
                      EscapeCase{"ResultOverTheLimit", std::string(52, '&'), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// Every kind of write, so the failure tests can try each one.
const std::function<int(XmlOutput&, std::string&)> kEveryWrite[] = {
    [](XmlOutput& o, std::string&) { return o.WriteText("x"); },
    [](XmlOutput& o, std::string& l) { return o.OpenTag(l, "A", 1); },
    [](XmlOutput& o, std::string& l) { return o.WriteElement(l, "A", "v", 1); },
    [](XmlOutput& o, std::string& l) { return o.CloseTag(l, "A", 1); },
};

TEST(XmlOutputTest, FailedWriteClosesTheFileAndFailsEveryLaterWrite) {
  MemoryFile file(/*failAtWrite=*/2);
  XmlOutput out;
  ASSERT_EQ(out.Open(&file, &kPath), 0);
  std::string line;
  EXPECT_EQ(out.OpenTag(line, "REPORT", 0), 1);
  EXPECT_EQ(out.OpenTag(line, "SYSTEM", 1), 0);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.closes, 1);
  for (const auto& write : kEveryWrite) EXPECT_EQ(write(out, line), 0);
  EXPECT_EQ(file.contents, "<REPORT>\r\n");
  EXPECT_EQ(file.writes, 2);  // the later writes never reached the file
  EXPECT_EQ(out.Close(), 0);
  EXPECT_EQ(file.closes, 1);
}

struct OverLimitCase {
  const char* name;
  std::function<int(XmlOutput&, std::string&)> write;
};

void PrintTo(const OverLimitCase& c, std::ostream* os) { *os << c.name; }

class XmlOutputLimitTest : public ::testing::TestWithParam<OverLimitCase> {};

// A line longer than the limit is never written, not even in part; it fails
// like a full disk.
TEST_P(XmlOutputLimitTest, OverLongLineFailsWithoutWriting) {
  MemoryFile file;
  XmlOutput out;
  ASSERT_EQ(out.Open(&file, &kPath), 0);
  std::string line;
  EXPECT_EQ(GetParam().write(out, line), 0);
  EXPECT_EQ(file.writes, 0);
  EXPECT_TRUE(file.contents.empty());
  EXPECT_FALSE(file.IsOpen());
  for (const auto& write : kEveryWrite) EXPECT_EQ(write(out, line), 0);
  EXPECT_EQ(file.writes, 0);
}

// "<A>" value "</A>" CR LF takes 9 bytes besides the value.
const std::string kValueFillingLine(246, 'v');

INSTANTIATE_TEST_SUITE_P(
    Lines, XmlOutputLimitTest,
    ::testing::Values(OverLimitCase{"ElementOneByteTooLong",
                                    [](XmlOutput& o, std::string& l) {
                                      return o.WriteElement(l, "A", kValueFillingLine + "v", 0);
                                    }},
                      OverLimitCase{"ElementValueTooLongToEscape",
                                    [](XmlOutput& o, std::string& l) {
                                      return o.WriteElement(l, "A", std::string(60, '&'), 0);
                                    }},
                      OverLimitCase{"IndentationPushesOverTheLimit",
                                    [](XmlOutput& o, std::string& l) {
                                      return o.WriteElement(l, "A", kValueFillingLine, 1);
                                    }},
                      OverLimitCase{"StartTagAttributeTooLong",
                                    [](XmlOutput& o, std::string& l) {
                                      static const std::string value(250, 'a');
                                      return o.OpenTag(l, "A", 0, "N", value.c_str());
                                    }},
                      OverLimitCase{"EndTagNameTooLong",
                                    [](XmlOutput& o, std::string& l) {
                                      static const std::string name(252, 'N');
                                      return o.CloseTag(l, name.c_str(), 0);
                                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XmlOutputTest, LineOfExactlyTheLimitIsWritten) {
  MemoryFile file;
  XmlOutput out;
  ASSERT_EQ(out.Open(&file, &kPath), 0);
  std::string line;
  EXPECT_EQ(out.WriteElement(line, "A", kValueFillingLine, 0), 1);
  ASSERT_EQ(file.lines.size(), 1u);
  EXPECT_EQ(file.lines[0].size(), XmlOutput::kMaxLine);
}

TEST(XmlOutputTest, OpenCreatesOrTruncatesWriteOnly) {
  MemoryFile file;
  file.contents = "old report";
  XmlOutput out;
  EXPECT_EQ(out.Open(&file, &kPath), 0);
  EXPECT_EQ(file.flags(), File::kCreate | File::kWrite);
  EXPECT_EQ(file.path(), kPath);
  EXPECT_EQ(out.Path(), kPath);
  EXPECT_TRUE(file.contents.empty());
}

TEST(XmlOutputTest, OpenRefusesMissingFileOrPath) {
  MemoryFile file;
  XmlOutput out;
  EXPECT_EQ(out.Open(nullptr, &kPath), -1);
  EXPECT_EQ(out.Open(&file, nullptr), -1);
  EXPECT_EQ(file.opens, 0);
  EXPECT_EQ(out.WriteText("x"), 0);  // nothing attached
  EXPECT_TRUE(out.Path().empty());
}

TEST(XmlOutputTest, FileThatCannotBeOpenedFailsOpenAndEveryWrite) {
  MemoryFile file;
  file.failOpen = true;
  XmlOutput out;
  EXPECT_EQ(out.Open(&file, &kPath), -1);
  std::string line;
  for (const auto& write : kEveryWrite) EXPECT_EQ(write(out, line), 0);
  EXPECT_EQ(file.writes, 0);
  EXPECT_EQ(out.Close(), 0);
}

TEST(XmlOutputTest, CloseAndDestructionCloseTheFileOnce) {
  MemoryFile closed;
  {
    XmlOutput out;
    ASSERT_EQ(out.Open(&closed, &kPath), 0);
    EXPECT_EQ(out.Close(), 0);
    EXPECT_EQ(out.WriteText("x"), 0);
  }
  EXPECT_EQ(closed.closes, 1);

  MemoryFile leftOpen;
  {
    XmlOutput out;
    ASSERT_EQ(out.Open(&leftOpen, &kPath), 0);
  }
  EXPECT_EQ(leftOpen.closes, 1);
  EXPECT_FALSE(leftOpen.IsOpen());
}

}  // namespace
}  // namespace pv14
