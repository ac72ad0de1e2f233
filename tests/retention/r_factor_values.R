# Prints the maximum-likelihood fits that factor_analysis_test.cpp holds as
# constants: run with Rscript tests/retention/r_factor_values.R (needs R with
# psych). factanal itself can stop at a local minimum, so each fit is the
# lowest F of factanal's own and of optim's L-BFGS-B on factanal's F and
# gradient from 40 uniform starts on [0.005, 1] (set.seed(2)), tolerance
# factr = 1e3; the statistic and p are factanal's formulas at that F.
suppressMessages(library(psych))
data(bfi, package = "psych")
sets <- list(
  bfi = list(r = cor(na.omit(bfi[, 1:25])), n = nrow(na.omit(bfi[, 1:25]))),
  attitude = list(r = cor(attitude), n = nrow(attitude)),
  harman74 = list(r = Harman74.cor$cov, n = Harman74.cor$n.obs))
objective <- function(psi, r, k) {
  e <- eigen(r / sqrt(psi %o% psi), symmetric = TRUE, only.values = TRUE)$values[-seq_len(k)]
  sum(e - log(e) - 1)
}
gradient <- function(psi, r, k) {
  e <- eigen(r / sqrt(psi %o% psi), symmetric = TRUE)
  load <- sqrt(psi) * e$vectors[, 1:k, drop = FALSE] %*%
    diag(sqrt(pmax(e$values[1:k] - 1, 0)), k)
  (rowSums(load^2) + psi - diag(r)) / psi^2
}
lowest <- function(r, k, n) {
  fa <- tryCatch(factanal(covmat = r, factors = k, n.obs = n)$criteria[["objective"]],
                 error = function(e) Inf)
  fits <- replicate(40, optim(runif(ncol(r), 0.005, 1), objective, gradient, r = r, k = k,
                              method = "L-BFGS-B", lower = 0.005, upper = 1,
                              control = list(parscale = rep(0.01, ncol(r)), factr = 1e3,
                                             maxit = 2000))$value)
  min(fa, fits)
}
set.seed(2)
f <- function(x) sprintf("%.10g", x)
for (name in names(sets)) {
  r <- sets[[name]]$r; n <- sets[[name]]$n; p <- ncol(r)
  k <- 0:(p - 1); k <- k[((p - k)^2 - p - k) > 0]
  F <- sapply(k, function(k) if (k == 0) -log(det(r)) else lowest(r, k, n))
  dof <- ((p - k)^2 - p - k) / 2
  chisq <- (n - 1 - (2 * p + 5) / 6 - 2 * k / 3) * F
  cat("//", name, "\n")
  cat("F:", paste(f(F), collapse = ", "), "\n")
  cat("chisq:", paste(f(chisq), collapse = ", "), "\n")
  cat("p:", paste(f(pchisq(chisq, dof, lower.tail = FALSE)), collapse = ", "), "\n")
}
# The reduced eigenvalues (psych's fa.parallel(SMC = TRUE) draws the same:
# R with smc(R) on its diagonal), the empirical Kaiser criterion's count, and
# RMSEA's lower 90 % bound for bfi's fits from the fixed lowest F above.
for (name in names(sets)) {
  r <- sets[[name]]$r; n <- sets[[name]]$n; p <- ncol(r)
  reduced <- r; diag(reduced) <- smc(r)
  e <- eigen(r)$values
  reference <- pmax(1, (p - c(0, cumsum(e))[1:p]) / (p - 1:p + 1) * (1 + sqrt(p / n))^2)
  cat("//", name, "\n")
  cat("reduced:", paste(sprintf("%.17g", eigen(reduced)$values), collapse = ", "), "\n")
  cat("ekc:", which(e <= reference)[1] - 1, "\n")
}
rmseaLower <- function(chisq, df, n) {
  if (pchisq(chisq, df) <= .95) return(0)
  sqrt(uniroot(function(l) pchisq(chisq, df, ncp = l) - .95, c(0, chisq), tol = 1e-12)$root /
       (df * (n - 1)))
}
bfiChisq <- c(18146.06558, 10625.77335, 6581.693628, 4489.172369, 2974.475987, 1490.586504,
              896.6986315, 619.2403909, 438.1651894, 316.0742103, 224.8380686)
k <- seq_along(bfiChisq) - 1
cat("bfi RMSEA lower:", paste(sprintf("%.10g", mapply(rmseaLower, bfiChisq,
    ((25 - k)^2 - 25 - k) / 2, 2436)), collapse = ", "), "\n")
