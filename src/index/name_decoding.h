// Decoding of `name` table records to UTF-8 by platform, encoding and language.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lumo::index {

/// The record's text as UTF-8; nullopt when its platform/encoding is unknown
/// or its bytes are ill-formed in that encoding (odd-length or unpaired
/// surrogates in UTF-16BE, bytes a legacy code page does not define).
///
/// Unicode (platform 0) and Windows Symbol, Unicode BMP and UCS-4 (3/0, 3/1,
/// 3/10): UTF-16BE. Macintosh (platform 1): Roman and its language variants,
/// and the other 8-bit Mac scripts, through tables; the Mac CJK encodings and
/// the Windows legacy CJK encodings (3/2 ShiftJIS, 3/3 PRC, 3/4 Big5,
/// 3/5 Wansung, 3/6 Johab) through the system's iconv. ISO (platform 2):
/// ASCII, UTF-16BE, Latin-1.
std::optional<std::string> decode_name_record(std::uint16_t platform_id, std::uint16_t encoding_id,
                                              std::uint16_t language_id, std::span<const std::uint8_t> bytes);

}  // namespace lumo::index
