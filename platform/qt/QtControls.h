// The controls of one template built as Qt widgets on a window, kept by id.
// Each widget's object name is its id and its accessible name its text, so
// tools and screen readers find it. Texts are kept as the program's
// Shift_JIS bytes; the widgets show them converted.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/TypedText.h"
#include "platform/qt/QtTemplate.h"

class QButtonGroup;
class QLineEdit;

namespace pv14::qt {

class QtControls {
 public:
  struct Control {
    const ControlTemplate* source = nullptr;
    QWidget* widget = nullptr;
    std::string text;       // Shift_JIS
    QString shown;          // an edit's text as last shown
    std::size_t limit = 0;  // bytes an edit takes by typing
    QButtonGroup* group = nullptr;
  };

  // Builds every control of the template on window, sizes the window to the
  // template's client area and chains the tab stops in template order.
  QtControls(QWidget& window, const DialogTemplate& dialog);

  const DialogTemplate& Template() const { return dialog_; }
  BaseUnits Units() const { return units_; }
  std::vector<Control>& All() { return controls_; }
  Control* Find(int id);
  const Control* Find(int id) const;
  // The id of the control that is or holds widget; 0 for none.
  int IdOf(const QWidget* widget) const;

  bool IsChecked(int id) const;
  void SetCheck(int id, bool checked);
  bool IsEnabled(int id) const;
  void Enable(int id, bool enabled);
  std::string GetText(int id) const;
  void SetText(int id, const std::string& text);
  void LimitText(int id, std::size_t bytes);
  int GetFocus() const;
  void SetFocus(int id, Qt::FocusReason reason);
  void SelectAll(int id);
  // The first enabled tab stop at or after the control id in template
  // order (from the start when id is 0); 0 when there is none.
  int NextTabStop(int id) const;

 private:
  // A group box's accelerator moves the focus to the next tab stop, as the
  // dialog manager does for controls that take no focus themselves.
  class GroupAccelerators : public QObject {
   public:
    explicit GroupAccelerators(QtControls& owner) : owner_(owner) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    QtControls& owner_;
  };

  QWidget* Build(const ControlTemplate& control);
  void Show(Control& control);
  // Typing as a Shift_JIS edit of a byte limit takes it.
  void OnEdited(Control& control, QLineEdit& edit, const QString& now);

  QWidget& window_;
  const DialogTemplate& dialog_;
  BaseUnits units_;
  std::vector<Control> controls_;
  GroupAccelerators groupAccelerators_{*this};
};

}  // namespace pv14::qt
