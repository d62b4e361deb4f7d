// telvane-cli: the program's file conversions without windows.
#include "convert.h"
#include "options.h"
#include "road_command.h"

#include <exception>
#include <iostream>

namespace {

int run(int argc, char** argv) {
    using namespace telvane::cli;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            std::cout << kUsage;
            return 0;
        }
    }
    // The road command has options of its own, which the generic parser would refuse.
    if (argc > 1 && std::string_view(argv[1]) == "road")
        return run_road(argc, argv, std::cout, std::cerr);
    std::string error;
    const auto options = parse_options(argc, argv, error);
    if (!options) {
        std::cerr << "telvane-cli: " << error << "\n" << kUsage;
        return 2;
    }
    if (options->command == "convert")
        return run_convert(*options, std::cerr);
    if (options->command == "info")
        return run_info(*options, std::cout, std::cerr);
    if (options->command == "dump")
        return run_dump(*options, std::cout, std::cerr);
    std::cerr << "telvane-cli: unknown command " << options->command << "\n" << kUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Whatever goes wrong (a file too big for memory, among others) ends with a message and
    // status 1, never with an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "telvane-cli: " << e.what() << "\n";
        return 1;
    }
}
