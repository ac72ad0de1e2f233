// What every edition shows for questionnaire.csv with polychoric correlations:
// the data dialog's summary, and How Many Components' parallel analysis.
#pragma once

#include <array>

namespace trolvane::testing {

// det(R), sphericity, KMO and the eigenvalues as R gives them from the
// polychoric matrix at the likelihood's maximum (questionnaire.R); chi-square
// cut to thousandths, as the window shows it.
inline constexpr char kQuestionnaireSummary[] =
    "Raw data: 300 cases of 6 variables, polychoric correlations\n"
    "Variables: A2, A3, A5, C1, C2, C3\n"
    "Determinant of R: 0.20863\n"
    "Sphericity: exact p = 2.129E-89 (chi-square 464.148 on 15 df)\n"
    "Kaiser-Meyer-Olkin measure: 0.694 (mediocre)\n"
    "Eigenvalues: 2.488; 1.505; 0.6598; 0.5309; 0.4958; 0.3209";

// Parallel analysis on permuted answers with seed 1, and each component's
// random mean and 95th percentile, as the table shows them.
inline constexpr char kQuestionnaireParallelAnalysis[] =
    "Parallel analysis: keep 2 (95th percentile of 1000 permuted data sets of 300 cases x 6 "
    "variables, polychoric, seed 1)";
inline constexpr std::array<std::array<const char*, 2>, 6> kQuestionnaireRandom{{
    {"1.2127", "1.2988"},
    {"1.1119", "1.1715"},
    {"1.0311", "1.0768"},
    {"0.9603", "1.0053"},
    {"0.8878", "0.9388"},
    {"0.7962", "0.8650"},
}};

// questionnaire_age.csv with polychoric correlations: its age is refused by name.
inline constexpr char kQuestionnaireAgeRefusal[] =
    "Polychoric correlations need whole numbers with at most 10 categories: age has 45.";

}  // namespace trolvane::testing
