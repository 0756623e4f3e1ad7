// Template 130 on the desktop over the real dialog logic: keys, accelerators,
// the edit's byte limit and the file dialog, driven by real key events.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

#include "platform/Encoding.h"
#include "platform/qt/QtText.h"
#include "tests/qt/QtFaceFixture.h"

namespace pv14::testing {
namespace {

using D = ConditionDialog;
constexpr int kStillOpen = -1;

auto NameOf = [](const auto& info) { return std::string(info.param.name); };

std::string Sj(const char* utf8) { return Utf8ToCp932(utf8).value(); }
QString EditText(qt::QtDialog& dialog) {
  return dialog.findChild<QLineEdit*>(QString::number(D::kOutputPathEditId))->text();
}

// ---------------------------------------------------------------- keys

struct KeyCase {
  const char* name;
  int focus;  // control focused first
  int key;
  Qt::KeyboardModifiers modifiers;
  bool fixedPath;
  int result;      // kStillOpen, 1013, 1014
  int focusAfter;  // when still open
  std::size_t boxes = 0;
};

class QtDialogKeys : public QtFaceTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(QtDialogKeys, FollowTheKeyboardTable) {
  const KeyCase& c = GetParam();
  if (c.fixedPath) dialog_.PresetOutputPath = Windows("caller.xml");
  int focusAfter = 0;
  QString selected;
  const int result = Run([&](qt::QtDialog& dialog) {
    if (!c.fixedPath) dialog.SetText(D::kOutputPathEditId, Windows("out.xml"));
    dialog.SetFocus(c.focus);
    QTest::keyClick(dialog.focusWidget(), Qt::Key(c.key), c.modifiers);
    focusAfter = dialog.GetFocus();
    selected = dialog.findChild<QLineEdit*>("1016")->selectedText();
  });
  EXPECT_EQ(result, c.result);
  if (c.result == kStillOpen) {
    EXPECT_EQ(focusAfter, c.focusAfter);
  }
  if (c.result == kStillOpen && c.focus != c.focusAfter && c.focusAfter == D::kOutputPathEditId) {
    EXPECT_EQ(selected.toStdString(), Windows("out.xml")) << "the whole path is selected";
  }
  EXPECT_EQ(boxes_.shown.size(), c.boxes);
  EXPECT_EQ(fileDialogFolders_.size(),
            c.focus == D::kBrowseButtonId && c.result == kStillOpen && c.modifiers == Qt::NoModifier
                ? 1u
                : 0u);
}

constexpr auto kNone = Qt::NoModifier;
INSTANTIATE_TEST_SUITE_P(
    Cases, QtDialogKeys,
    ::testing::Values(
        KeyCase{"EnterOnRadioGoesToTheEdit", 1012, Qt::Key_Return, kNone, false, kStillOpen, 1016},
        KeyCase{"EnterOnRadioWithCallersPathGoesToExecute", 1010, Qt::Key_Return, kNone, true,
                kStillOpen, 1013},
        KeyCase{"EnterOnEditGoesToBrowse", 1016, Qt::Key_Return, kNone, false, kStillOpen, 1017},
        KeyCase{"KeypadEnterLikewise", 1016, Qt::Key_Enter, kNone, false, kStillOpen, 1017},
        KeyCase{"EnterOnBrowseOpensTheFileDialog", 1017, Qt::Key_Return, kNone, false, kStillOpen,
                1013},
        KeyCase{"EnterOnExecuteExecutes", 1013, Qt::Key_Return, kNone, false, 1013, 0},
        KeyCase{"EnterOnCancelClicksIt", 1014, Qt::Key_Return, kNone, false, 1014, 0, 1},
        KeyCase{"F12AnywhereExecutes", 1010, Qt::Key_F12, kNone, false, 1013, 0},
        KeyCase{"F12WithCallersPathExecutes", 1014, Qt::Key_F12, kNone, true, 1013, 0},
        KeyCase{"ShiftF12DoesNothing", 1016, Qt::Key_F12, Qt::ShiftModifier, false, kStillOpen,
                1016},
        KeyCase{"AltF12DoesNothing", 1010, Qt::Key_F12, Qt::AltModifier, false, kStillOpen, 1010},
        KeyCase{"ShiftEnterOnRadioDoesNothing", 1010, Qt::Key_Return, Qt::ShiftModifier, false,
                kStillOpen, 1010},
        KeyCase{"CtrlEnterOnEditDoesNothing", 1016, Qt::Key_Return, Qt::ControlModifier, false,
                kStillOpen, 1016},
        KeyCase{"ShiftEnterOnExecuteClicksIt", 1013, Qt::Key_Return, Qt::ShiftModifier, false, 1013,
                0},
        KeyCase{"EscCancels", 1016, Qt::Key_Escape, kNone, false, 1014, 0, 1},
        KeyCase{"EscWithCallersPathCancels", 1013, Qt::Key_Escape, kNone, true, 1014, 0, 1}),
    NameOf);

TEST_F(QtFaceTest, CloseBoxCancelsWithTheMessage) {
  const int result = Run([](qt::QtDialog& dialog) { dialog.close(); });
  EXPECT_EQ(result, D::kResultCancel);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text, "｢所得税｣の集計を中止します。");
  EXPECT_EQ(boxes_.shown[0].title, "所得税");
  EXPECT_EQ(boxes_.shown[0].icon, QMessageBox::Information);
}

TEST_F(QtFaceTest, RefusalLeavesThePathSelected) {
  QString selected;
  const int result = Run([&](qt::QtDialog& dialog) {
    QTest::keyClick(dialog.focusWidget(), Qt::Key_F12);  // the default path ends in "*.xml"
    selected = dialog.findChild<QLineEdit*>("1016")->selectedText();
    EXPECT_EQ(dialog.GetFocus(), D::kOutputPathEditId);
  });
  EXPECT_EQ(result, kStillOpen);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].icon, QMessageBox::Warning);
  EXPECT_EQ(selected.toStdString(), Windows("docs\\*.xml"));
}

