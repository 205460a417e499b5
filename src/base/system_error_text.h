// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace base {

// Windows' own wording of the system error code `error`, without the line end
// and the final full stop, fit to be embedded in a sentence; "system error N"
// when Windows has no text for it. Windows only.
std::u16string SystemErrorText(std::uint32_t error);

}  // namespace base
