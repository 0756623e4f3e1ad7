// `ledger-engine load` and `dump` over stores of the tests' own, of each
// kind: what goes in comes out, in the JSON form.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "tests/engine/JsonValues.h"
#include "tests/engine/ToolStore.h"

namespace pv14::testing {
namespace {

bool IsBlank(const Json& value) {
  if (value.is_number()) return value == 0;
  if (value.is_string()) return value.get<std::string>().empty();
  for (const auto& item : value) {
    if (!IsBlank(item)) return false;
  }
  return true;
}

// Every value of the file is in the dump, and what the dump adds is blank:
// the file and the dump say the same with "a missing value is 0 or empty".
void ExpectCovers(const Json& file, const Json& dump, const std::string& path) {
  if (file.is_object()) {
    ASSERT_TRUE(dump.is_object()) << path;
    for (const auto& item : file.items()) {
      ASSERT_TRUE(dump.contains(item.key())) << path << "." << item.key();
      ExpectCovers(item.value(), dump[item.key()], path + "." + item.key());
    }
    for (const auto& item : dump.items()) {
      if (!file.contains(item.key())) {
        EXPECT_TRUE(IsBlank(item.value())) << path << "." << item.key();
      }
    }
  } else if (file.is_array()) {
    ASSERT_TRUE(dump.is_array()) << path;
    ASSERT_LE(file.size(), dump.size()) << path;
    for (std::size_t i = 0; i < dump.size(); ++i) {
      const std::string at = path + "[" + std::to_string(i) + "]";
      if (i < file.size()) {
        ExpectCovers(file[i], dump[i], at);
      } else {
        EXPECT_TRUE(IsBlank(dump[i])) << at;
      }
    }
  } else if (file != dump) {
    const auto left = Scaled(file);
    EXPECT_TRUE(left.has_value() && left == Scaled(dump)) << path << ": " << file << " vs " << dump;
  }
}

class ToolRoundTrip : public StoreSuite<> {};

TEST_P(ToolRoundTrip, SampleLoadsAndItsDumpReloadsToTheSameDump) {
  ProcessResult load = store_.Load(SampleText());
  ASSERT_EQ(load.exitStatus, 0) << load.err;
  ProcessResult first = store_.Dump();
  ASSERT_EQ(first.exitStatus, 0) << first.err;

  ProcessResult reload = store_.Load(first.out);
  ASSERT_EQ(reload.exitStatus, 0) << reload.err;
  ProcessResult second = store_.Dump();
  ASSERT_EQ(second.exitStatus, 0) << second.err;
  EXPECT_EQ(first.out, second.out);
}

TEST_P(ToolRoundTrip, DumpHoldsEveryValueOfTheSample) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  ProcessResult dump = store_.Dump();
  ASSERT_EQ(dump.exitStatus, 0) << dump.err;
  ExpectCovers(Json::parse(SampleText()), Json::parse(dump.out), "");
}

TEST_P(ToolRoundTrip, LoadReplacesTheWholeStore) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  ASSERT_EQ(store_.Load(R"({"DataSets": [{"DataId": "ONLY", "DataNo": 1}]})").exitStatus, 0);
  const Json dump = Json::parse(store_.Dump().out);
  EXPECT_EQ(dump["CurrentUserId"], "");
  EXPECT_TRUE(dump["Users"].empty());
  ASSERT_EQ(dump["DataSets"].size(), 1u);
  EXPECT_EQ(dump["DataSets"][0]["DataId"], "ONLY");
  EXPECT_FALSE(dump.contains("AppFolders"));
}

struct AmountForm {
  const char* name;
  const char* written;  // JSON value as written in the file
  const char* dumped;   // JSON value the dump gives back
};

class AmountForms : public StoreSuite<std::tuple<StoreKind, AmountForm>> {};

