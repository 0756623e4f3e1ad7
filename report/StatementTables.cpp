#include "report/StatementTables.h"

#include <deque>
#include <string>
#include <vector>

namespace pv14 {
namespace {

constexpr ItemTableRow kBlueGeneralProfitLoss[] = {
    {"URIAGEKINGAKU", 101, 0},
    {"KISYUSYOHINTANAOROSIDAKA", 104, 0},
    {"SIIREKINGAKU", 105, 0},
    {"KIMATUSYOHINTANAOROSIDAKA", 106, 0},
    {"SOZEIKOUKA", 108, 0},
    {"NIZUKURIUNTIN", 109, 0},
    {"SUIDOUKOUNETUHI", 110, 0},
    {"RYOHIKOUTUUHI", 111, 0},
    {"TUUSINHI", 112, 0},
    {"KOUKOKUSENDENHI", 113, 0},
    {"SETTAIKOUSAIHI", 114, 0},
    {"SONGAIHOKENRYOU", 115, 0},
    {"SYUUZENHI", 116, 0},
    {"SYOUMOUHINHI", 117, 0},
    {"GENKASHOUKYAKUHI", 118, 0},
    {"FUKURIKOUSEIHI", 119, 0},
    {"KYUURYOUTINGIN", 120, 0},
    {"GAICHUUKOUTIN", 121, 0},
    {"RISIWARIBIKIRYOU", 122, 0},
    {"TIDAIYATIN", 123, 0},
    {"KASIDAOREKIN", 124, 0},
    {"KEIHI_YOBI1", 125, 1},
    {"KEIHI_YOBI2", 126, 1},
    {"KEIHI_YOBI3", 127, 1},
    {"KEIHI_YOBI4", 128, 1},
    {"KEIHI_YOBI5", 129, 1},
    {"KEIHI_YOBI6", 130, 1},
    {"ZAPPI", 131, 0},
    {"KURIMODOSI_KASIDAOREHIKIATEKIN", 135, 0},
    {"KURIMODOSI_YOBI1", 136, 1},
    {"KURIMODOSI_YOBI2", 137, 1},
    {"SENJYUUSYAKYUUYO", 140, 0},
    {"KURIIRE_KASIDAOREHIKIATEKIN", 141, 0},
    {"KURIIRE_YOBI1", 142, 1},
    {"KURIIRE_YOBI2", 143, 1},
};

constexpr ItemTableRow kWhiteGeneralProfitLoss[] = {
    {"SYUNYUGAKU", 1, 0},
    {"KAJISYOUHI", 2, 0},
    {"SONOTASYUNYU", 3, 0},
    {"KISYUSYOHINTANAOROSIDAKA", 5, 0},
    {"SIIREKINGAKU", 6, 0},
    {"KIMATUSYOHINTANAOROSIDAKA", 8, 0},
    {"KYUURYOUTINGIN", 11, 0},
    {"GAICHUUKOUTIN", 12, 0},
    {"GENKASHOUKYAKUHI", 13, 0},
    {"KASIDAOREKIN", 14, 0},
    {"TIDAIYATIN", 15, 0},
    {"RISIWARIBIKIRYOU", 16, 0},
    {"SOZEIKOUKA", 21, 0},
    {"NIZUKURIUNTIN", 22, 0},
    {"SUIDOUKOUNETUHI", 23, 0},
    {"RYOHIKOUTUUHI", 24, 0},
    {"TUUSINHI", 25, 0},
    {"KOUKOKUSENDENHI", 26, 0},
    {"SETTAIKOUSAIHI", 27, 0},
    {"SONGAIHOKENRYOU", 28, 0},
    {"SYUUZENHI", 29, 0},
    {"SYOUMOUHINHI", 30, 0},
    {"FUKURIKOUSEIHI", 31, 0},
    {"KEIHI_YOBI1", 32, 1},
    {"KEIHI_YOBI2", 33, 1},
    {"KEIHI_YOBI3", 34, 1},
    {"KEIHI_YOBI4", 35, 1},
    {"KEIHI_YOBI5", 36, 1},
    {"ZAPPI", 37, 0},
    {"SENJYUSYAKOUJYO", 998, 0},
};

constexpr ItemTableRow kCostOfManufacture[] = {
    {"KISYUGENZAIRYOUTANAOROSIDAKA", 301, 0},
    {"GENZAIRYOUSIIREDAKA", 302, 0},
    {"KIMATUGENZAIRYOUTANAOROSIDAKA", 304, 0},
    {"ROUMUHI", 306, 0},
    {"GAICHUUKOUTIN", 307, 0},
    {"DENNRYOKUHI", 308, 0},
    {"SUIDOUKOUNETUHI", 309, 0},
    {"SYUZENHI", 310, 0},
    {"GENKASYOUKYAKUHI", 311, 0},
    {"SEIZOUKEIHI_YOBI1", 312, 1},
    {"SEIZOUKEIHI_YOBI2", 313, 1},
    {"SEIZOUKEIHI_YOBI3", 314, 1},
    {"SEIZOUKEIHI_YOBI4", 315, 1},
    {"SEIZOUKEIHI_YOBI5", 316, 1},
    {"SEIZOUKEIHI_YOBI6", 317, 1},
    {"SEIZOUKEIHI_YOBI7", 318, 1},
    {"SEIZOUKEIHI_YOBI8", 319, 1},
    {"ZAPPI", 320, 0},
    {"KISYUHANSEIHIN", 323, 0},
    {"KIMATUHANSEIHIN", 325, 0},
};

constexpr ItemTableRow kBlueRealEstateProfitLoss[] = {
    {"TINTAIRYO", 101, 0},
    {"REIKIN_KENRIKIN_KOUSINRYOU", 102, 0},
    {"SYUUNYUUKINGAKU_YOBI", 103, 1},
    {"SOZEIKOUKA", 105, 0},
    {"SONGAIHOKENRYOU", 106, 0},
    {"SYUUZENHI", 107, 0},
    {"GENKASHOUKYAKUHI", 108, 0},
    {"SYAKUNYUUKINRISI", 109, 0},
    {"TIDAIYATIN", 110, 0},
    {"KYUURYOUTINGIN", 111, 0},
    {"HITUYOUKEIHI_YOBI1", 112, 1},
    {"HITUYOUKEIHI_YOBI2", 113, 1},
    {"HITUYOUKEIHI_YOBI3", 114, 1},
    {"HITUYOUKEIHI_YOBI4", 115, 1},
    {"HITUYOUKEIHI_YOBI5", 116, 1},
    {"SONOTANOKEIHI", 117, 0},
    {"SENJYUUSYAKYUUYO", 120, 0},
};

constexpr ItemTableRow kWhiteRealEstateProfitLoss[] = {
    {"TINTAIRYO", 1, 0},
    {"REIKIN_KENRIKIN_KOUSINRYOU", 2, 0},
    {"MEIGIKAKIKAERYOU_SONOTA", 3, 0},
    {"KYUURYOUTINGIN", 6, 0},
    {"GENKASHOUKYAKUHI", 7, 0},
    {"KASIDAOREKIN", 8, 0},
    {"TIDAIYATIN", 9, 0},
    {"SYAKUNYUUKINRISI", 10, 0},
    {"SOZEIKOUKA", 21, 0},
    {"SONGAIHOKENRYOU", 22, 0},
    {"SYUUZENHI", 23, 0},
    {"HITUYOUKEIHI_YOBI", 24, 1},
    {"ZAPPI", 25, 0},
    {"SENJYUSYAKOUJYO", 998, 0},
};

// A balance-sheet account: its stem gives every element name of the account.
enum AccountShape { kPlain, kSpare, kClosingOnly };

struct Account {
  std::int32_t Code;
  const char* Stem;
  AccountShape Shape;
};

constexpr Account kGeneralAccounts[] = {
    {201, "GENKIN", kPlain},
    {202, "TOUZAYOKIN", kPlain},
    {203, "TEIKIYOKIN", kPlain},
    {204, "SONOTANOYOKIN", kPlain},
    {205, "UKETORITEGATA", kPlain},
    {206, "URIKAKEKIN", kPlain},
    {207, "YUUKASYOUKEN", kPlain},
    {208, "TANAOROSISISAN", kPlain},
    {209, "MAEBARAIKIN", kPlain},
    {210, "KASITUKEKIN", kPlain},
    {211, "TATEMONO", kPlain},
    {212, "TATEMONOFUZOKUSETUBI", kPlain},
    {213, "KIKAISOUTI", kPlain},
    {214, "SYARYOUUNPANGU", kPlain},
    {215, "KOUGUKIGUBIHIN", kPlain},
    {216, "TOTI", kPlain},
    {217, "SISAN_YOBI1", kSpare},
    {218, "SISAN_YOBI2", kSpare},
    {219, "SISAN_YOBI3", kSpare},
    {220, "SISAN_YOBI4", kSpare},
    {221, "SISAN_YOBI5", kSpare},
    {222, "SISAN_YOBI6", kSpare},
    {223, "SISAN_YOBI7", kSpare},
    {224, "JIGYOUNUSIKASI", kClosingOnly},
    {225, "SIHARAITEGATA", kPlain},
    {226, "KAIKAKEKIN", kPlain},
    {227, "SYUKUNYUUKIN", kPlain},
    {228, "MIBARAIKIN", kPlain},
    {229, "MAIUKEKIN", kPlain},
    {230, "AZUKARIKIN", kPlain},
    {231, "FUSAISIHON_YOBI1", kSpare},
    {232, "FUSAISIHON_YOBI2", kSpare},
    {233, "FUSAISIHON_YOBI3", kSpare},
    {234, "FUSAISIHON_YOBI4", kSpare},
    {235, "FUSAISIHON_YOBI5", kSpare},
    {236, "FUSAISIHON_YOBI6", kSpare},
    {237, "FUSAISIHON_YOBI7", kSpare},
    {238, "KASIDAOREHIKIATEKIN", kPlain},
    {239, "FUSAISIHON_YOBI8", kSpare},
    {240, "FUSAISIHON_YOBI9", kSpare},
    {241, "FUSAISIHON_YOBI10", kSpare},
    {242, "FUSAISIHON_YOBI11", kSpare},
    {243, "FUSAISIHON_YOBI12", kSpare},
    {244, "FUSAISIHON_YOBI13", kSpare},
    {245, "FUSAISIHON_YOBI14", kSpare},
    {246, "JIGYOUNUSIKARI", kClosingOnly},
    {247, "MOTOIREKIN", kPlain},
    {999, "KOUJYOMAESYOTOKUKINNGAKU", kClosingOnly},
};

constexpr Account kRealEstateAccounts[] = {
    {201, "GENKIN", kPlain},
    {202, "FUTUUYOKIN", kPlain},
    {203, "TEIKIYOKIN", kPlain},
    {204, "SONOTANOYOKIN", kPlain},
    {205, "UKETORITEGATA", kPlain},
    {206, "MISYUUTINTAIRYO", kPlain},
    {207, "MISYUUKIN", kPlain},
    {208, "YUUKASYOUKEN", kPlain},
    {209, "MAEBARAIKIN", kPlain},
    {210, "KASITUKEKIN", kPlain},
    {211, "TATEMONO", kPlain},
    {212, "TATEMONOFUZOKUSETUBI", kPlain},
    {213, "KOUTIKUBUTU", kPlain},
    {214, "SENPAKU", kPlain},
    {215, "KOUGUKIGUBIHIN", kPlain},
    {216, "TOTI", kPlain},
    {217, "SYAKUTIKEN", kPlain},
    {218, "KOUKYOUSISETUFUTANKIN", kPlain},
    {219, "SISAN_YOBI1", kSpare},
    {220, "SISAN_YOBI2", kSpare},
    {221, "SISAN_YOBI3", kSpare},
    {222, "SISAN_YOBI4", kSpare},
    {223, "SISAN_YOBI5", kSpare},
    {224, "JIGYOUNUSIKASI", kClosingOnly},
    {225, "SYUKUNYUUKIN", kPlain},
    {226, "MIBARAIKIN", kPlain},
    {227, "HOSYOUKIN_SIKIKIN", kPlain},
    {228, "FUSAISIHON_YOBI1", kSpare},
    {229, "FUSAISIHON_YOBI2", kSpare},
    {230, "FUSAISIHON_YOBI3", kSpare},
    {231, "FUSAISIHON_YOBI4", kSpare},
    {232, "FUSAISIHON_YOBI5", kSpare},
    {233, "FUSAISIHON_YOBI6", kSpare},
    {234, "FUSAISIHON_YOBI7", kSpare},
    {235, "FUSAISIHON_YOBI8", kSpare},
    {236, "FUSAISIHON_YOBI9", kSpare},
    {237, "FUSAISIHON_YOBI10", kSpare},
    {238, "FUSAISIHON_YOBI11", kSpare},
    {239, "FUSAISIHON_YOBI12", kSpare},
    {240, "FUSAISIHON_YOBI13", kSpare},
    {241, "FUSAISIHON_YOBI14", kSpare},
    {242, "FUSAISIHON_YOBI15", kSpare},
    {243, "FUSAISIHON_YOBI16", kSpare},
    {244, "FUSAISIHON_YOBI17", kSpare},
    {245, "FUSAISIHON_YOBI18", kSpare},
    {246, "JIGYOUNUSIKARI", kClosingOnly},
    {247, "MOTOIREKIN", kPlain},
    {999, "KOUJYOMAESYOTOKUKINNGAKU", kClosingOnly},
};
// The rows of one balance sheet: the account name of a spare account, then
// the opening and the closing balance; some accounts only have a closing one.
class BalanceTable {
 public:
  explicit BalanceTable(std::span<const Account> accounts) {
    for (const Account& account : accounts) {
      if (account.Shape == kSpare) Add(account, "_KAMOKU", BalanceTableRow::kAccountName);
      if (account.Shape != kClosingOnly) Add(account, "_KISYU", BalanceTableRow::kOpening);
      Add(account, "_KIMATU", BalanceTableRow::kClosing);
    }
  }

