#include "cli.h"

#include "convert.h"
#include "options.h"
#include "road_command.h"
#include "texts.h"
#include "transfer.h"

#include <optional>
#include <ostream>

namespace telvane::cli {

int run_cli(int argc, char** argv, std::ostream& out, std::ostream& err) {
    // Messages are in English until --lang has been read.
    const std::optional<CliTexts> english = CliTexts::for_language("en");
    const CliTexts* texts = &*english;
    UsageError error;
    const auto global = take_global_options(argc, argv, error);
    if (!global) {
        err << texts->message(error.subject, error.key);
        return 2;
    }
    const std::optional<CliTexts> chosen = CliTexts::for_language(global->lang);
    if (!chosen) {
        err << texts->message(global->lang, "cli_unknown_language");
        return 2;
    }
    texts = &*chosen;
    if (global->help) {
        out << kUsage;
        return 0;
    }
    if (global->version) {
        out << "telvane-cli " TELVANE_VERSION "\n";
        return 0;
    }
    std::vector<char*> args;
    for (const std::string& a : global->rest)
        args.push_back(const_cast<char*>(a.c_str()));
    const int count = static_cast<int>(args.size());

    // The road command has options of its own, which the generic parser would refuse.
    if (count > 1 && std::string_view(args[1]) == "road")
        return run_road(count, args.data(), *texts, out, err);
    const auto options = parse_options(count, args.data(), error);
    if (!options) {
        err << texts->message(error.subject, error.key);
        return 2;
    }
    if (options->command == "convert")
        return run_convert(*options, *texts, err);
    if (options->command == "info")
        return run_info(*options, *texts, out, err);
    if (options->command == "dump")
        return run_dump(*options, *texts, out, err);
    if (options->command == "plot")
        return run_plot(*options, *texts, err);
    if (options->command == "instrument")
        return run_instrument(*options, *texts, out, err);
#ifdef TELVANE_CLI_TRANSFERS
    if (options->command == "receive")
        return run_receive(*options, *texts, err);
    if (options->command == "send")
        return run_send(*options, *texts, err);
#else
    if (options->command == "receive" || options->command == "send") {
        err << texts->message(options->command, "cli_no_serial_port");
        return 1;
    }
#endif
    err << texts->message(options->command, "cli_unknown_command");
    return 2;
}

} // namespace telvane::cli
