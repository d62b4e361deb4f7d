# Writes a C++ source that holds a file's bytes as an array:
# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAME=<identifier> -P EmbedFile.cmake
# The source defines `extern const std::string_view NAME` in namespace telvane::embedded.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
# Break the initialiser into lines of 16 bytes.
string(REGEX REPLACE "(('[^']*',){16})" "\\1\n    " bytes "${bytes}")
math(EXPR size "${hex_length} / 2")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${INPUT} by EmbedFile.cmake; do not edit.
#include <string_view>

namespace telvane::embedded {
namespace {
const char bytes[] = {
    ${bytes}'\\0'};
} // namespace
extern const std::string_view ${NAME};
const std::string_view ${NAME}(bytes, ${size});
} // namespace telvane::embedded
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
