// Small vocabulary shared by the device layer and the code above it.
#pragma once

#include <cstdint>

#include "platform/error_codes.h"

namespace pw {

using WORD = std::uint16_t;
using BYTE = std::uint8_t;

// An owner window as the non-GUI code sees it. The GUI hands out its widgets
// as HWND values and turns them back into widgets; null means "no owner".
using HWND = void*;

}  // namespace pw
