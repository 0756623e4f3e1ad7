// The Win32 face: what it hands the Windows API (tables, no window), the
// dialogs compiled into this very program (they must be the templates of
// resources/, field by field), and the face's dialogs on real controls
// (under wine on an X display in CI).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "resources/win32/ResourceScript.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/face/Win32Mapping.h"
#include "resources/Strings.h"
#include "resources/Templates.h"
#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

using win32::DisplayText;

// ---------------------------------------------------------------- message boxes

struct BoxCase {
  const char* name;
  std::uint32_t style;
  bool owned;
  UINT flags;
  int returned;  // by MessageBoxW
  int answer;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class MessageBoxMappingTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxMappingTest, MapsStyleAndAnswer) {
  const BoxCase& c = GetParam();
  EXPECT_EQ(win32::MessageBoxFlags(c.style, c.owned), c.flags);
  EXPECT_EQ(win32::MessageBoxAnswer(c.returned, c.style), c.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageBoxMappingTest,
    ::testing::Values(BoxCase{"RefusalOwned", kMbOk | kMbIconExclamation, true,
                              MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND, IDOK, kIdOk},
                      BoxCase{"QuestionOwned", kMbYesNo | kMbIconQuestion, true,
                              MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND, IDNO, kIdNo},
                      BoxCase{"UnownedIsModalToTheThread", kMbOk | kMbIconInformation, false,
                              MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TASKMODAL, IDOK,
                              kIdOk},
                      BoxCase{"DefaultButtonKept", kMbYesNo | MB_DEFBUTTON2, true,
                              MB_YESNO | MB_DEFBUTTON2 | MB_SETFOREGROUND, IDYES, kIdYes},
                      BoxCase{"OtherBitsDropped", kMbOk | MB_HELP | MB_RIGHT, true,
                              MB_OK | MB_SETFOREGROUND, IDOK, kIdOk},
                      BoxCase{"QuestionNotShownIsNo", kMbYesNo | kMbIconQuestion, true,
                              MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND, 0, kIdNo},
                      BoxCase{"NoticeNotShownIsOk", kMbOk | kMbIconInformation, true,
                              MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND, 0, kIdOk}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- file dialog

struct FileDialogCase {
  const char* name;
  FileDialogRequest request;
  std::wstring filter;
  std::wstring file;  // up to the first NUL
  std::wstring folder;
  DWORD flags;
};

void PrintTo(const FileDialogCase& c, std::ostream* os) { *os << c.name; }

FileDialogRequest Request(std::string filter, std::string file, std::string folder) {
  FileDialogRequest request;
  request.defaultExtension = "XML";
  request.filter = std::move(filter);
  request.initialFileName = std::move(file);
  request.initialFolder = std::move(folder);
  request.flags = 0x180C;
  request.title = Sj("保存ファイルを指定");
  return request;
}

class FileDialogSetupTest : public ::testing::TestWithParam<FileDialogCase> {};

TEST_P(FileDialogSetupTest, HandsTheRequestOn) {
  const FileDialogCase& c = GetParam();
  const win32::FileDialogSetup setup = win32::SetUpFileDialog(c.request);
  EXPECT_EQ(setup.filter, c.filter);
  EXPECT_EQ(setup.file.size(), static_cast<std::size_t>(MAX_PATH));  // the dialog's buffer
  EXPECT_EQ(std::wstring(setup.file.c_str()), c.file);
  EXPECT_EQ(setup.initialFolder, c.folder);
  EXPECT_EQ(setup.flags, c.flags);
  EXPECT_EQ(setup.title, L"\x4FDD\x5B58\x30D5\x30A1\x30A4\x30EB\x3092\x6307\x5B9A");
  EXPECT_EQ(setup.defaultExtension, L"XML");
}

const std::wstring kXmlFilter(L"Xml Files (*.xml)\0*.xml\0\0", 25);

INSTANTIATE_TEST_SUITE_P(
    Cases, FileDialogSetupTest,
    ::testing::Values(
        FileDialogCase{"TheConditionsDialogsRequest",
                       Request("Xml Files (*.xml)|*.xml||", "out.xml", "C:\\data\\"), kXmlFilter,
                       L"out.xml", L"C:\\data\\", 0x180C | OFN_EXPLORER},
        FileDialogCase{"JapaneseFolderWithA5CTrailByte",
                       Request("Xml Files (*.xml)|*.xml||", "*.xml", Sj("C:\\表\\")), kXmlFilter,
                       L"*.xml", L"C:\\\x8868\\", 0x180C | OFN_EXPLORER},
        FileDialogCase{"FilterWithoutItsEndIsEnded", Request("A|*.a", "", ""),
                       std::wstring(L"A\0*.a\0\0", 7), L"", L"", 0x180C | OFN_EXPLORER},
        FileDialogCase{"NoFilter", Request("", "x", ""), L"", L"x", L"", 0x180C | OFN_EXPLORER},
        FileDialogCase{"NameLongerThanTheBufferIsCut", Request("", std::string(300, 'n'), ""), L"",
                       std::wstring(MAX_PATH - 1, L'n'), L"", 0x180C | OFN_EXPLORER}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- the program's resources

// Reads a dialog resource as the dialog manager does.
class DialogResource {
 public:
  explicit DialogResource(const void* data) : at_(static_cast<const BYTE*>(data)) {}
  WORD Word() { return Take<WORD>(); }
  DWORD Dword() { return Take<DWORD>(); }
  short Short() { return static_cast<short>(Take<WORD>()); }
  BYTE Byte() { return Take<BYTE>(); }
  std::wstring Text() {
    std::wstring text;
    for (wchar_t c; (c = static_cast<wchar_t>(Word())) != L'\0';) text += c;
    return text;
  }
  // A name or an ordinal; ordinals of the predefined classes by their names.
  std::wstring NameOrOrdinal() {
    if (Peek() != 0xFFFF) return Text();
    Word();
    switch (Word()) {
      case 0x80:
        return L"BUTTON";
      case 0x81:
        return L"EDIT";
      case 0x82:
        return L"STATIC";
      default:
        return L"#ordinal";
    }
  }
  void AlignToDword(const void* base) {
    while ((at_ - static_cast<const BYTE*>(base)) % 4 != 0) ++at_;
  }

 private:
  template <typename T>
  T Take() {
    T value;
    std::memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  WORD Peek() const {
    WORD value;
    std::memcpy(&value, at_, sizeof value);
    return value;
  }
  const BYTE* at_;
};

std::wstring Upper(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), ::towupper);
  return text;
}

void ExpectResourceIsTemplate(const DialogTemplate& dialog) {
  SCOPED_TRACE(dialog.id);
  HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(dialog.id), MAKEINTRESOURCEW(5));
  ASSERT_NE(found, nullptr) << "no dialog resource";
  const void* base = ::LockResource(::LoadResource(nullptr, found));
  ASSERT_NE(base, nullptr);
  DialogResource r(base);
  const bool extended = dialog.exStyle != 0;
  DWORD style = 0, exStyle = 0;
  if (extended) {
    EXPECT_EQ(r.Word(), 1);       // version
    EXPECT_EQ(r.Word(), 0xFFFF);  // an extended template
    r.Dword();                    // help id
    exStyle = r.Dword();
    style = r.Dword();
  } else {
    style = r.Dword();
    exStyle = r.Dword();
  }
  EXPECT_EQ(style, dialog.style | DS_SETFONT);
  EXPECT_EQ(exStyle, dialog.exStyle);
  const WORD count = r.Word();
  ASSERT_EQ(count, dialog.controls.size());
  r.Short();
  r.Short();
  EXPECT_EQ(r.Short(), dialog.width);
  EXPECT_EQ(r.Short(), dialog.height);
  EXPECT_EQ(r.NameOrOrdinal(), L"");  // no menu
  EXPECT_EQ(r.NameOrOrdinal(), L"");  // the dialog class
  EXPECT_EQ(r.Text(), DisplayText(dialog.caption));
  EXPECT_EQ(r.Word(), dialog.pointSize);
  if (extended) {
    r.Word();                  // weight
    r.Byte();                  // italic
    EXPECT_EQ(r.Byte(), 128);  // SHIFTJIS_CHARSET
  }
  EXPECT_EQ(r.Text(), DisplayText(dialog.font));
  for (const ControlTemplate& control : dialog.controls) {
    SCOPED_TRACE(control.id);
    r.AlignToDword(base);
    DWORD controlStyle = 0;
    int id = 0;
    if (extended) {
      r.Dword();
      EXPECT_EQ(r.Dword(), 0u);
      controlStyle = r.Dword();
    } else {
      controlStyle = r.Dword();
      EXPECT_EQ(r.Dword(), 0u);
    }
    const short x = r.Short(), y = r.Short(), width = r.Short(), height = r.Short();
    id = extended ? static_cast<int>(r.Dword()) : r.Word();
    EXPECT_EQ(id, control.id);
    const ControlClass kind = ClassOf(control.kind);
    EXPECT_EQ(controlStyle, kind.style | control.style);
    EXPECT_EQ((std::vector<int>{x, y, width, height}),
              (std::vector<int>{control.x, control.y, control.width, control.height}));
    const std::string className(kind.windowClass);
    EXPECT_EQ(Upper(r.NameOrOrdinal()), Upper(std::wstring(className.begin(), className.end())));
    EXPECT_EQ(r.NameOrOrdinal(), DisplayText(control.text));
    const WORD extra = r.Word();
    for (WORD i = 0; i < extra; ++i) r.Byte();
  }
}

TEST(ProgramResourcesTest, DialogsAreTheTemplates) {
  ExpectResourceIsTemplate(ConditionDialogTemplate());
  ExpectResourceIsTemplate(ProgressDialogTemplate());
}

TEST(ProgramResourcesTest, StringOneIsTheConnectedProgramVersion) {
  wchar_t text[64] = {};
  ASSERT_GT(::LoadStringW(nullptr, kIdsConnectedProgramVersion, text, 64), 0);
  EXPECT_EQ(std::wstring(text), L"19.00.00");
  EXPECT_EQ(LoadStringResource(kIdsConnectedProgramVersion), "19.00.00");
}

}  // namespace
}  // namespace pv14::testing
