// The Save command without windows: the lines of each save type, and the GTS-7 export.
#pragma once

#include "datastate.h"

#include "model/filebytes.h"
#include "model/textlines.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace telvane {

// What a save produces: whether a file is to be written (possibly empty, as the instrument
// software always did for a GTS-7 name without ".gt7"), its lines, and what to show.
struct SaveOutcome {
    bool write = false;
    std::string bytes; // the file's content, CR LF after every line (LandXML: the XML text)
    Messages messages;

    Lines lines() const { return split_lines(bytes); }
};

// GTS-7 variants: 1 as recorded, 2 with coordinates turned into observations.
Lines gts7_export(const DataState& data, int variant, bool reduce, std::string_view file_name,
                  const FileSettings& settings, Messages& messages);
void gts7_export(const DataState& data, int variant, bool reduce, std::string_view file_name,
                 const FileSettings& settings, Messages& messages, ByteSink& out);

// The lines of save-type position `position` (counting from 1) of the save dialog's type list
// for the data on show. The file name matters only to the GTS-7 types.
SaveOutcome build_save(const DataState& data, int position, std::string_view file_name,
                       const FileSettings& settings);

// Writes an outcome's lines (CR LF each) atomically; false with the reason when the file
// system refuses. The old file is then left as it was.
bool write_save(const std::string& path, const SaveOutcome& outcome, std::string* error);

// The Save command's writing in one step, for big data: the bytes of save type `position`
// stream into a temporary file beside `path` that replaces it once whole (a million points make
// some 300 MB of DXF, which are never held in memory). Nothing is touched when the messages say
// no file is written; `error` says why the file system refused.
struct SaveResult {
    bool written = false;
    std::string error;
    Messages messages;
};
SaveResult save_to_file(const std::string& path, const DataState& data, int position,
                        const FileSettings& settings);

// The one table of save types: for each kind of data, the types its save dialog offers, in the
// dialog's order (the position counts from 1, as build_save takes it), each with the name the
// command-line tool gives it and its file extension.
struct SaveType {
    DataKind kind;
    int position;
    std::string_view name;
    std::string_view extension;
};
std::span<const SaveType> save_types();
// The position of the type `name` for `kind`, or nothing when that kind has no such type.
std::optional<int> save_position(DataKind kind, std::string_view name);

} // namespace telvane
