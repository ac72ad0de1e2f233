#include "form/about.h"

namespace trolvane {

std::string NameAndVersion() {
    return "Trolvane " TROLVANE_VERSION;
}

std::string AboutText() {
    return NameAndVersion() +
           "\n\n"
           "Trolvane runs Bartlett's chi-square test for the next principal component, whether "
           "the eigenvalues of the correlation matrix left after the kept components are equal "
           "(Bartlett, 1950, 1951), and, from data, Bartlett's test of sphericity and the "
           "Kaiser-Meyer-Olkin measure of sampling adequacy in Kaiser's words (Kaiser, 1974).\n\n"
           "Bartlett, M. S. (1950). Tests of significance in factor analysis. British Journal of "
           "Psychology, Statistical Section, 3, 77-85.\n"
           "Bartlett, M. S. (1951). A further note on tests of significance in factor analysis. "
           "British Journal of Psychology, Statistical Section, 4, 1-2.\n"
           "Kaiser, H. F. (1974). An index of factorial simplicity. Psychometrika, 39, 31-36.\n\n"
           "Copyright (c) 2026 The Trolvane developers. Trolvane is free software under the MIT "
           "licence.\n\n"
           "It is built from free parts, each under its own licence: Qt 6 (LGPL-3.0, Linux "
           "edition), Boost.Math (BSL-1.0), {fmt} (MIT), fast_float (MIT), Eigen (MPL-2.0), the "
           "Tahoma font from Wine (LGPL-2.1-or-later), Emscripten's runtime (MIT, browser "
           "edition), and in the Windows edition the GCC runtime libraries (GPL-3.0 with the GCC "
           "Runtime Library Exception) and the MinGW-w64 runtime (ZPL-2.1 and others). "
           "Trolvane's licence and these parts' notices come with every copy of it.";
}

std::string CommandLineHelp() {
    return "Usage: trolvane [FILE]\n"
           "Bartlett's chi-square test for the next principal component.\n"
           "\n"
           "  FILE       a correlation or covariance matrix, or raw data, opened in the data "
           "dialog\n"
           "  --help     print this help and exit\n"
           "  --version  print the version and exit\n";
}

}  // namespace trolvane
