#pragma once
#include <optional>
#include <string>

// What `quorl --help` (or -h) and `quorl --version` print: the usage and the
// package's version, which the About box shows too. Only as the first word;
// nothing for any other command line.
std::optional<std::string> InformationRequested(int argc, const char* const* argv);
