// What Trolvane says about itself: its version, what it computes and from
// which papers, its licence, and the free parts it is built from.
#pragma once

#include <string>

namespace trolvane {

// "Trolvane 0.1.0".
std::string NameAndVersion();

// The About box's text, paragraphs separated by blank lines.
std::string AboutText();

// What --help prints.
std::string CommandLineHelp();

}  // namespace trolvane
