// How the programs read their command lines: each parses into an options
// struct of its own apart from running (poemd_options.h, index_options.h,
// measure_options.h), so that what a command line means is tested without
// running anything. Parsing gives the options, or an answer to give at
// once: the text of --help or --version, or what is wrong and its exit code.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <variant>

namespace miravel::poemd {

struct CommandLineAnswer {
  int exit_code = 0;
  std::string text;  // to standard output when exit_code is 0, else to standard error
};

template <typename Options>
using CommandLine = std::variant<Options, CommandLineAnswer>;

// Parses `argv` with `app`: nullopt when the program is to run, else the
// answer CLI11 gives (--help and --version exit 0, a mistake CLI11's code).
std::optional<CommandLineAnswer> ParseWith(CLI::App& app, int argc, const char* const* argv);

// Prints the answer where it belongs; gives its exit code.
int Give(const CommandLineAnswer& answer);

}  // namespace miravel::poemd
