# Prints the R values that polychoric_test.cpp holds as constants: run with
# Rscript tests/data_reading/polychoric_values.R (needs R with mvtnorm,
# polycor and psych).
suppressMessages({library(mvtnorm); library(polycor); library(psych)})
f <- function(x) sprintf("%.17g", x)

source("tests/data_reading/polychoric_likelihood.R")

# Counts of n cases of a bivariate normal with correlation r cut at the
# thresholds given.
drawn <- function(n, r, a, b) {
  z <- rmvnorm(n, sigma = matrix(c(1, r, r, 1), 2))
  table(factor(cut(z[, 1], c(-Inf, a, Inf)), levels = levels(cut(0, c(-Inf, a, Inf)))),
        factor(cut(z[, 2], c(-Inf, b, Inf)), levels = levels(cut(0, c(-Inf, b, Inf)))))
}
set.seed(31)
tables <- list(
  "2 x 2" = matrix(c(40, 10, 15, 35), 2, byrow = TRUE),
  "2 x 2, thresholds at 0" = matrix(c(30, 20, 20, 30), 2, byrow = TRUE),
  "3 x 4, empty cells" = matrix(c(12, 5, 0, 0, 4, 20, 9, 1, 0, 3, 14, 22), 3, byrow = TRUE),
  "7 x 7" = drawn(600, 0.55, c(-1.6, -1, -0.4, 0.1, 0.7, 1.3), c(-1.2, -0.6, 0, 0.5, 1.1, 1.8)),
  "10 x 10" = drawn(2000, 0.3, qnorm(1:9 / 10), qnorm(c(1, 2, 4, 5, 6, 7, 8, 9, 9.5) / 10)),
  "2 x 5, negative" = matrix(c(5, 9, 14, 20, 30, 25, 18, 12, 6, 3), 2, byrow = TRUE),
  "4 x 4, near 1" = matrix(c(30, 1, 0, 0, 1, 25, 1, 0, 0, 0, 28, 1, 0, 0, 1, 33), 4, byrow = TRUE),
  "3 x 3, near -1" = matrix(c(0, 1, 40, 1, 35, 0, 45, 1, 0), 3, byrow = TRUE))
for (name in names(tables)) {
  tab <- tables[[name]]
  cat(sprintf('{"%s", %d, {%s}, %s},\n', name, ncol(tab),
              paste(t(tab), collapse = ", "), f(rho(tab))))
}

# The first 500 complete cases of bfi's five agreeableness items, as digits,
# and their polychoric correlations from psych (correct = 0) and polycor.
data(bfi, package = "psych")
items <- na.omit(bfi[, 1:25])[1:500, 1:5]
digits <- apply(items, 1, paste, collapse = "")
for (at in seq(1, 500, by = 20)) cat('"', paste(digits[at:(at + 19)], collapse = ""), '"\n', sep = "")
r <- polychoric(items, correct = 0)$rho
cat("psych lower:", paste(f(r[lower.tri(r)]), collapse = ", "), "\n")
cat("polycor A2 A1:", f(polychor(items$A2, items$A1)), " A5 A4:", f(polychor(items$A5, items$A4)), "\n")
pairs <- which(lower.tri(r), arr.ind = TRUE)
tight <- apply(pairs, 1, function(ij) rho(table(items[, ij[1]], items[, ij[2]])))
cat("tight lower:", paste(f(tight), collapse = ", "), "\n")

# Thresholds of a variable whose cumulative proportions are 1/6, 2/6 and 4/6.
cat("qnorm:", f(qnorm(c(1, 2, 4) / 6)), "\n")

# A matrix that is not positive definite, smoothed by psych's cor.smooth.
m <- matrix(c(1, 0.9, 0.2, 0.9, 1, 0.7, 0.2, 0.7, 1), 3)
cat("eigen before:", f(eigen(m)$values), "\n")
cat("smoothed:", paste(f(suppressWarnings(cor.smooth(m))), collapse = ", "), "\n")
