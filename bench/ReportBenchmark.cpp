// The report writer on the largest real-estate report the program writes
// (9999 income rows, about 180,000 lines), timed beside the least any writer
// of the same lines can do: one write call per line through the same file
// interface, in the same run. The writer may cost at most twice that loop,
// and its peak memory may not grow with the report: only the engine's own
// rows count.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Edition.h"
#include "collect/CollectedData.h"
#include "engine/FieldText.h"
#include "platform/Encoding.h"
#include "platform/Env.h"
#include "platform/TaskMem.h"
#include "report/ReportWriter.h"

namespace pv14::bench {
namespace {

constexpr int kIncomeRows = 9999;
constexpr std::int16_t kRealEstateIncome = 3;
constexpr std::int16_t kFunctionId = 7;
constexpr double kAllowedRatio = 2.0;
constexpr char kReportBenchmark[] = "WriteReport";
constexpr char kLoopBenchmark[] = "OneWritePerLine";

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::string Sjis(const char* utf8) { return Utf8ToCp932(utf8).value_or("?"); }

// A zeroed engine block of count records, as the engine hands them out.
template <typename T>
T* Block(std::size_t count = 1) {
  void* block = CoTaskMemAlloc(sizeof(T) * count);
  if (block == nullptr) std::abort();
  std::memset(block, 0, sizeof(T) * count);
  return static_cast<T*>(block);
}

void FillIncomeRows(RealEstateIncomeRow* rows) {
  const std::string location = Sjis("東京都港区南青山五丁目十番地表参道ソ能館");
  const std::string address = Sjis("大阪府大阪市北区梅田一丁目二番三号 & 別館");
  const std::string name = Sjis("表 能子 ");
  constexpr std::int64_t kYen = 10000;
  for (int i = 0; i < kIncomeRows; ++i) {
    RealEstateIncomeRow& row = rows[i];
    row.RowKey = i + 1;
    SetFieldText(row.LettingKind, Sjis("貸家"));
    SetFieldText(row.Use, Sjis("住宅"));
    SetFieldText(row.Location, location);
    SetFieldText(row.TenantAddress, address);
    SetFieldText(row.TenantName, name + std::to_string(i));
    row.ContractFrom = 20230401;
    row.ContractTo = 20250331;
    row.Area = 1234567 + i;
    row.MonthlyRent = (80000 + i) * kYen;
    row.AnnualRent = (960000 + i) * kYen;
    row.GiftMoney = (100000 + i) * kYen + 5000;
    row.KeyMoney = i % 3 == 0 ? 0 : (50000 + i) * kYen;
    row.RenewalFee = (30000 + i) * kYen;
    row.NameChangeAndOtherFees = -(1000 + i) * kYen;
    row.Deposit = (160000 + i) * kYen;
  }
  rows[kIncomeRows].RowKey = kIncomeRowsEnd;
}

// A blue real-estate data set: a statement row for every item code, every
// saved block present, and the long income list.
void FillData(CollectedData& data, StDATAINFO& record) {
  std::memset(&record, 0, sizeof record);
  SetFieldText(record.CompanyName, Sjis("ﾍﾞﾝﾁ不動産 Bench Estate"));
  record.PeriodFrom = 20230101;
  record.PeriodTo = 20231231;
  record.ReturnKind = kBlueReturn;
  record.StatementScope = 3;
  for (std::int32_t code = 100; code <= 250; ++code) {
    SumRecord row{};
    row.LineNo = code - 99;
    row.Code = code;
    SetFieldText(row.ItemName, Sjis("【科目】 ") + std::to_string(code));
    row.OpeningBalance = code * 1234567LL;
    row.ClosingBalance = -code * 7654321LL;
    data.SumRows.push_back(row);
  }
  StAOSIROSAVEINFO_IPPAN& general = data.GeneralSaveInfo;
  general.Basic = Block<StIPPAN_BASIC>();
  general.ReservesFamily = Block<StIPPAN_RESERVES_FAMILY>();
  general.Salaries = Block<StIPPAN_SALARIES>();
  general.InterestFees = Block<StIPPAN_INTEREST_FEES>();
  general.Rent = Block<StIPPAN_RENT>();
  general.Special = Block<StIPPAN_SPECIAL>();
  general.SalesPurchases = Block<StIPPAN_SALES_PURCHASES>();
  general.Basic->DeductionSelection = 1;
  StAOSIROSAVEINFO_FUDOUSAN& realEstate = data.RealEstateSaveInfo;
  realEstate.Basic = Block<StFUDOUSAN_BASIC>();
  realEstate.IncomeRows = Block<RealEstateIncomeRow>(kIncomeRows + 1);
  realEstate.BorrowingFees = Block<StFUDOUSAN_BORROWING_FEES>();
  realEstate.Salaries = Block<StFUDOUSAN_SALARIES>();
  realEstate.Rent = Block<StFUDOUSAN_RENT>();
  realEstate.Special = Block<StFUDOUSAN_SPECIAL>();
  realEstate.Repairs = Block<StFUDOUSAN_REPAIRS>();
  realEstate.Property = Block<StFUDOUSAN_PROPERTY>();
  realEstate.Basic->LiabilityInterest = 123456780000;
  SetFieldText(realEstate.Special->SpecialCircumstances,
               Sjis("賃貸物件の特殊事情\r\n二行目は少し長めの文章で、三十バイトの幅を超えます。"));
  FillIncomeRows(realEstate.IncomeRows);
}

// Windows form of a POSIX path under the drive table Z=/.
std::string WindowsPath(const std::string& posix) {
  std::string path = "Z:";
  for (char c : posix) path += c == '/' ? '\\' : c;
  return path;
}

// The lines of a written file, each with its CR LF.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    end = end == std::string::npos ? bytes.size() : end + 2;
    lines.push_back(bytes.substr(start, end - start));
    start = end;
  }
  return lines;
}

