// Correlation tables as statistics programs print them: the matrix found among
// titles, labels, footnotes and rows of significance values or counts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data_reading/text_table.h"

namespace trolvane {

// A printed table's correlations, ready to be read as a matrix: a header of the
// p names, then each variable's row, its name first and its diagonal a number.
struct CorrelationTable {
    std::vector<SplitLine> rows;
    // The sample size the table gives, the smallest where its counts differ; 0
    // where it gives none.
    long long cases = 0;
    bool casesDiffer = false;
    // How many matrices the text holds one after another, this the first, and
    // its title where it has one.
    int matrices = 1;
    std::string title;
};

// The correlation table the lines hold, their fields separated as found or by
// tabs; none where they hold no such table.
// A table printed in blocks of columns is put together into one. Raises
// DataRefusal for a table that is not square (fewer rows of correlations than
// its header names variables, a row with more correlations than that, or a
// row for a variable the header does not name), for blocks that do not fit
// together, for a table that leaves columns out and for partial correlations.
std::optional<CorrelationTable> FindCorrelationTable(const std::vector<TextLine>& lines,
                                                     Separator found,
                                                     const NumberFormat& userFormat);

}  // namespace trolvane
