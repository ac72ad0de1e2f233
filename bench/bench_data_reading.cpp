// Reading data at the sizes users bring: writes a large raw data file or
// correlation matrix, and times opening one as the data dialog does, from the
// bytes on disk to its summary. bench/data_reading.sh runs it.
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

#include "form/data_dialog.h"

namespace {

using trolvane::NumberFormat;

constexpr int kCases = 100'000;
constexpr int kRawVariables = 50;
constexpr int kMatrixVariables = 1000;
constexpr int kFactors = 5;

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
    {"raw", WriteRawData},
    {"matrix", WriteCorrelationMatrix},
    {"read", TimeReading},
};

constexpr char kUsage[] =
    "usage: bench_data_reading raw FILE | matrix FILE | read FILE | idle\n"
    "  raw     writes 100,000 cases of 50 variables as CSV\n"
    "  matrix  writes a 1000 x 1000 correlation matrix\n"
    "  read    opens FILE as the data dialog does and prints the seconds it took\n"
    "  idle    reads nothing, for the program's own peak memory\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "idle") {
        return 0;
    }
    for (const Command& command : kCommands) {
        if (args.size() == 2 && args[0] == command.name) {
            return command.run(args[1]);
        }
    }
    std::cerr << kUsage;
    return 2;
}
