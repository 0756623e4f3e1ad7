// ClAccConnect::DispMsg, apart so that only callers of it need a front end.
#include "engine/LedgerEngine.h"
#include "ledgerengine/AccConnectImpl.h"
#include "platform/Ui.h"

std::int32_t ClAccConnect::DispMsg(pv14::WindowHandle owner, const char* text, const char* caption,
                                   std::uint32_t style) {
  // Without a caption of its own the message carries the one set for the run.
  const std::string shownCaption = caption != nullptr ? caption : impl_->caption;
  return pv14::Ui::Default().MessageBox(owner, text != nullptr ? text : "", shownCaption, style);
}
