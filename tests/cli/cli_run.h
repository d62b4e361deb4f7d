// Runs telvane-cli in the test's process with the given arguments and keeps what it printed.
#pragma once

#include "cli/cli.h"

#include <sstream>
#include <string>
#include <vector>

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun cli(std::vector<std::string> args) {
    args.insert(args.begin(), "telvane-cli");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    std::ostringstream out, err;
    const int status = telvane::cli::run_cli(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}
