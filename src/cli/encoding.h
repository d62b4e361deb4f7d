// The command-line tool's text conversions: people read UTF-8, files carry GBK.
#pragma once

#include "model/gbk_utf8.h"

namespace telvane::cli {

using telvane::gbk_to_utf8;
using telvane::utf8_to_gbk;

} // namespace telvane::cli