// ---------------------------------------------------------------- accelerators

struct AcceleratorCase {
  const char* name;
  std::uint8_t scope;
  bool fixedPath;
  int key;
  int checked;  // radio checked afterwards
  int focus;    // focus afterwards
  bool fileDialog;
};

class QtDialogAccelerators : public QtFaceTest,
                             public ::testing::WithParamInterface<AcceleratorCase> {};

TEST_P(QtDialogAccelerators, ActLikeTheDialogManager) {
  const AcceleratorCase& c = GetParam();
  dialog_.StatementScope = c.scope;
  if (c.fixedPath) dialog_.PresetOutputPath = Windows("caller.xml");
  Run([&](qt::QtDialog& dialog) {
    QApplication::setActiveWindow(&dialog);
    QTest::keyClick(dialog.focusWidget(), Qt::Key(c.key), Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.IsChecked(c.checked); }, 1000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.GetFocus() == c.focus; }, 1000))
        << dialog.GetFocus();
    if (c.focus == D::kOutputPathEditId) {
      EXPECT_EQ(dialog.findChild<QLineEdit*>("1016")->selectedText(), EditText(dialog));
    }
  });
  EXPECT_EQ(fileDialogFolders_.size(), c.fileDialog ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QtDialogAccelerators,
    ::testing::Values(
        AcceleratorCase{"Alt3ChoosesRealEstate", 3, false, Qt::Key_3, 1011, 1011, false},
        AcceleratorCase{"Alt2ChoosesOther", 3, false, Qt::Key_2, 1012, 1012, false},
        AcceleratorCase{"Alt1OnDisabledBusinessDoesNothing", 2, false, Qt::Key_1, 1011, 1011,
                        false},
        AcceleratorCase{"AltFFocusesThePathSelected", 3, false, Qt::Key_F, 1010, 1016, false},
        AcceleratorCase{"AltFWithCallersPathIsGone", 3, true, Qt::Key_F, 1010, 1010, false},
        AcceleratorCase{"AltDBrowses", 3, false, Qt::Key_D, 1010, 1013, true},
        AcceleratorCase{"AltDWithCallersPathDoesNothing", 3, true, Qt::Key_D, 1010, 1010, false}),
    NameOf);

// ---------------------------------------------------------------- typing

struct TypingCase {
  const char* name;
  std::string before;  // Shift_JIS, set by the logic
  int cursor;          // where typing starts; -1 at the end
  QString typed;
  std::string after;  // Shift_JIS, as the logic reads it
};

