// telvane-cli: the program's file conversions and road calculation from the command line.
#include "cli.h"
#include "encoding.h"

#include "model/jobtext.h"

#include <exception>
#include <iostream>

namespace {

// The record parser's report of a value it could not read goes to standard error, so that it
// never mixes with what info and dump print; the value it quotes may hold GBK bytes.
void stderr_diagnostic(std::string_view line) {
    std::cerr << telvane::cli::gbk_to_utf8(line) << "\n";
}

} // namespace

int main(int argc, char** argv) {
    telvane::set_diagnostic_sink(&stderr_diagnostic);
    // Whatever goes wrong (a file too big for memory, among others) ends with a message and
    // status 1, never with an abort.
    try {
        return telvane::cli::run_cli(argc, argv, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "telvane-cli: " << e.what() << "\n";
        return 1;
    }
}
