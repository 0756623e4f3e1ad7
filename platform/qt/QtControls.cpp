#include "platform/qt/QtControls.h"

#include <QAbstractButton>
#include <QEvent>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

#include "platform/TypedText.h"
#include "platform/qt/QtText.h"

namespace pv14::qt {
namespace {

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

}  // namespace

QtControls::QtControls(QWidget& window, const DialogTemplate& dialog)
    : window_(window), dialog_(dialog) {
  window_.setFont(TemplateFont(dialog));
  units_ = BaseUnitsOf(window_.font());
  window_.setFixedSize(ClientSize(dialog, units_));
  window_.setObjectName(QString::number(dialog.id));
  window_.setWindowTitle(ToDisplay(dialog.caption));
  window_.setAccessibleName(ToDisplay(dialog.caption));

  controls_.reserve(dialog.controls.size());
  QButtonGroup* group = nullptr;
  int groupStart = 0;  // the first radio button of the group being built
  for (const auto& source : dialog.controls) {
    Control control{&source, Build(source), source.text, {}, kEditDefaultLimit, nullptr};
    if (source.kind == ControlKind::kRadioButton) {
      const std::vector<int> members = dialog.RadioGroup(source.id);
      if (group == nullptr || members.front() != groupStart) {
        group = new QButtonGroup(&window_);
        groupStart = members.front();
      }
      group->addButton(static_cast<QAbstractButton*>(control.widget));
      control.group = group;
    }
    controls_.push_back(control);
    Show(controls_.back());
  }
  QWidget* previous = nullptr;
  for (auto& control : controls_) {
    if (!(control.source->style & style::kTabStop)) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, control.widget);
    previous = control.widget;
  }
}

QWidget* QtControls::Build(const ControlTemplate& source) {
  QWidget* widget = nullptr;
  switch (source.kind) {
    case ControlKind::kStatic: {
      auto* label = new QLabel(&window_);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft |
                          (source.style & style::kCenterImage ? Qt::AlignVCenter : Qt::AlignTop));
      widget = label;
      break;
    }
    case ControlKind::kGroupBox:
      widget = new QGroupBox(&window_);
      widget->installEventFilter(&groupAccelerators_);
      break;
    case ControlKind::kRadioButton:
      widget = new QRadioButton(&window_);
      break;
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(&window_);
      // No default button: Enter is the dialog logic's.
      button->setAutoDefault(false);
      widget = button;
      break;
    }
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(&window_);
      edit->setFrame(source.style & style::kBorder);
      const int id = source.id;
      QObject::connect(edit, &QLineEdit::textEdited, [this, id, edit](const QString& now) {
        if (Control* control = Find(id)) OnEdited(*control, *edit, now);
      });
      widget = edit;
      break;
    }
    case ControlKind::kProgressBar: {
      auto* bar = new QProgressBar(&window_);
      bar->setTextVisible(false);
      bar->setRange(0, 100);  // a new bar's range
      bar->setValue(0);
      widget = bar;
      break;
    }
  }
  widget->setObjectName(QString::number(source.id));
  widget->setGeometry(ToPixels(source.x, source.y, source.width, source.height, units_));
  const bool tabStop = source.style & style::kTabStop;
  if (!tabStop && source.kind != ControlKind::kRadioButton &&
      source.kind != ControlKind::kPushButton && source.kind != ControlKind::kEdit) {
    widget->setFocusPolicy(Qt::NoFocus);
  } else if (!tabStop) {
    widget->setFocusPolicy(Qt::ClickFocus);
  }
  return widget;
}

void QtControls::Show(Control& control) {
  const QString text = ToDisplay(control.text);
  if (auto* label = qobject_cast<QLabel*>(control.widget)) {
    // Cut on a character's boundary, with an ellipsis, where the template
    // asks for it; the accessible name keeps the whole text.
    const bool elide = control.source->style & style::kEndEllipsis;
    label->setText(elide ? label->fontMetrics().elidedText(text, Qt::ElideRight, label->width())
                         : text);
  } else if (auto* box = qobject_cast<QGroupBox*>(control.widget)) {
    box->setTitle(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control.widget)) {
    button->setText(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control.widget)) {
    edit->setText(text);
    control.shown = text;
  }
  // A bar's text is no caption: it is never drawn.
  const bool data = control.source->style & style::kNoPrefix;
  control.widget->setAccessibleName(data ? text : WithoutMnemonic(text));
}

