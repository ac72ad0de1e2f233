# Writes r_prints.h, R's console prints of four correlation matrices at a width
# of 80, with what reading each must give: run with
# Rscript tests/data_reading/r_prints.R > tests/data_reading/r_prints.h, then
# clang-format -i tests/data_reading/r_prints.h
# (needs R with psych and Hmisc).
suppressMessages({library(psych); library(Hmisc)})
options(width = 80)
data(bfi, package = "psych")

# Each column as print writes it, to seven significant digits.
as_printed <- function(r) {
  apply(r, 2, function(column) as.numeric(format(column, digits = 7)))
}
prints <- list(
  list(what = "CorOfMtcars", r = cor(mtcars), n = 0, matrices = 1, title = "",
       print = function(r) print(r), printed = as_printed),
  list(what = "PairwiseCorOfBfi", r = cor(bfi[1:25], use = "pairwise"), n = 0, matrices = 1,
       title = "", print = function(r) print(r), printed = as_printed),
  list(what = "RcorrOfSwiss", r = rcorr(as.matrix(swiss))$r, n = 47, matrices = 2, title = "",
       print = function(r) print(rcorr(as.matrix(swiss))), printed = function(r) round(r, 2)),
  list(what = "CorrTestOfAttitude", r = cor(attitude), n = 30, matrices = 2,
       title = "Correlation matrix", print = function(r) print(corr.test(attitude)),
       printed = function(r) round(r, 2)))

numbers <- function(x) paste(sprintf("%.17g", x), collapse = ", ")
names_of <- function(x) paste0('"', x, '"', collapse = ", ")
cat("// R's console prints of correlation matrices at a width of 80, and the matrix\n")
cat("// each print shows; written by r_prints.R (R ", as.character(getRversion()), ", psych ",
    as.character(packageVersion("psych")), ", Hmisc ", as.character(packageVersion("Hmisc")),
    ").\n#pragma once\n\n#include <string>\n", sep = "")
cat("#include <vector>\n\nnamespace trolvane {\n\nstruct RPrint {\n")
cat("    const char* what;\n    const char* text;\n    std::vector<std::string> names;\n")
cat("    long long cases;\n    int matrices;\n    std::string title;\n")
cat("    // R's log det of the printed matrix, and its last row.\n")
cat("    double logDeterminant;\n    std::vector<double> lastRow;\n};\n\n")
cat("inline const std::vector<RPrint> kRPrints = {\n")
for (p in prints) {
  text <- paste(capture.output(p$print(p$r)), collapse = "\n")
  # Read as the matrix's lower triangle, mirrored.
  m <- p$printed(p$r)
  m[upper.tri(m)] <- t(m)[upper.tri(m)]
  cat("    {\"", p$what, "\",\n     R\"PRINT(", text, "\n)PRINT\",\n", sep = "")
  cat("     {", names_of(colnames(p$r)), "},\n", sep = "")
  cat("     ", p$n, ", ", p$matrices, ", \"", p$title, "\",\n", sep = "")
  cat("     ", sprintf("%.17g", determinant(m)$modulus), ",\n", sep = "")
  cat("     {", numbers(m[nrow(m), ]), "}},\n", sep = "")
}
cat("};\n\n}  // namespace trolvane\n")
