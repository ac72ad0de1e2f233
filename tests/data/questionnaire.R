# Writes questionnaire.csv, six items of R's bfi questionnaire answered 1 to 6
# (three of agreeableness, three of conscientiousness) for the first 300 people
# who answered all six, and questionnaire_age.csv, the same with their age in
# years; prints what the data dialog's summary shows for the items with
# polychoric correlations. Run with Rscript tests/data/questionnaire.R from the
# repository's top folder (needs R with mvtnorm, polycor and psych).
suppressMessages({library(mvtnorm); library(polycor); library(psych)})
source("tests/data_reading/polychoric_likelihood.R")
data(bfi, package = "psych")
people <- bfi[complete.cases(bfi[, c("A2", "A3", "A5", "C1", "C2", "C3")]), ][1:300, ]
write.csv(people[, c("A2", "A3", "A5", "C1", "C2", "C3")], "tests/data/questionnaire.csv",
          row.names = FALSE)
write.csv(people[, c("A2", "A3", "A5", "C1", "C2", "C3", "age")],
          "tests/data/questionnaire_age.csv", row.names = FALSE)
cat("Distinct ages:", length(unique(people$age)), "\n")

# Each pair's rho at the likelihood's maximum; polycor and psych stop up to
# 2e-5 short of it, enough to move det(R)'s fifth digit and sphericity's.
items <- read.csv("tests/data/questionnaire.csv")
n <- nrow(items); p <- ncol(items)
r <- diag(p)
for (i in 2:p) for (j in 1:(i - 1)) r[i, j] <- r[j, i] <- rho(table(items[, i], items[, j]))
cat("largest difference from psych:", max(abs(polychoric(items, correct = 0)$rho - r)), "\n")

chisq <- -(n - 1 - (2 * p + 5) / 6) * log(det(r))
cat("Determinant of R:", signif(det(r), 5), "\n")
cat("Sphericity: chi-square", chisq, "on", p * (p - 1) / 2, "df, p =",
    pchisq(chisq, p * (p - 1) / 2, lower.tail = FALSE), "\n")
cat("Kaiser-Meyer-Olkin measure:", sprintf("%.3f", KMO(r)$MSA), "\n")
cat("Eigenvalues:", signif(eigen(r)$values, 4), "\n")
