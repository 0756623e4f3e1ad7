#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/unit/ReportFixture.h"

namespace pv14::testing {
namespace {

// The remark is stored as the engine stores it: up to the whole field, with
// no terminator when it fills the field.
void Store(char (&field)[kSpecialCircumstancesSize], const std::string& text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text.data(), std::min(text.size(), sizeof field));
}

std::string Lines(const std::vector<std::string>& values) {
  std::string text;
  for (std::size_t k = 0; k < values.size(); ++k) {
    text += Element(4, "TOKUSYUJIJOU" + std::to_string(k + 1), values[k]);
  }
  return text;
}

std::vector<std::string> Padded(std::vector<std::string> values, std::size_t lines) {
  values.resize(lines);
  return values;
}

std::string NumberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += (i < 10 ? "L0" : "L") + std::to_string(i) + (i < count ? "\r\n" : "");
  }
  return text;
}

const std::string kA = "\x82\xA0";   // one double-byte character
const std::string kEq = "\x81\x81";  // its second byte lies in the lead-byte range
const std::string kFull(1025, 'z');  // fills the field, no terminator

struct RemarkCase {
  const char* name;
  std::string text;
  int width;
  int lines;
  std::vector<std::string> expected;
};

class SpecialCircumstancesTest : public ::testing::TestWithParam<RemarkCase> {};

TEST_P(SpecialCircumstancesTest, WritesExactlyTheAskedLines) {
  const RemarkCase& c = GetParam();
  CollectedData data;
  Store(NewZeroBlock(data.GeneralSaveInfo.Special).SpecialCircumstances, c.text);
  const SectionRun w = RunSection(data, [&](ReportWriter& writer, XmlOutput& out) {
    return writer.WriteSpecialCircumstancesGeneral(out, c.width, c.lines);
  });
  EXPECT_EQ(w.result, 1);
  EXPECT_EQ(w.bytes, Lines(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpecialCircumstancesTest,
    ::testing::Values(
        RemarkCase{"EmptyTextEmptyLines", "", 60, 5, Padded({}, 5)},
        RemarkCase{"LineBreakEndsALine", "abc\r\ndef", 60, 5, Padded({"abc", "def"}, 5)},
        RemarkCase{"CutAtTheWidth", std::string(70, 'x'), 60, 5,
                   Padded({std::string(60, 'x'), std::string(10, 'x')}, 5)},
        RemarkCase{"DoubleByteCharacterMovesWhole", std::string(59, 'a') + kA + "b", 60, 5,
                   Padded({std::string(59, 'a'), kA + "b"}, 5)},
        RemarkCase{"ClassifiedFromTheFirstByte", std::string(58, 'a') + kEq + "AB", 60, 5,
                   Padded({std::string(58, 'a') + kEq, "AB"}, 5)},
        RemarkCase{"TwoLineBreaksGiveAnEmptyLine", "abc\r\n\r\ndef", 60, 5,
                   Padded({"abc", "", "def"}, 5)},
        RemarkCase{"FullLineThenLineBreak", std::string(60, 'y') + "\r\nxyz", 60, 5,
                   Padded({std::string(60, 'y'), "xyz"}, 5)},
        RemarkCase{"LoneCrAndLfStayInTheLine", "a\rb\nc", 60, 2, Padded({"a\rb\nc"}, 2)},
        RemarkCase{"FortyLinesIntoTwentyFive", NumberedLines(40), 30, 25,
                   [] {
                     std::vector<std::string> lines;
                     for (int i = 1; i <= 25; ++i) {
                       lines.push_back((i < 10 ? "L0" : "L") + std::to_string(i));
                     }
                     return lines;
                   }()},
        RemarkCase{"WholeFieldWithoutTerminator", kFull, 30, 25,
                   std::vector<std::string>(25, std::string(30, 'z'))},
        RemarkCase{"ExaminesAtMost960Bytes", kFull, 60, 20,
                   Padded(std::vector<std::string>(15, std::string(60, 'z')), 20)},
        RemarkCase{"NoLinesAsked", "abc", 60, 0, {}},
        RemarkCase{"WidthBelowTwoActsAsTwo", "abcd", 1, 3, Padded({"ab", "cd"}, 3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpecialCircumstancesRealEstateTest, ReadsTheRealEstateRecord) {
  CollectedData data;
  Store(NewZeroBlock(data.GeneralSaveInfo.Special).SpecialCircumstances, "general");
  Store(NewZeroBlock(data.RealEstateSaveInfo.Special).SpecialCircumstances, "real\r\nestate");
  const SectionRun w = RunSection(data, [](ReportWriter& writer, XmlOutput& out) {
    return writer.WriteSpecialCircumstancesRealEstate(out, 30, 3);
  });
  EXPECT_EQ(w.result, 1);
  EXPECT_EQ(w.bytes, Lines({"real", "estate", ""}));
}

TEST(SpecialCircumstancesRealEstateTest, MissingBlockGivesEmptyLinesAndStopsAtFailures) {
  CollectedData data;
  const Operation op = [](ReportWriter& writer, XmlOutput& out) {
    return writer.WriteSpecialCircumstancesRealEstate(out, 30, 25);
  };
  EXPECT_EQ(RunSection(data, op).bytes, Lines(Padded({}, 25)));
  Store(NewZeroBlock(data.RealEstateSaveInfo.Special).SpecialCircumstances, NumberedLines(3));
  ExpectStopsAtEveryFailedWrite(data, op);
}

}  // namespace
}  // namespace pv14::testing
