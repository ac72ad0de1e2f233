// Reading data at the sizes users bring: writes a large raw data file or
// correlation matrix, and times opening one as the data dialog does, from the
// bytes on disk to its summary; and times polychoric correlations of
// questionnaire items, a permuted data set's, and one table's. bench/data_reading.py runs it.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include "data_reading/polychoric.h"
#include "form/data_dialog.h"
#include "retention/rules.h"

namespace {

using trolvane::NumberFormat;

constexpr int kCases = 100'000;
constexpr int kRawVariables = 50;
constexpr int kMatrixVariables = 1000;
constexpr int kFactors = 5;
// Questionnaire items shaped as psych's bfi: cases, items, answers 1 to 6.
constexpr int kRespondents = 2436;
constexpr int kItems = 25;
constexpr int kAnswers = 6;

// Normal deviates from a fixed seed, the same on every machine: splitmix64
// for the bits, Box-Muller for the shape.
class Deviates {
  public:
    double Normal() {
        const double u1 = Uniform();
        const double u2 = Uniform();
        return std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
    }

    // In (0, 1], so that its logarithm is finite.
    double Uniform() { return (static_cast<double>(Next() >> 11) + 1) * 0x1p-53; }

  private:
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return z ^ (z >> 31);
    }

    std::uint64_t state_ = 19;
};