std::string ReadWholeFile(const std::string& posixPath) {
  std::string bytes;
  if (FILE* f = std::fopen(posixPath.c_str(), "rb")) {
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
    std::fclose(f);
  }
  return bytes;
}

struct Setup {
  std::filesystem::path folder;
  CollectedData data;
  StDATAINFO record{};
  long rssAtStart = 0;
  long rssWithData = 0;
  long rssBeforeReports = 0;
  long rssAfterReports = 0;
  std::size_t reportLines = 0;
  std::size_t reportBytes = 0;

  std::string ReportPosix() const { return (folder / "report.xml").string(); }
  std::string LoopPosix() const { return (folder / "lines.xml").string(); }
};

Setup* setup = nullptr;

// One report of ten income rows, so the code, the code-page tables and the
// buffers every report needs are in memory before the peak is taken: what
// the full report adds after that is what grows with the report.
void WarmUp(Setup& state) {
  constexpr int kWarmUpRows = 10;
  RealEstateIncomeRow* rows = state.data.RealEstateSaveInfo.IncomeRows;
  const std::int32_t key = rows[kWarmUpRows].RowKey;
  rows[kWarmUpRows].RowKey = kIncomeRowsEnd;
  ReportWriter writer(Env::Default(), nullptr, state.data, kRealEstateIncome,
                      CurrentEdition().defaultProductName);
  writer.WriteReport(WindowsPath(state.ReportPosix()), kFunctionId, state.record);
  rows[kWarmUpRows].RowKey = key;
}

void WriteReport(benchmark::State& state) {
  Env& env = Env::Default();
  const std::string path = WindowsPath(setup->ReportPosix());
  if (setup->rssBeforeReports == 0) setup->rssBeforeReports = PeakRssKiB();
  for (auto _ : state) {
    ReportWriter writer(env, nullptr, setup->data, kRealEstateIncome,
                        CurrentEdition().defaultProductName);
    if (writer.WriteReport(path, kFunctionId, setup->record) != 1) {
      state.SkipWithError("the report could not be written");
      break;
    }
  }
  // Before anything here reads the report back: the peak is the writer's.
  setup->rssAfterReports = PeakRssKiB();
}

