# Prints the R values that retention_test.cpp holds as constants: run with
# Rscript tests/retention/r_values.R (needs R with psych and nFactors).
suppressMessages({library(psych); library(nFactors)})
data(bfi, package = "psych")
sets <- list(
  bfi = list(r = cor(na.omit(bfi[, 1:25])), n = nrow(na.omit(bfi[, 1:25]))),
  attitude = list(r = cor(attitude), n = nrow(attitude)),
  harman74 = list(r = Harman74.cor$cov, n = Harman74.cor$n.obs))

# Bartlett's test after k components, k = 0 being sphericity; the first k
# whose p is .05 or more, p - 1 where none is.
bartlett <- function(r, n) {
  p <- ncol(r); e <- eigen(r)$values; d <- det(r)
  for (k in 0:(p - 2)) {
    m <- p - k
    ratio <- d / (prod(e[seq_len(k)]) * ((p - sum(e[seq_len(k)])) / m)^m)
    chisq <- -(n - 1 - (2 * p + 5) / 6 - 2 * k / 3) * log(ratio)
    if (pchisq(chisq, (m + 2) * (m - 1) / 2, lower.tail = FALSE) >= .05) return(k)
  }
  p - 1
}
# psych's MAP, with fourth powers beside the squares, m = 0 included.
averages <- function(r, power) {
  p <- ncol(r); e <- eigen(r); a <- e$vectors %*% diag(sqrt(e$values))
  sapply(0:(p - 2), function(m) {
    c <- r - a[, seq_len(m), drop = FALSE] %*% t(a[, seq_len(m), drop = FALSE])
    s <- diag(1 / sqrt(diag(c))); q <- s %*% c %*% s; diag(q) <- 0
    sum(q^power) / (p * (p - 1))
  })
}
# Random percentiles from plain R, for the counts of nFactors' nScree.
set.seed(1)
f <- function(x) sprintf("%.17g", x)
for (name in names(sets)) {
  r <- sets[[name]]$r; n <- sets[[name]]$n; p <- ncol(r)
  e <- eigen(r)$values
  sq <- averages(r, 2); fourth <- averages(r, 4)
  psychMap <- VSS(r, n = p - 2, fm = "pc", plot = FALSE, n.obs = n)$map
  stopifnot(isTRUE(all.equal(sq[-1], psychMap, tolerance = 1e-12)))
  random <- replicate(1000, eigen(cor(matrix(rnorm(n * p), n)), only.values = TRUE)$values)
  pct <- apply(random, 1, quantile, 0.95)
  sc <- nScree(x = e, aparallel = pct)$Components
  cat("//", name, ": n =", n, " p =", p, "\n")
  cat("lower:", paste(f(r[lower.tri(r)]), collapse = ", "), "\n")
  cat("det:", f(det(r)), "\n")
  cat("eigen:", paste(f(e), collapse = ", "), "\n")
  cat("percentile:", paste(sprintf("%.4f", pct), collapse = ", "), "\n")
  cat("kaiser:", sum(e > 1), " bartlett:", bartlett(r, n), " map:", which.min(sq) - 1,
      " map4:", which.min(fourth) - 1, "\n")
  cat("nScree oc/af/pa:", sc$noc, sc$naf, sc$nparallel, "\n")
  cat("squared:", paste(f(sq), collapse = ", "), "\n")
  cat("fourth:", paste(f(fourth), collapse = ", "), "\n")
}
