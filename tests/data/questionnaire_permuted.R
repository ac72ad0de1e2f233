# The reference for parallel analysis on permuted questionnaire.csv: each
# item's answers shuffled among the people independently, 2000 times, the
# polychoric correlations of each shuffled set and their eigenvalues; prints
# each component's mean and 95th percentile, with the mean's standard error.
# Run with Rscript tests/data/questionnaire_permuted.R from the repository's
# top folder (needs R with psych; takes about a quarter of an hour).
suppressMessages(library(psych))
options(mc.cores = 1)
items <- read.csv("tests/data/questionnaire.csv")
set.seed(31)
sets <- 2000
eigenvalues <- t(replicate(sets, {
  shuffled <- as.data.frame(lapply(items, sample))
  eigen(polychoric(shuffled, correct = 0)$rho, only.values = TRUE)$values
}))
print(data.frame(mean = colMeans(eigenvalues),
                 standard.error = apply(eigenvalues, 2, sd) / sqrt(sets),
                 percentile95 = apply(eigenvalues, 2, quantile, 0.95)), digits = 5)
