#pragma once

#include <cstdint>
#include <string_view>

namespace saymgr::dictionary {

// CRC-32 (IEEE 802.3, reflected polynomial 0xEDB88320) of `bytes`.
uint32_t crc32(std::string_view bytes);

}  // namespace saymgr::dictionary
