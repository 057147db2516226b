#pragma once

#include "generator/central_script.hpp"

namespace hw {

/// A fresh random version-4 GUID from the operating system's generator. When
/// the system gives no random bytes, all fields are zero.
Guid newGuid();

} // namespace hw