  std::span<const BalanceTableRow> Rows() const { return rows_; }

 private:
  void Add(const Account& account, const char* suffix, std::uint8_t kind) {
    // A deque never moves its elements, so the names stay where rows point.
    const std::string& name = names_.emplace_back(std::string(account.Stem) + suffix);
    std::int32_t spare = kind == BalanceTableRow::kAccountName ? 1 : 0;
    rows_.push_back(BalanceTableRow{name.c_str(), kind, account.Code, spare});
  }

  std::deque<std::string> names_;
  std::vector<BalanceTableRow> rows_;
};

}  // namespace

std::span<const ItemTableRow> BlueGeneralProfitLossTable() { return kBlueGeneralProfitLoss; }
std::span<const ItemTableRow> WhiteGeneralProfitLossTable() { return kWhiteGeneralProfitLoss; }
std::span<const ItemTableRow> CostOfManufactureTable() { return kCostOfManufacture; }
std::span<const ItemTableRow> BlueRealEstateProfitLossTable() { return kBlueRealEstateProfitLoss; }
std::span<const ItemTableRow> WhiteRealEstateProfitLossTable() {
  return kWhiteRealEstateProfitLoss;
}

std::span<const BalanceTableRow> GeneralBalanceSheetTable() {
  static const BalanceTable table(kGeneralAccounts);
  return table.Rows();
}

std::span<const BalanceTableRow> RealEstateBalanceSheetTable() {
  static const BalanceTable table(kRealEstateAccounts);
  return table.Rows();
}

}  // namespace pv14