void Write(const std::string& path, const fmt::memory_buffer& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Variables loading on a few common factors, each with its own mean and
// spread, written with three decimals under a header row of names.
int WriteRawData(const std::string& path) {
    Deviates deviates;
    fmt::memory_buffer text;
    for (int j = 1; j <= kRawVariables; ++j) {
        fmt::format_to(std::back_inserter(text), "{}item{}", j == 1 ? "" : ",", j);
    }
    text.push_back('\n');
    std::vector<double> factors(kFactors);
    for (int i = 0; i < kCases; ++i) {
        for (double& factor : factors) {
            factor = deviates.Normal();
        }
        for (int j = 0; j < kRawVariables; ++j) {
            const double loading = 0.4 + 0.1 * (j % 5);
            const double standard = loading * factors[j % kFactors] +
                                    std::sqrt(1 - loading * loading) * deviates.Normal();
            const double value = 10.0 * (j + 1) + (1 + j % 7) * standard;
            fmt::format_to(std::back_inserter(text), "{}{:.3f}", j == 0 ? "" : ",", value);
        }
        text.push_back('\n');
    }
    Write(path, text);
    return 0;
}

// The correlations of variables sharing one general factor and one of four
// group factors, written with four decimals, names heading the rows and
// columns, as a statistics program exports the matrix.
int WriteCorrelationMatrix(const std::string& path) {
    constexpr int kGroups = 4;
    constexpr double kGeneral = 0.3;
    Deviates deviates;
    std::vector<double> loadings(kMatrixVariables);
    for (double& loading : loadings) {
        loading = 0.4 + 0.3 * deviates.Uniform();
    }
    fmt::memory_buffer text;
    for (int j = 1; j <= kMatrixVariables; ++j) {
        fmt::format_to(std::back_inserter(text), ",v{}", j);
    }
    text.push_back('\n');
    for (int i = 0; i < kMatrixVariables; ++i) {
        fmt::format_to(std::back_inserter(text), "v{}", i + 1);
        for (int j = 0; j < kMatrixVariables; ++j) {
            const bool sameGroup = i % kGroups == j % kGroups;
            const double r = i == j      ? 1.0
                             : sameGroup ? kGeneral * kGeneral + loadings[i] * loadings[j]
                                         : kGeneral * kGeneral;
            fmt::format_to(std::back_inserter(text), ",{:.4f}", r);
        }
        text.push_back('\n');
    }
    Write(path, text);
    return 0;
}

// Items answered 1 to 6, five to each of five factors, each cut from a normal
// variable at its own thresholds so that some are skewed, under a header of
// names: the shape of bfi, for machines without R to write bfi itself.
int WriteQuestionnaire(const std::string& path) {
    Deviates deviates;
    fmt::memory_buffer text;
    for (int j = 1; j <= kItems; ++j) {
        fmt::format_to(std::back_inserter(text), "{}item{}", j == 1 ? "" : ",", j);
    }
    text.push_back('\n');
    std::vector<double> factors(kFactors);
    for (int i = 0; i < kRespondents; ++i) {
        for (double& factor : factors) {
            factor = deviates.Normal();
        }
        for (int j = 0; j < kItems; ++j) {
            const double loading = 0.4 + 0.1 * (j % 5);
            const double answer = loading * factors[j / kFactors] +
                                  std::sqrt(1 - loading * loading) * deviates.Normal();
            const double shift = 0.2 * (j % 4) - 0.3;
            int category = 1;
            for (int cut = 1; cut < kAnswers; ++cut) {
                category += answer > shift + 0.7 * (cut - kAnswers / 2) ? 1 : 0;
            }
            fmt::format_to(std::back_inserter(text), "{}{}", j == 0 ? "" : ",", category);
        }
        text.push_back('\n');
    }
    Write(path, text);
    return 0;
}

// A CSV of whole numbers under a header of names, as R's write.csv writes a
// data frame; cases with anything else in a field are left out.
trolvane::RawColumns ReadWholeNumbers(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string line;
    std::getline(file, line);
    trolvane::RawColumns raw;
    for (std::size_t from = 0; from <= line.size();) {
        const std::size_t comma = std::min(line.find(',', from), line.size());
        std::string name = line.substr(from, comma - from);
        name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
        raw.names.push_back(name);
        from = comma + 1;
    }
    std::vector<double> byCase;
    std::vector<double> values;
    while (std::getline(file, line)) {
        values.clear();
        const char* at = line.data();
        const char* end = line.data() + line.size();
        int value = 0;
        for (auto read = std::from_chars(at, end, value); read.ec == std::errc{};
             read = std::from_chars(at, end, value)) {
            values.push_back(value);
            at = read.ptr == end ? end : read.ptr + 1;
        }
        if (values.size() == raw.names.size() && at == end) {
            byCase.insert(byCase.end(), values.begin(), values.end());
        }
    }
    const std::size_t p = raw.names.size();
    raw.cases = byCase.size() / p;
    raw.values.resize(byCase.size());
    for (std::size_t t = 0; t < raw.cases; ++t) {
        for (std::size_t v = 0; v < p; ++v) {
            raw.values[v * raw.cases + t] = byCase[t * p + v];
        }
    }
    return raw;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Times the polychoric correlations of the file's items, from the numbers read
// to the matrix, and prints the seconds and what was computed.
int TimePolychoric(const std::string& path) {
    const trolvane::RawColumns raw = ReadWholeNumbers(path);
    const auto start = std::chrono::steady_clock::now();
    const trolvane::Polychoric polychoric =
        trolvane::PolychoricCorrelations(trolvane::OrdinalCategories(raw, NumberFormat{}));
    const double seconds = SecondsSince(start);
    std::cout << fmt::format("{:.4f}", seconds) << '\t' << raw.cases << " cases x "
              << raw.names.size() << " items, " << polychoric.pairsOutside
              << " pairs at the boundary"
              << (polychoric.smallestBeforeSmoothing ? ", smoothed" : "") << '\n';
    return 0;
}

// Times parallel analysis of the file's items on 1000 permuted data sets, on
// every core, as the window computes it, and prints the seconds.
int TimePermutedSets(const std::string& path) {
    const trolvane::OrdinalData data =
        trolvane::OrdinalCategories(ReadWholeNumbers(path), NumberFormat{});
    trolvane::RandomDataSettings settings;
    const auto start = std::chrono::steady_clock::now();
    trolvane::ParallelAnalysis(data, settings);
    std::cout << fmt::format("{:.4f}", SecondsSince(start)) << '\t' << data.cases << " cases x "
              << data.count() << " items, " << settings.sets << " permuted sets\n";
    return 0;
}

// For each size from 2 x 2 to 10 x 10, one table's correlation: 1000 cases of
// a bivariate normal with correlation 0.4 cut at evenly spaced thresholds.
// Prints the microseconds each size takes.
int TimeTables() {
    Deviates deviates;
    for (int size = 2; size <= 10; ++size) {
        std::vector<int> counts(static_cast<std::size_t>(size * size));
        const auto category = [size](double z) {
            int below = 0;
            for (int cut = 1; cut < size; ++cut) {
                below += z > -1.6 + 3.2 * cut / size ? 1 : 0;
            }
            return below;
        };
        for (int i = 0; i < 1000; ++i) {
            const double x = deviates.Normal();
            const double y = 0.4 * x + std::sqrt(1 - 0.4 * 0.4) * deviates.Normal();
            ++counts[static_cast<std::size_t>(category(x) * size + category(y))];
        }
        int repeats = 0;
        double rho = 0;
        const auto start = std::chrono::steady_clock::now();
        while (SecondsSince(start) < 0.2) {
            rho += trolvane::PolychoricOfTable(size, size, counts).rho;
            ++repeats;
        }
        std::cout << fmt::format("{}\t{:.2f}\t{:.4f}\n", size, SecondsSince(start) / repeats * 1e6,
                                 rho / repeats);
    }
    return 0;
}

// Opens the file as the data dialog does and prints the seconds it took and
// the summary's first line; a refusal is printed and fails.
int TimeReading(const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    const trolvane::DataDialog dialog = trolvane::OpenDataFile(path, NumberFormat{});
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const std::string_view summary = dialog.summary;
    if (!dialog.usable()) {
        std::cerr << path << " refused: " << summary << '\n';
        return 1;
    }
    std::cout << fmt::format("{:.4f}", seconds.count()) << '\t'
              << summary.substr(0, summary.find('\n')) << '\n';
    return 0;
}

struct Command {
    std::string_view name;
    int (*run)(const std::string& path);
};

constexpr Command kCommands[] = {
    {"raw", WriteRawData},          {"matrix", WriteCorrelationMatrix},
    {"read", TimeReading},          {"questionnaire", WriteQuestionnaire},
    {"polychoric", TimePolychoric}, {"permuted", TimePermutedSets},
};

constexpr char kUsage[] =
    "usage: bench_data_reading raw FILE | matrix FILE | read FILE | questionnaire FILE |\n"
    "                          polychoric FILE | permuted FILE | tables | idle\n"
    "  raw            writes 100,000 cases of 50 variables as CSV\n"
    "  matrix         writes a 1000 x 1000 correlation matrix\n"
    "  read           opens FILE as the data dialog does and prints the seconds it took\n"
    "  questionnaire  writes 2436 cases of 25 items answered 1 to 6 as CSV\n"
    "  polychoric     prints the seconds the polychoric correlations of FILE's items take\n"
    "  permuted       prints the seconds parallel analysis of FILE's items on 1000\n"
    "                 permuted data sets takes, on every core\n"
    "  tables         prints the microseconds one 2 x 2 to 10 x 10 table's correlation takes\n"
    "  idle           reads nothing, for the program's own peak memory\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "idle") {
        return 0;
    }
    if (args.size() == 1 && args[0] == "tables") {
        return TimeTables();
    }
    for (const Command& command : kCommands) {
        if (args.size() == 2 && args[0] == command.name) {
            return command.run(args[1]);
        }
    }
    std::cerr << kUsage;
    return 2;
}
