// What a message box style asks for, decoded once for every face: its
// buttons (as the answers they give, in order), its icon, and the answer of
// a box closed or ended without a button pressed.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Types.h"

namespace pv14 {

enum class MessageIcon { kNone, kError, kQuestion, kWarning, kInformation };

inline MessageIcon IconOf(std::uint32_t style) {
  switch (style & 0xF0) {
    case 0x10:
      return MessageIcon::kError;
    case kMbIconQuestion:
      return MessageIcon::kQuestion;
    case kMbIconExclamation:
      return MessageIcon::kWarning;
    case kMbIconInformation:
      return MessageIcon::kInformation;
    default:
      return MessageIcon::kNone;
  }
}

// OK; OK, Cancel; Yes, No, Cancel; Yes, No. The first is the default.
inline std::vector<int> AnswersOf(std::uint32_t style) {
  switch (style & 0x0F) {
    case 0x01:
      return {kIdOk, kIdCancel};
    case 0x03:
      return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo:
      return {kIdYes, kIdNo};
    default:
      return {kIdOk};
  }
}

// A box closed without a button (Esc, the close box, no more input, a box
// that could not be shown) answers Cancel where it has one, else No, else
// OK: a question nobody answered never makes or overwrites anything.
inline int UnansweredAnswer(std::uint32_t style) {
  const std::vector<int> answers = AnswersOf(style);
  for (int id : {kIdCancel, kIdNo}) {
    for (int answer : answers) {
      if (answer == id) return id;
    }
  }
  return kIdOk;
}

}  // namespace pv14
