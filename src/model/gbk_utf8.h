// Text for people and exchange files is UTF-8; files of the instrument and the program's own texts
// carry GBK. Conversion with the C library's iconv, so that the core needs no toolkit.
#pragma once

#include <string>
#include <string_view>

namespace telvane {

// GBK bytes as UTF-8. ASCII passes unchanged; a byte sequence that is no GBK character becomes
// U+FFFD, so that a damaged name still prints as a readable line.
std::string gbk_to_utf8(std::string_view gbk);

// UTF-8 as GBK bytes, for texts written into files; a character GBK lacks becomes '?'.
std::string utf8_to_gbk(std::string_view utf8);

} // namespace telvane