class QtDialogTyping : public QtFaceTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(QtDialogTyping, CountsTheLimitInShiftJisBytes) {
  const TypingCase& c = GetParam();
  Run([&](qt::QtDialog& dialog) {
    dialog.SetText(D::kOutputPathEditId, c.before);
    auto* edit = dialog.findChild<QLineEdit*>("1016");
    edit->setFocus();
    edit->setCursorPosition(c.cursor < 0 ? edit->text().size() : c.cursor);
    for (QChar character : c.typed) {
      QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
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

TEST_F(QtFaceTest, ABrowsedPathLongerThanTheLimitIsShownWhole) {
  std::filesystem::create_directories(disk_.Join("docs"));
  const std::string longName(240, 'n');
  fileAnswers_ = {QString::fromStdString(disk_.Join("docs/" + longName + ".xml"))};
  Run([&](qt::QtDialog& dialog) {
    dialog.SetFocus(D::kBrowseButtonId);
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.GetText(D::kOutputPathEditId), Windows("docs\\" + longName + ".xml"));
  });
}

// ---------------------------------------------------------------- file dialog

struct BrowseCase {
  const char* name;
  std::string path;  // the edit's text, relative to Z:\ (empty: the default)
  std::vector<std::optional<std::string>> answers;  // POSIX, relative to the disk
  std::string expected;                             // the edit afterwards, below Z:
  std::vector<const char*> refusals;                // a word of each box shown
  const char* initialName;                          // the name the dialog offers
};

class QtDialogBrowse : public QtFaceTest, public ::testing::WithParamInterface<BrowseCase> {};

TEST_P(QtDialogBrowse, ConvertsTheChosenFile) {
  const BrowseCase& c = GetParam();
  for (const auto& answer : c.answers) {
    fileAnswers_.push_back(
        !answer ? QString()
                : QString::fromStdString(answer->front() == '/' ? *answer : disk_.Join(*answer)));
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
  EXPECT_EQ(QFileInfo(fileDialogNames_[0]).fileName().toStdString(), c.initialName);
  ASSERT_EQ(boxes_.shown.size(), c.refusals.size());
  for (std::size_t i = 0; i < c.refusals.size(); ++i) {
    EXPECT_TRUE(boxes_.shown[i].text.contains(c.refusals[i])) << boxes_.shown[i].text.toStdString();
    EXPECT_EQ(boxes_.shown[i].title, "保存ファイルを指定");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QtDialogBrowse,
    ::testing::Values(
        BrowseCase{"ChosenFileInWindowsForm", "", {"docs/r.xml"}, "docs\\r.xml", {}, ""},
        BrowseCase{"OffersTheEditsName",
                   "docs\\old.xml",
                   {"docs/new.xml"},
                   "docs\\new.xml",
                   {},
                   "old.xml"},
        BrowseCase{
            "CancelLeavesTheEdit", "docs\\old.xml", {std::nullopt}, "docs\\old.xml", {}, "old.xml"},
        BrowseCase{"OutsideEveryDriveIsRefusedAndAskedAgain",
                   "",
                   {"/proc/out.xml", "docs/r.xml"},
                   "docs\\r.xml",
                   {"PV14_DRIVES"},
                   ""},
        BrowseCase{"MissingFolderIsRefusedAndAskedAgain",
                   "",
                   {"no/such/out.xml", std::nullopt},
                   "docs\\*.xml",
                   {"パスが存在しません"},
                   ""}),
    NameOf);

// ---------------------------------------------------------------- the window

TEST_F(QtFaceTest, TemplateControlsAreNamedPlacedAndChained) {
  Run([&](qt::QtDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "所得税 - 集計条件");
    EXPECT_EQ(dialog.objectName(), "130");
    const qt::BaseUnits units = qt::BaseUnitsOf(dialog.font());
    EXPECT_EQ(dialog.size(), qt::ClientSize(ConditionDialogTemplate(), units));
    std::vector<QWidget*> tabStops;
    for (const ControlTemplate& source : ConditionDialogTemplate().controls) {
      QWidget* widget = Control(dialog, source.id);
      ASSERT_NE(widget, nullptr) << source.id;
      EXPECT_EQ(widget->geometry(),
                qt::ToPixels(source.x, source.y, source.width, source.height, units));
      if (source.id != D::kOutputPathEditId) {
        EXPECT_EQ(widget->accessibleName(),
                  qt::WithoutMnemonic(qt::ToDisplay(dialog.GetText(source.id))));
      }
      // Nothing is cut off: each text fits its control.
      if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        EXPECT_LE(radio->sizeHint().width(), widget->width()) << source.id;
      }
      if (source.style & style::kTabStop) tabStops.push_back(widget);
    }
    QWidget* next = tabStops.front();
    for (QWidget* expected : tabStops) {
      EXPECT_EQ(next, expected) << "tab order at " << expected->objectName().toStdString();
      do next = next->nextInFocusChain();
      while (next->focusPolicy() == Qt::NoFocus || !(next->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_EQ(dialog.findChild<QGroupBox*>("1015")->title(), "出力先(&F)");
  });
}

}  // namespace
}  // namespace pv14::testing
