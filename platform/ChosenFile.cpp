#include "platform/ChosenFile.h"

#include <limits>

#include "platform/Encoding.h"
#include "platform/TypedText.h"

namespace pv14 {
namespace {

// The user's path inside a message: what Shift_JIS cannot show becomes '?'.
std::string Refusal(std::string_view before, const std::string& posixPath, std::string_view after) {
  const std::string shown = TypeIntoEdit(posixPath, std::numeric_limits<std::size_t>::max());
  return Utf8ToCp932(before).value_or("") + shown + Utf8ToCp932(after).value_or("");
}

}  // namespace

ChosenFile ChosenFileInWindowsForm(const DriveTable& drives, const std::string& posixPath) {
  if (drives.Covering(posixPath) == nullptr) {
    return {"", Refusal("選択されたファイルはどのドライブにもありません。\n\n", posixPath,
                        "\n\nこのフォルダを含むドライブを環境変数 PV14_DRIVES に設定してください"
                        "（例: D=/home/user）。")};
  }
  if (auto windows = drives.ToWindows(posixPath)) return {*windows, ""};
  return {"", UnwritableNameRefusal(posixPath)};
}

std::string UnwritableNameRefusal(const std::string& path) {
  return Refusal("選択されたファイルの名前に、Shift_JIS で書けない文字か \\ が含まれています。\n\n",
                 path, "\n\n別の名前を指定してください。");
}

}  // namespace pv14
