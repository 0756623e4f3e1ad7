// The POSIX Env over a given drive table. Env::Default() is the one over
// DriveTable::FromEnvironment(); tests make their own with a table of
// temporary folders.
#pragma once

#include <memory>

#include "platform/DriveTable.h"
#include "platform/Env.h"

namespace pv14 {

std::unique_ptr<Env> NewPosixEnv(DriveTable drives);

}  // namespace pv14
