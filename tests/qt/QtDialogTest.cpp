// Template 130 on the desktop over the real dialog logic, driven by real key
// events: the keyboard table, the accelerators, the edit's byte limit and the
// file dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "platform/Encoding.h"
#include "platform/qt/QtText.h"
#include "resources/ControlIds.h"
#include "resources/Templates.h"
#include "tests/qt/QtFaceFixture.h"

namespace pv14::testing {
namespace {

using D = ConditionDialog;
constexpr int kOpen = -1;     // the dialog did not end
constexpr int kCloseBox = 0;  // instead of a key

auto NameOf = [](const auto& info) { return std::string(info.param.name); };
std::string Sj(const char* utf8) { return Utf8ToCp932(utf8).value(); }
QLineEdit* Edit(qt::QtDialog& dialog) { return dialog.findChild<QLineEdit*>("1016"); }

// ---------------------------------------------------------------- keys

struct KeyCase {
  const char* name;
  int focus;  // focused first
  int key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  int result = kOpen;
  int focusAfter = 0;  // when still open
  int checked = 1010;  // when still open
  std::size_t boxes = 0;
  std::size_t fileDialogs = 0;
  bool fixedPath = false;
  std::uint8_t scope = 3;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class QtDialogKeys : public QtFaceTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(QtDialogKeys, ActAsTheTableSays) {
  const KeyCase& c = GetParam();
  dialog_.StatementScope = c.scope;
  if (c.fixedPath) dialog_.PresetOutputPath = Windows("caller.xml");
  const int result = Run([&](qt::QtDialog& dialog) {
    QApplication::setActiveWindow(&dialog);
    if (!c.fixedPath) dialog.SetText(D::kOutputPathEditId, Windows("out.xml"));
    dialog.SetFocus(c.focus);
    if (c.key == kCloseBox) {
      dialog.close();
      return;
    }
    QTest::keyClick(dialog.focusWidget(), Qt::Key(c.key), c.modifiers);
    // An accelerator clicks its button a moment later, as a pressed one does:
    // wait for what should come, then a little for what should not.
    if (c.modifiers & Qt::AltModifier) {
      (void)QTest::qWaitFor([&] {
        return !dialog.isVisible() ||
               (dialog.GetFocus() == c.focusAfter && dialog.IsChecked(c.checked) &&
                fileDialogFolders_.size() == c.fileDialogs);
      });
      QTest::qWait(150);
    }
    if (!dialog.isVisible()) return;
    EXPECT_EQ(dialog.GetFocus(), c.focusAfter);
    EXPECT_TRUE(dialog.IsChecked(c.checked));
    if (c.focusAfter == D::kOutputPathEditId && c.focus != c.focusAfter) {
      EXPECT_EQ(Edit(dialog)->selectedText(), Edit(dialog)->text()) << "the path is selected";
    }
  });
  EXPECT_EQ(result, c.result);
  EXPECT_EQ(boxes_.shown.size(), c.boxes);
  EXPECT_EQ(fileDialogFolders_.size(), c.fileDialogs);
  if (c.result == D::kResultCancel) {
    EXPECT_EQ(boxes_.shown.at(0).text, "｢所得税｣の集計を中止します。");
    EXPECT_EQ(boxes_.shown.at(0).icon, QMessageBox::Information);
  }
}

constexpr auto kShift = Qt::ShiftModifier, kCtrl = Qt::ControlModifier, kAlt = Qt::AltModifier;
constexpr auto kNone = Qt::NoModifier;
INSTANTIATE_TEST_SUITE_P(
    Cases, QtDialogKeys,
    ::testing::Values(
        KeyCase{"EnterOnRadioGoesToTheEdit", 1012, Qt::Key_Return, kNone, kOpen, 1016, 1010},
        KeyCase{"EnterOnRadioWithCallersPathGoesToExecute", 1010, Qt::Key_Return, kNone, kOpen,
                1013, 1010, 0, 0, true},
        KeyCase{"EnterOnEditGoesToBrowse", 1016, Qt::Key_Return, kNone, kOpen, 1017},
        KeyCase{"KeypadEnterLikewise", 1016, Qt::Key_Enter, kNone, kOpen, 1017},
        KeyCase{"EnterOnBrowseBrowses", 1017, Qt::Key_Return, kNone, kOpen, 1013, 1010, 0, 1},
        KeyCase{"EnterOnExecuteExecutes", 1013, Qt::Key_Return, kNone, 1013},
        KeyCase{"EnterOnCancelClicksIt", 1014, Qt::Key_Return, kNone, 1014, 0, 0, 1},
        KeyCase{"ShiftEnterOnExecuteClicksIt", 1013, Qt::Key_Return, kShift, 1013},
        KeyCase{"ShiftEnterOnRadioDoesNothing", 1010, Qt::Key_Return, kShift, kOpen, 1010},
        KeyCase{"CtrlEnterOnEditDoesNothing", 1016, Qt::Key_Return, kCtrl, kOpen, 1016},
        KeyCase{"F12AnywhereExecutes", 1010, Qt::Key_F12, kNone, 1013},
        KeyCase{"F12WithCallersPathExecutes", 1014, Qt::Key_F12, kNone, 1013, 0, 0, 0, 0, true},
        KeyCase{"ShiftF12DoesNothing", 1016, Qt::Key_F12, kShift, kOpen, 1016},
        KeyCase{"AltF12DoesNothing", 1010, Qt::Key_F12, kAlt, kOpen, 1010},
        KeyCase{"EscCancels", 1016, Qt::Key_Escape, kNone, 1014, 0, 0, 1},
        KeyCase{"CloseBoxCancels", 1016, kCloseBox, kNone, 1014, 0, 0, 1},
        KeyCase{"Alt3ChoosesRealEstate", 1010, Qt::Key_3, kAlt, kOpen, 1011, 1011},
        KeyCase{"Alt2ChoosesOther", 1010, Qt::Key_2, kAlt, kOpen, 1012, 1012},
        KeyCase{"Alt1OnDisabledBusinessDoesNothing", 1011, Qt::Key_1, kAlt, kOpen, 1011, 1011, 0, 0,
                false, 2},
        KeyCase{"AltFGoesToThePath", 1010, Qt::Key_F, kAlt, kOpen, 1016},
        KeyCase{"AltFWithCallersPathIsGone", 1010, Qt::Key_F, kAlt, kOpen, 1010, 1010, 0, 0, true},
        KeyCase{"AltDBrowses", 1010, Qt::Key_D, kAlt, kOpen, 1013, 1010, 0, 1},
        KeyCase{"AltDWithCallersPathDoesNothing", 1010, Qt::Key_D, kAlt, kOpen, 1010, 1010, 0, 0,
                true}),
    NameOf);

// A held key acts once: its repeats reach neither the logic nor a button.
TEST_F(QtFaceTest, RepeatsOfAHeldActionKeyDoNothing) {
  const int result = Run([&](qt::QtDialog& dialog) {
    QApplication::setActiveWindow(&dialog);
    dialog.SetText(D::kOutputPathEditId, Windows("out.xml"));
    for (int key : {Qt::Key_Return, Qt::Key_F12, Qt::Key_Escape}) {
      dialog.SetFocus(D::kExecuteButtonId);
      for (QEvent::Type type : {QEvent::ShortcutOverride, QEvent::KeyPress}) {
        QKeyEvent repeat(type, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(dialog.focusWidget(), &repeat);
      }
      EXPECT_TRUE(dialog.isVisible()) << key;
    }
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);  // a stroke of its own
  });
  EXPECT_EQ(result, D::kResultExecute);
  EXPECT_TRUE(boxes_.shown.empty());
}

// ---------------------------------------------------------------- typing

struct TypingCase {
  const char* name;
  std::string before;  // Shift_JIS, set by the logic
  int cursor;          // where typing starts; -1 at the end
  QString typed;
  std::string after;  // Shift_JIS, as the logic reads it
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

class QtDialogTyping : public QtFaceTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(QtDialogTyping, CountsTheLimitInShiftJisBytes) {
  const TypingCase& c = GetParam();
  Run([&](qt::QtDialog& dialog) {
    dialog.SetText(D::kOutputPathEditId, c.before);
    QLineEdit* edit = Edit(dialog);
    edit->setFocus();
    edit->setCursorPosition(c.cursor < 0 ? edit->text().size() : c.cursor);
    for (QChar character : c.typed) {
      QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), kNone);
    }
    EXPECT_EQ(dialog.GetText(D::kOutputPathEditId), c.after);
    EXPECT_EQ(edit->text(), qt::ToDisplay(c.after));
  });
}

const std::string k250(250, 'a');
INSTANTIATE_TEST_SUITE_P(
    Cases, QtDialogTyping,
    ::testing::Values(TypingCase{"StopsAt255Bytes", k250, -1, "bcdefgh", k250 + "bcdef"},
                      TypingCase{"DoubleByteCharacterThatWouldCrossIsRefused", k250 + "bcd", -1,
                                 "表x", k250 + "bcd" + Sj("表")},
                      TypingCase{"InsertingIntoAFullEditChangesNothing", k250 + "bcdef", 3, "xyz",
                                 k250 + "bcdef"},
                      TypingCase{"CharacterWithoutShiftJisFormBecomesQuestionMark", "Z:\\", -1,
                                 "한.xml", "Z:\\?.xml"},
                      TypingCase{"JapaneseKeepsItsBytes", "Z:\\", -1, "表ソ.xml",
                                 Sj("Z:\\表ソ.xml")}),
    NameOf);

// ---------------------------------------------------------------- file dialog

struct BrowseCase {
  const char* name;
  std::string path;                        // the edit's text below Z: (empty: the default)
  std::vector<std::string> answers;        // POSIX, below the disk ("/..." absolute, "": cancel)
  std::string expected;                    // the edit afterwards, below Z:
  std::vector<const char*> refusals = {};  // a word of each box shown
  const char* offeredName = "";
};

void PrintTo(const BrowseCase& c, std::ostream* os) { *os << c.name; }

class QtDialogBrowse : public QtFaceTest, public ::testing::WithParamInterface<BrowseCase> {};

TEST_P(QtDialogBrowse, NamesTheChosenFileThroughTheDriveTable) {
  const BrowseCase& c = GetParam();
  for (const std::string& answer : c.answers) {
    fileAnswers_.push_back(
        QString::fromStdString(answer.empty() || answer[0] == '/' ? answer : disk_.Join(answer)));
  }
  Run([&](qt::QtDialog& dialog) {
    if (!c.path.empty()) dialog.SetText(D::kOutputPathEditId, Windows(c.path));
    dialog.SetFocus(D::kBrowseButtonId);
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.GetText(D::kOutputPathEditId), Windows(c.expected));
    EXPECT_EQ(dialog.GetFocus(), D::kExecuteButtonId);
  });
  ASSERT_EQ(fileDialogFolders_.size(), c.answers.size());
  EXPECT_EQ(fileDialogFolders_[0].toStdString(), disk_.Join("docs"));
  EXPECT_EQ(fileDialogNames_[0], c.offeredName);
  ASSERT_EQ(boxes_.shown.size(), c.refusals.size());
  for (std::size_t i = 0; i < c.refusals.size(); ++i) {
    EXPECT_TRUE(boxes_.shown[i].text.contains(c.refusals[i])) << boxes_.shown[i].text.toStdString();
    EXPECT_EQ(boxes_.shown[i].title, "保存ファイルを指定");
  }
}

const std::string k240(240, 'n');
INSTANTIATE_TEST_SUITE_P(
    Cases, QtDialogBrowse,
    ::testing::Values(
        BrowseCase{"ChosenFileInWindowsForm", "", {"docs/r.xml"}, "docs\\r.xml"},
        BrowseCase{"OffersTheEditsName",
                   "docs\\old.xml",
                   {"docs/new.xml"},
                   "docs\\new.xml",
                   {},
                   "old.xml"},
        BrowseCase{"CancelLeavesTheEdit", "docs\\old.xml", {""}, "docs\\old.xml", {}, "old.xml"},
        BrowseCase{"LongerThanTheTypingLimitIsShownWhole",
                   "",
                   {"docs/" + k240 + ".xml"},
                   "docs\\" + k240 + ".xml"},
        BrowseCase{"OutsideEveryDriveIsRefusedAndAskedAgain",
                   "",
                   {"/proc/out.xml", "docs/r.xml"},
                   "docs\\r.xml",
                   {"PV14_DRIVES"}},
        BrowseCase{"MissingFolderIsRefusedAndAskedAgain",
                   "",
                   {"no/such/out.xml", ""},
                   "docs\\*.xml",
                   {"パスが存在しません"}}),
    NameOf);

// ---------------------------------------------------------------- the window

TEST_F(QtFaceTest, ControlsAreNamedForToolsAndChainedInTemplateOrder) {
  Run([&](qt::QtDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "所得税 - 集計条件");
    EXPECT_EQ(dialog.objectName(), "130");
    QWidget* next = dialog.findChild<QWidget*>("1010");
    for (const ControlTemplate& source : ConditionDialogTemplate().controls) {
      QWidget* widget = dialog.findChild<QWidget*>(QString::number(source.id));
      ASSERT_NE(widget, nullptr) << source.id;
      const QString text = qt::ToDisplay(dialog.GetText(source.id));
      EXPECT_EQ(widget->accessibleName(), qt::WithoutMnemonic(text)) << source.id;
      if (!(source.style & style::kTabStop)) continue;
      EXPECT_EQ(next, widget) << "tab order at " << source.id;
      do next = next->nextInFocusChain();
      while (!(next->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_EQ(dialog.findChild<QWidget*>("1010")->accessibleName(), "営業所得用（一般用）(1)");
  });
}

// Data is shown as data: an & stays, and a name too long for its place is
// cut after a whole character with an ellipsis; tools still read it whole.
TEST_F(QtFaceTest, LongCompanyNameEndsInAnEllipsisAfterAWholeCharacter) {
  std::string whole = "A&B";
  for (int i = 0; i < 30; ++i) whole += "商店ｱ";
  dialog_.CompanyText = Sj(whole.c_str());
  Run([&](qt::QtDialog& dialog) {
    auto* label = dialog.findChild<QLabel*>(QString::number(ids::kCompanyText));
    ASSERT_NE(label, nullptr);
    const QString full = qt::ToDisplay(dialog.GetText(ids::kCompanyText));
    const QString shown = label->text();
    ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    const QString kept = shown.chopped(1);
    EXPECT_TRUE(full.startsWith(kept));
    EXPECT_TRUE(kept.startsWith("A&B"));
    EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->width());
    EXPECT_EQ(label->accessibleName(), full);
  });
}

}  // namespace
}  // namespace pv14::testing
