// The checks before the conditions dialog: the filing application's release,
// the current data record, and the texts the dialog shows.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/ExportApp.h"
#include "app/ReadDecimal.h"
#include "engine/FieldText.h"
#include "platform/ShiftJis.h"
#include "resources/Strings.h"
#include "resources/Text.h"

namespace pv14 {
namespace {

constexpr std::size_t kPathRoom = 516;

// Codes of the release comparison.
constexpr int kEnvironmentBroken = -1;
constexpr int kCompatible = 0;
constexpr int kFilingApplicationOlder = 1;
constexpr int kComponentOlder = 2;

const std::string* CompatibilityMessage(int code) {
  switch (code) {
    case kEnvironmentBroken:
      return &SJ(
          "動作環境が不正です。\nES_"
          "APRPACKAGENAMEが正しくインストールされているか確認してください。");
    case kFilingApplicationOlder:
      return &SJ(
          "ご利用の連動コンポーネントは、インストールされているES_"
          "APRPACKAGENAMEでは使用できません。\nES_"
          "APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。");
    case kComponentOlder:
      return &SJ(
          "ご利用の連動コンポーネントは、インストールされているES_"
          "APRPACKAGENAMEでは使用できません。\n連動コンポーネントの最新版を入手してインストールして"
          "からご利用ください。");
    default:
      return nullptr;
  }
}

}  // namespace

void ExportApp::SetWorkingDirectoryToProgramFolder() {
  const std::string module = env_.GetModuleFileName();
  const std::size_t slash = sjis::FindLastSingleByte(module, '\\');
  if (slash == std::string::npos) return;
  env_.SetCurrentDirectory(module.substr(0, slash + 1));
}

int ExportApp::CompatibilityCheck(std::int32_t showMessages) {
  std::string path = env_.GetCurrentDirectory();
  if (!path.empty() && !sjis::EndsWithSingleByte(path, '\\') && path.size() < kPathRoom) {
    path += '\\';
  }
  path += "KurodaiDef.ini";

  int code;
  if (!env_.PathFileExists(path)) {
    code = kEnvironmentBroken;
  } else {
    const std::string level = env_.GetPrivateProfileString("ProgramLevel", "PV14", "1", path, 16);
    if (level.empty()) {
      code = kEnvironmentBroken;
    } else {
      const std::int32_t value = ReadDecimal32(level);
      code = value == 1 ? kCompatible : value < 1 ? kFilingApplicationOlder : kComponentOlder;
    }
  }

  const std::string* message = CompatibilityMessage(code);
  if (message == nullptr) return 1;
  if (showMessages) {
    ClAccConnect::Inst()->DispMsg(kNoWindow, message->c_str(), MessageCaption().c_str(),
                                  kMbOk | kMbIconExclamation);
  }
  return 0;
}

ExportApp::UserSelection ExportApp::ReadUserSelection() {
  ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
  char userId[kUserIdSize] = {};
  user->GetCurUserID(userId);
  UserSelection selection;
  user->GetSelectedNo(userId, &selection.keyNo, &selection.dataNo);
  selection.userId = FieldText(userId);
  return selection;
}

int ExportApp::CurrentDataReader(StDATAINFO* record) {
  if (record == nullptr) return 0;
  if (setData_ == nullptr)
    setData_ = ClDataMgr::Inst()->GetSetObject(kDataSetObjectKind, kDataSetObjectSub);
  std::memset(record, 0, sizeof *record);
  if (setData_ == nullptr) return 1;

  const std::int32_t dataNo = ReadUserSelection().dataNo;

  std::int32_t cursor = 0;
  setData_->GetDatCursor(&cursor);
  setData_->ReadyDat(cursor, 0);
  for (;;) {
    StDATAINFO work;
    std::memset(&work, 0, sizeof work);
    if (setData_->WalkDat(&work, cursor) != 0) break;
    if (work.DataNo == dataNo) {
      *record = work;
      break;
    }
  }
  setData_->ReleaseDatCursor(cursor);
  return 1;
}

std::string ExportApp::CaptionText(std::int16_t kind, const StDATAINFO* record) {
  // The shared caption buffer holds 255 bytes; a long company name is cut
  // there at a character boundary.
  constexpr std::size_t kCaptionRoom = 255;
  if (record == nullptr) return {};
  if (kind == 0) {
    std::string text = " " + std::string(FieldText(record->CompanyName));
    text.resize(sjis::FitLength(text, kCaptionRoom));
    return text;
  }
  if (kind == 1) {
    char text[256];
    std::snprintf(text, sizeof text, " %04d/%02d/%02d", record->PeriodFrom / 10000,
                  record->PeriodFrom % 10000 / 100, record->PeriodFrom % 100);
    std::string result = text;
    result += SJ("～");
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", record->PeriodTo / 10000,
                  record->PeriodTo % 10000 / 100, record->PeriodTo % 100);
    return result + text;
  }
  return {};
}

}  // namespace pv14
