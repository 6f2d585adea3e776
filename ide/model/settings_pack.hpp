// The display settings as the editor control reads them: a block of 136
// little-endian bytes (font record, sixteen colours, MinX, TabSize,
// LineDistance). Every editor gets the whole block, whatever changed.
#pragma once
#include <cstdint>
#include <vector>

#include "ide/model/display_setting.hpp"

namespace ide {

inline constexpr size_t kSettingsBlockSize = 136;

// The face name goes in the control's 8-bit code page, cut to 31 bytes and
// NUL-terminated; a double-byte character that does not fit whole is left out.
std::vector<uint8_t> PackDisplaySetting(const CDisplaySetting& setting);

} // namespace ide