void OneWritePerLine(benchmark::State& state) {
  Env& env = Env::Default();
  const std::vector<std::string> lines = SplitLines(ReadWholeFile(setup->ReportPosix()));
  if (lines.empty()) {
    state.SkipWithError("no report to copy: run the report benchmark first");
    return;
  }
  const std::string path = WindowsPath(setup->LoopPosix());
  for (auto _ : state) {
    std::unique_ptr<File> file = env.NewFile();
    if (!file->Open(path, File::kCreate | File::kWrite)) {
      state.SkipWithError("the copy could not be created");
      break;
    }
    for (const std::string& line : lines) file->Write(line.data(), line.size());
    file->Close();
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}

// Registered in this order so the report's memory is measured before the
// loop reads the whole report into memory.
BENCHMARK(WriteReport)
    ->Name(kReportBenchmark)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);
BENCHMARK(OneWritePerLine)
    ->Name(kLoopBenchmark)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

// Keeps the mean real and CPU time of each benchmark, over its repetitions,
// for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const double toMillis = 1000.0 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      Mean& mean = means_[run.run_name.function_name];
      mean.real += run.GetAdjustedRealTime() * toMillis;
      mean.cpu += run.GetAdjustedCPUTime() * toMillis;
      ++mean.count;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // Milliseconds; 0 when the benchmark did not run.
  double MeanRealMillis(const std::string& name) const {
    auto it = means_.find(name);
    return it == means_.end() ? 0 : it->second.real / it->second.count;
  }
  double MeanCpuMillis(const std::string& name) const {
    auto it = means_.find(name);
    return it == means_.end() ? 0 : it->second.cpu / it->second.count;
  }

 private:
  struct Mean {
    double real = 0;
    double cpu = 0;
    int count = 0;
  };
  std::map<std::string, Mean> means_;
};

int PrintSummary(const SummaryReporter& reporter) {
  const std::string written = ReadWholeFile(setup->ReportPosix());
  setup->reportBytes = written.size();
  setup->reportLines = SplitLines(written).size();
  const long rowsKiB = static_cast<long>(sizeof(RealEstateIncomeRow) * (kIncomeRows + 1) / 1024);
  std::printf("\nreport: %zu lines, %zu bytes, %d income rows\n", setup->reportLines,
              setup->reportBytes, kIncomeRows);
  std::printf(
      "peak memory: %ld KiB at start; %ld KiB with the data and a ten-row report written (the"
      " income rows take %ld KiB); %ld KiB before the full reports, %ld KiB after them (+%ld "
      "KiB)\n",
      setup->rssAtStart, setup->rssWithData, rowsKiB, setup->rssBeforeReports,
      setup->rssAfterReports, setup->rssAfterReports - setup->rssBeforeReports);
  const double report = reporter.MeanRealMillis(kReportBenchmark);
  const double loop = reporter.MeanRealMillis(kLoopBenchmark);
  if (report <= 0 || loop <= 0) {
    std::printf("no ratio: both benchmarks must run\n");
    return 0;
  }
  const double ratio = report / loop;
  std::printf("time: report %.1f ms, one write per line %.1f ms, ratio %.2f (at most %.1f): %s\n",
              report, loop, ratio, kAllowedRatio, ratio <= kAllowedRatio ? "within" : "OVER");
  std::printf("cpu time: report %.1f ms, one write per line %.1f ms, ratio %.2f\n",
              reporter.MeanCpuMillis(kReportBenchmark), reporter.MeanCpuMillis(kLoopBenchmark),
              reporter.MeanCpuMillis(kReportBenchmark) / reporter.MeanCpuMillis(kLoopBenchmark));
  return ratio <= kAllowedRatio ? 0 : 1;
}

}  // namespace
}  // namespace pv14::bench

int main(int argc, char** argv) {
  using namespace pv14::bench;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // The default drive table: Z: is the root.
  ::setenv("PV14_DRIVES", "Z=/", 1);

  Setup state;
  setup = &state;
  state.rssAtStart = PeakRssKiB();
  std::string folder = (std::filesystem::temp_directory_path() / "pv14-bench-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  state.folder = folder;
  FillData(state.data, state.record);
  WarmUp(state);
  state.rssWithData = PeakRssKiB();

  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const int status = PrintSummary(reporter);
  benchmark::Shutdown();
  std::filesystem::remove_all(state.folder);
  setup = nullptr;
  return status;
}
