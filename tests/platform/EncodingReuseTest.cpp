// Conversions between UTF-8 and Shift_JIS through descriptors kept open
// between calls: every result is as from a fresh descriptor, whatever the
// calls before it left behind, and on every thread.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Encoding.h"

namespace pv14::testing {
namespace {

enum class Direction { kToCp932, kToUtf8 };

std::optional<std::string> Convert(Direction direction, const std::string& in) {
  return direction == Direction::kToCp932 ? Utf8ToCp932(in) : Cp932ToUtf8(in);
}

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

struct ConversionCase {
  const char* name;
  Direction direction;
  std::string in;
  std::optional<std::string> out;
};

class Conversions : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Conversions, GiveTheSameResultAfterAFailureAndAgain) {
  const ConversionCase& c = GetParam();
  // Input that ends inside a character leaves the descriptor mid-way.
  const std::string cut = c.direction == Direction::kToCp932 ? "\xE6\x89" : "\x8F";
  EXPECT_EQ(Convert(c.direction, cut), std::nullopt);
  EXPECT_EQ(Convert(c.direction, c.in), c.out);
  EXPECT_EQ(Convert(c.direction, c.in), c.out) << "and again";
}

INSTANTIATE_TEST_SUITE_P(
    Encoding, Conversions,
    ::testing::Values(
        ConversionCase{"EmptyToCp932", Direction::kToCp932, "", ""},
        ConversionCase{"EmptyToUtf8", Direction::kToUtf8, "", ""},
        ConversionCase{"AsciiToCp932", Direction::kToCp932, "Z:\\out\\a.xml", "Z:\\out\\a.xml"},
        ConversionCase{"DoubleByteToCp932", Direction::kToCp932, "所得税",
                       "\x8F\x8A\x93\xBE\x90\xC5"},
        ConversionCase{"DoubleByteToUtf8", Direction::kToUtf8, "\x8F\x8A\x93\xBE\x90\xC5",
                       "所得税"},
        // One byte becomes three: the output outgrows its first buffer.
        ConversionCase{"LongHalfWidthTextToUtf8", Direction::kToUtf8, std::string(3000, '\xB1'),
                       Repeat("ｱ", 3000)},
        ConversionCase{"LongTextToCp932", Direction::kToCp932, Repeat("表ｱa", 2000),
                       Repeat("\x95\x5C\xB1"
                              "a",
                              2000)},
        ConversionCase{"NoCp932Form", Direction::kToCp932, "한국", std::nullopt},
        ConversionCase{"InvalidUtf8", Direction::kToCp932, "a\xFF", std::nullopt},
        ConversionCase{"LeadByteAtTheEnd", Direction::kToUtf8, "ab\x95", std::nullopt},
        ConversionCase{"InvalidTrailByte", Direction::kToUtf8, "\x95\x0A", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Encoding, LossyDisplayReplacesOnlyTheBadBytes) {
  EXPECT_EQ(Cp932ToUtf8Lossy("a\x95\x5C\xFF"
                             "b"),
            "a表\xEF\xBF\xBD"
            "b");
}

TEST(Encoding, ThreadsConvertAtTheSameTime) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  std::vector<int> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &wrong] {
      const std::string utf8 = "集計中 " + std::to_string(t) + "％";
      for (int i = 0; i < kRounds; ++i) {
        const std::optional<std::string> sjis = Utf8ToCp932(utf8);
        if (!sjis || Cp932ToUtf8(*sjis) != utf8 || Utf8ToCp932("\xFF")) ++wrong[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace pv14::testing
