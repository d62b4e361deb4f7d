// The Open command without windows: tell text from binary, read binary files by extension, and
// try the text recognisers in order.
#pragma once

#include "datastate.h"

#include "model/textlines.h"

#include <string>
#include <string_view>

namespace telvane {

// Content test results.
enum ContentResult : int {
    kContentText = 1,
    kContentBinary = 2,
    kContentCannotOpen = -1,
    kContentEmpty = -2,
    kContentReadError = -3,
};

// Looks at the first 100 bytes: text when each is a control character 9..13, a character
// 32..126, or part of a well-formed GBK double-byte character.
int content_test(std::string_view first_bytes);
std::string_view content_result_key(int result);

// The binary dispatch on the four characters from the first '.' of the path: job files become
// records (DataKind 1), point files points (DataKind 2). Appends what to show to `messages`.
void open_binary(const std::string& path, std::string_view bytes, DataState& data,
                 Messages& messages);

} // namespace telvane
