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
           "Kaiser-Meyer-Olkin measure of sampling adequacy in Kaiser's words (Kaiser, 1974). "
           "How many components to keep it answers by parallel analysis (Horn, 1965; Glorfeld, "
           "1995) on random correlation matrices drawn by Bartlett's decomposition (Odell & "
           "Feiveson, 1966), the minimum average partial (Velicer, 1976; Velicer, Eaton & Fava, "
           "2000), optimal coordinates and the acceleration factor (Raiche et al., 2013), and "
           "Kaiser's rule (Kaiser, 1960).\n\n"
           "Bartlett, M. S. (1950). Tests of significance in factor analysis. British Journal of "
           "Psychology, Statistical Section, 3, 77-85.\n"
           "Bartlett, M. S. (1951). A further note on tests of significance in factor analysis. "
           "British Journal of Psychology, Statistical Section, 4, 1-2.\n"
           "Glorfeld, L. W. (1995). An improvement on Horn's parallel analysis methodology for "
           "selecting the correct number of factors to retain. Educational and Psychological "
           "Measurement, 55, 377-393.\n"
           "Horn, J. L. (1965). A rationale and test for the number of factors in factor "
           "analysis. Psychometrika, 30, 179-185.\n"
           "Kaiser, H. F. (1960). The application of electronic computers to factor analysis. "
           "Educational and Psychological Measurement, 20, 141-151.\n"
           "Kaiser, H. F. (1974). An index of factorial simplicity. Psychometrika, 39, 31-36.\n"
           "Odell, P. L., & Feiveson, A. H. (1966). A numerical procedure to generate a sample "
           "covariance matrix. Journal of the American Statistical Association, 61, 199-203.\n"
           "Raiche, G., Walls, T. A., Magis, D., Riopel, M., & Blais, J.-G. (2013). Non-graphical "
           "solutions for Cattell's scree test. Methodology, 9, 23-29.\n"
           "Velicer, W. F. (1976). Determining the number of components from the matrix of "
           "partial correlations. Psychometrika, 41, 321-327.\n"
           "Velicer, W. F., Eaton, C. A., & Fava, J. L. (2000). Construct explication through "
           "factor or component analysis: A review and evaluation of alternative procedures for "
           "determining the number of factors or components. In R. D. Goffin & E. Helmes (Eds.), "
           "Problems and solutions in human assessment (pp. 41-71). Boston: Kluwer.\n\n"
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
