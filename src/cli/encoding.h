// Text for people is UTF-8; files and the instrument carry GBK. The command-line tool converts
// between them with the C library's iconv, so that it needs no toolkit.
#pragma once

#include <string>
#include <string_view>

namespace telvane::cli {

// GBK bytes as UTF-8. ASCII passes unchanged; a byte sequence that is no GBK character becomes
// U+FFFD, so that a damaged name still prints as a readable line.
std::string gbk_to_utf8(std::string_view gbk);

// UTF-8 as GBK bytes, for texts written into files; a character GBK lacks becomes '?'.
std::string utf8_to_gbk(std::string_view utf8);

} // namespace telvane::cli
