# The two-step polychoric estimate on a contingency table, for the scripts that
# print the tests' R values (run from the repository's top folder; needs R with
# mvtnorm): rho(table) as polycor::polychor computes it, but with optimize's
# tolerance at 1e-12 where polychor leaves about 2e-5; optimize still stops
# within about 1e-8, where the likelihood is flat to a double's digits, and the
# root of the score from there is exact.
cuts <- function(margin) c(-Inf, qnorm(cumsum(margin) / sum(margin))[-length(margin)], Inf)
loglik <- function(rho, tab, a, b) {
  s <- 0
  for (i in seq_len(nrow(tab))) for (j in seq_len(ncol(tab))) if (tab[i, j] > 0) {
    p <- pmvnorm(lower = c(a[i], b[j]), upper = c(a[i + 1], b[j + 1]),
                 corr = matrix(c(1, rho, rho, 1), 2))
    s <- s + tab[i, j] * log(p)
  }
  s
}
score <- function(rho, tab, a, b) {
  density <- function(h, k) {
    if (is.infinite(h) || is.infinite(k)) return(0)
    dmvnorm(c(h, k), sigma = matrix(c(1, rho, rho, 1), 2))
  }
  s <- 0
  for (i in seq_len(nrow(tab))) for (j in seq_len(ncol(tab))) if (tab[i, j] > 0) {
    p <- pmvnorm(lower = c(a[i], b[j]), upper = c(a[i + 1], b[j + 1]),
                 corr = matrix(c(1, rho, rho, 1), 2))
    slope <- density(a[i + 1], b[j + 1]) - density(a[i], b[j + 1]) -
      density(a[i + 1], b[j]) + density(a[i], b[j])
    s <- s + tab[i, j] * slope / p
  }
  s
}
rho <- function(tab) {
  a <- cuts(rowSums(tab)); b <- cuts(colSums(tab))
  x <- optimize(loglik, c(-1, 1), tab = tab, a = a, b = b, maximum = TRUE, tol = 1e-12)$maximum
  uniroot(score, x + c(-1e-7, 1e-7), tab = tab, a = a, b = b, extendInt = "downX",
          tol = 1e-15)$root
}