void QtControls::OnEdited(Control& control, QLineEdit& edit, const QString& now) {
  const TypedChange fitted =
      FitTypedChange(control.shown.toStdU16String(), now.toStdU16String(), control.limit);
  const std::u16string_view kept = fitted.text;
  control.text = TypeIntoEdit(Utf16ToUtf8(kept), kNoLimit);
  // Shown as the program holds it: '?' for what Shift_JIS cannot hold.
  const QString shown = ToDisplay(control.text);
  if (shown != now) {
    edit.setText(shown);
    const std::string beforeCaret =
        TypeIntoEdit(Utf16ToUtf8(kept.substr(0, fitted.caret)), kNoLimit);
    edit.setCursorPosition(static_cast<int>(ToDisplay(beforeCaret).size()));
  }
  control.shown = shown;
  edit.setAccessibleName(shown);
}

QtControls::Control* QtControls::Find(int id) {
  for (auto& control : controls_) {
    if (control.source->id == id) return &control;
  }
  return nullptr;
}

const QtControls::Control* QtControls::Find(int id) const {
  return const_cast<QtControls*>(this)->Find(id);
}

int QtControls::IdOf(const QWidget* widget) const {
  for (; widget != nullptr && widget != &window_; widget = widget->parentWidget()) {
    for (const auto& control : controls_) {
      if (control.widget == widget) return control.source->id;
    }
  }
  return 0;
}

bool QtControls::IsChecked(int id) const {
  const Control* control = Find(id);
  auto* button = control ? qobject_cast<QAbstractButton*>(control->widget) : nullptr;
  return button != nullptr && button->isChecked();
}

void QtControls::SetCheck(int id, bool checked) {
  Control* control = Find(id);
  auto* button = control ? qobject_cast<QAbstractButton*>(control->widget) : nullptr;
  if (button == nullptr) return;
  button->setCheckable(true);
  // Set as asked: the group's exclusion is for the user's clicks only.
  if (control->group != nullptr) control->group->setExclusive(false);
  button->setChecked(checked);
  if (control->group != nullptr) control->group->setExclusive(true);
}

bool QtControls::IsEnabled(int id) const {
  const Control* control = Find(id);
  return control != nullptr && control->widget->isEnabled();
}

void QtControls::Enable(int id, bool enabled) {
  if (Control* control = Find(id)) control->widget->setEnabled(enabled);
}

std::string QtControls::GetText(int id) const {
  const Control* control = Find(id);
  return control != nullptr ? control->text : std::string();
}

void QtControls::SetText(int id, const std::string& text) {
  if (Control* control = Find(id)) {
    control->text = text;
    Show(*control);
  }
}

void QtControls::LimitText(int id, std::size_t bytes) {
  if (Control* control = Find(id)) control->limit = bytes;
}

int QtControls::GetFocus() const { return IdOf(window_.focusWidget()); }

void QtControls::SetFocus(int id, Qt::FocusReason reason) {
  if (Control* control = Find(id)) control->widget->setFocus(reason);
}

void QtControls::SelectAll(int id) {
  Control* control = Find(id);
  if (auto* edit = control ? qobject_cast<QLineEdit*>(control->widget) : nullptr) {
    edit->selectAll();  // leaves the caret at the end, in view
  }
}

bool QtControls::GroupAccelerators::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Shortcut) return false;
  const int next = owner_.NextTabStop(owner_.IdOf(static_cast<QWidget*>(watched)));
  if (next != 0) owner_.SetFocus(next, Qt::ShortcutFocusReason);
  return true;
}

int QtControls::NextTabStop(int id) const {
  return dialog_.NextTabStop(id, [this](int next) { return IsEnabled(next); });
}

}  // namespace pv14::qt
