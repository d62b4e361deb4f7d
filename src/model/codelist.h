// The instrument's feature-code lists.
#pragma once

#include "records.h"
#include "textlines.h"

#include <span>
#include <vector>

namespace telvane {

// Reads bare codes (one per line, no '.', ',', ' ' or ':' before the trailing blanks) or, failing
// that, code-table rows of exactly 10 colon-separated fields. Returns false and leaves `codes`
// untouched when neither form fits.
bool read_code_list(std::span<const std::string> lines, std::vector<code_item>& codes);
bool read_code_list(std::span<const std::string_view> lines, std::vector<code_item>& codes);

// One code per line, as stored; nothing for an empty list.
Lines write_code_list(std::span<const code_item> codes);

} // namespace telvane
