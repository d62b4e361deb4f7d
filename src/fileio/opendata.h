// The Open command without windows: tell text from binary, read binary files by extension, and
// try the text recognisers in order.
#pragma once

#include "datastate.h"

#include "model/textlines.h"

#include <span>
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
// records, point files points. Appends what to show to `messages`.
void open_binary(const std::string& path, std::string_view bytes, DataState& data,
                 Messages& messages);

// The text recognisers in order, first match wins. `extension` is the file name's extension
// from its last '.', in upper case (".PHI", ".SEC" and ".PVI" choose the road readers).
// A job text that was recognised but did not load leaves its load message in *job_error.
void open_text(std::span<const std::string> lines, std::string_view extension, DataState& data,
               const FileSettings& settings, Messages& messages, std::string* job_error = nullptr);
void open_text(std::span<const std::string_view> lines, std::string_view extension, DataState& data,
               const FileSettings& settings, Messages& messages, std::string* job_error = nullptr);

// The CgPoints of a LandXML file as points, replacing the lists. False with the
// reader's message key (and the element it names as suffix) when the file has none to give;
// `data` is then unchanged.
bool open_landxml_points(std::string_view bytes, DataState& data, Messages& messages);

// The Open command after its file dialog. Returns true when a dispatch ran (the window then
// rebuilds its view); false when the file could not be read, with the reason in `messages` and
// `data` unchanged.
bool open_data_file(const std::string& path, DataState& data, const FileSettings& settings,
                    Messages& messages, std::string* job_error = nullptr);

} // namespace telvane
