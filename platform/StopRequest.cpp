#include "platform/StopRequest.h"

#include <atomic>

namespace pv14 {
namespace {

// A signal handler may only touch a lock-free atomic.
std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace

void NoteStopRequest() { requested.store(true); }

bool IsStopRequested() { return requested.load(); }

}  // namespace pv14