TEST_P(AmountForms, ComeBackAsIntegersWhenWholeElseAsShortestDecimalText) {
  const AmountForm& form = std::get<1>(GetParam());
  const std::string file =
      std::string(R"({"DataSets": [{"Statements": {"General": {"PL": [{"ClosingBalance": )") +
      form.written + R"(}]}}, "RealEstateSaveInfo": {"IncomeRows": [{"RowKey": 1, "Area": )" +
      form.written + "}]}}]}";
  ProcessResult load = store_.Load(file);
  ASSERT_EQ(load.exitStatus, 0) << load.err;
  const Json dump = Json::parse(store_.Dump().out);
  const Json expected = Json::parse(form.dumped);
  EXPECT_EQ(dump["DataSets"][0]["Statements"]["General"]["PL"][0]["ClosingBalance"], expected);
  EXPECT_EQ(dump["DataSets"][0]["RealEstateSaveInfo"]["IncomeRows"][0]["Area"], expected);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, AmountForms,
    ::testing::Combine(
        EveryStoreKind(),
        ::testing::Values(
            AmountForm{"Integer", "12345", "12345"}, AmountForm{"WholeText", R"("12345")", "12345"},
            AmountForm{"LeadingZeros", R"("007")", "7"},
            AmountForm{"NegativeHalf", R"("-1234.5")", R"("-1234.5")"},
            AmountForm{"FourDecimals", R"("0.9999")", R"("0.9999")"},
            AmountForm{"PlusSignTrailingZero", R"("+7.50")", R"("7.5")"},
            AmountForm{"SmallestNegative", R"("-0.0001")", R"("-0.0001")"},
            AmountForm{"NegativeZero", R"("-0.0")", "0"},
            AmountForm{"LargestValue", R"("922337203685477.5807")", R"("922337203685477.5807")"},
            AmountForm{"SmallestValue", R"("-922337203685477.5808")", R"("-922337203685477.5808")"},
            AmountForm{"LargestWholeInteger", "922337203685477", "922337203685477"},
            AmountForm{"SmallestWholeInteger", "-922337203685477", "-922337203685477"})),
    [](const auto& info) {
      return StoreKindName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
    });

TEST_P(ToolRoundTrip, LineBreaksStayInSpecialCircumstances) {
  ProcessResult load = store_.Load(
      R"({"DataSets": [{"GeneralSaveInfo": {"SpecialCircumstances": "一行目\r\n二行目\n"}}]})");
  ASSERT_EQ(load.exitStatus, 0) << load.err;
  const Json dump = Json::parse(store_.Dump().out);
  EXPECT_EQ(dump["DataSets"][0]["GeneralSaveInfo"]["SpecialCircumstances"], "一行目\r\n二行目\n");
}

INSTANTIATE_TEST_SUITE_P(Stores, ToolRoundTrip, EveryStoreKind(), StoreKindTestName);

TEST(ToolCommands, LoadCreatesTheFileStoreAndItsFolder) {
  ToolStore store;
  const auto folder = std::filesystem::path(store.DatabasePath()).parent_path();
  ASSERT_FALSE(std::filesystem::exists(folder));
  ProcessResult load = store.Load(R"({"CurrentUserId": "U"})");
  ASSERT_EQ(load.exitStatus, 0) << load.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(store.DatabasePath()));
}

TEST(ToolCommands, DumpWithoutAStoreFailsAndCreatesNone) {
  ToolStore store;
  ProcessResult dump = store.Dump();
  EXPECT_EQ(dump.exitStatus, 3);
  EXPECT_NE(dump.err.find("no store"), std::string::npos) << dump.err;
  EXPECT_TRUE(dump.out.empty());
  EXPECT_FALSE(std::filesystem::exists(store.DatabasePath()));
}

TEST(ToolCommands, LoadOverAFileThatIsNoDatabaseLeavesItAlone) {
  ToolStore store;
  std::filesystem::create_directories(std::filesystem::path(store.DatabasePath()).parent_path());
  const std::string notes = "these are someone's notes, not a database\n";
  WriteFileBytes(store.DatabasePath(), notes);
  ProcessResult load = store.Load(SampleText());
  EXPECT_EQ(load.exitStatus, 3);
  EXPECT_NE(load.err.find("unchanged"), std::string::npos) << load.err;
  EXPECT_EQ(ReadFileBytes(store.DatabasePath()), notes);
}

TEST(ToolCommands, HelpAndWrongUsage) {
  ToolStore store;
  ProcessResult help = store.Run({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("ledger-engine load FILE.json"), std::string::npos);
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"load"}, {"dump", "extra"}, {"unload", "x.json"}}) {
    ProcessResult wrong = store.Run(args);
    EXPECT_EQ(wrong.exitStatus, 2) << ::testing::PrintToString(args);
    EXPECT_NE(wrong.err.find("usage"), std::string::npos);
  }
}

TEST(ToolCommands, AMissingInputFileIsRefused) {
  ToolStore store;
  ProcessResult load = store.Run({"load", store.Folder().Join("absent.json")});
  EXPECT_EQ(load.exitStatus, 1);
  EXPECT_NE(load.err.find("cannot read"), std::string::npos) << load.err;
}

TEST(ToolCommands, ADirectoryGivenToLoadIsSaidToBeOne) {
  ToolStore store;
  ProcessResult load = store.Run({"load", store.Folder().path()});
  EXPECT_EQ(load.exitStatus, 1);
  std::erase(load.err, '\r');  // a text-mode stderr on Windows
  EXPECT_EQ(load.err,
            "ledger-engine: " + store.Folder().path() + " is a directory, not a JSON file\n");
  EXPECT_FALSE(std::filesystem::exists(store.DatabasePath()));
}

}  // namespace
}  // namespace pv14::testing
