#include <algorithm>
#include <cmath>
#include <thread>

#include <Eigen/Eigenvalues>
#include <boost/random/chi_squared_distribution.hpp>
#include <boost/random/mersenne_twister.hpp>
#include <boost/random/normal_distribution.hpp>

#include "data_reading/cores.h"
#include "engine/run_error.h"
#include "retention/permuted_data.h"
#include "retention/quantile.h"
#include "retention/rules.h"
#include "retention/set_seed.h"

namespace trolvane {
namespace {

// What one thread needs to draw sets, made before any thread starts.
class SetDrawer {
  public:
    virtual ~SetDrawer() = default;
    // The eigenvalues of set number `set`, the largest first, into `out`,
    // then, where asked, those of its reduced correlations into the p values
    // after them.
    virtual void Eigenvalues(std::uint64_t seed, int set, double* out) = 0;
};

// Normal data, drawn as Wishart matrices.
class RandomCorrelations : public SetDrawer {
  public:
    RandomCorrelations(int p, double n, bool reduced)
        : n_(n),
          reduced_(reduced),
          factor_(Eigen::MatrixXd::Zero(p, p)),
          wishart_(Eigen::MatrixXd::Zero(p, p)),
          solver_(p) {}

    void Eigenvalues(std::uint64_t seed, int set, double* out) override;

  private:
    double n_;
    bool reduced_;
    Eigen::MatrixXd factor_;
    Eigen::MatrixXd wishart_;
    Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver_;
};

// Bartlett's decomposition: W = L L' on n - 1 df, L lower triangular with
// sqrt(chi-square on n - 1 - i df) at (i, i) and standard normals below, drawn
// in that order: the diagonal first, then the triangle row after row. The
// correlations are W scaled to a unit diagonal.
void RandomCorrelations::Eigenvalues(std::uint64_t seed, int set, double* out) {
    boost::random::mt19937_64 engine(SetSeed(seed, set));
    const Eigen::Index p = factor_.rows();
    for (Eigen::Index i = 0; i < p; ++i) {
        const double df = n_ - 1 - static_cast<double>(i);
        factor_(i, i) = std::sqrt(boost::random::chi_squared_distribution<double>(df)(engine));
    }
    boost::random::normal_distribution<double> normal;
    for (Eigen::Index i = 1; i < p; ++i) {
        for (Eigen::Index j = 0; j < i; ++j) {
            factor_(i, j) = normal(engine);
        }
    }
    // W's lower triangle column after column: row j of L ends at its diagonal.
    for (Eigen::Index j = 0; j < p; ++j) {
        wishart_.col(j).tail(p - j).noalias() =
            factor_.bottomRows(p - j).leftCols(j + 1) * factor_.row(j).head(j + 1).transpose();
    }
    // (R^-1)_ii = w_ii (W^-1)_ii, and (W^-1)_ii is the squared length of
    // column i of L^-1: taken before W is scaled, where the reduced
    // eigenvalues are asked for.
    Eigen::VectorXd inverseDiagonal;
    if (reduced_) {
        inverseDiagonal =
            wishart_.diagonal().cwiseProduct(factor_.triangularView<Eigen::Lower>()
                                                 .solve(Eigen::MatrixXd::Identity(p, p))
                                                 .colwise()
                                                 .squaredNorm()
                                                 .transpose());
    }
    const Eigen::VectorXd scale = wishart_.diagonal().cwiseSqrt().cwiseInverse();
    wishart_ = scale.asDiagonal() * wishart_ * scale.asDiagonal();
    solver_.compute(wishart_, Eigen::EigenvaluesOnly);
    // Eigen reads the lower triangle only, and gives the smallest first.
    std::reverse_copy(solver_.eigenvalues().begin(), solver_.eigenvalues().end(), out);
    if (reduced_) {
        wishart_.diagonal() = 1 - inverseDiagonal.array().inverse();
        solver_.compute(wishart_, Eigen::EigenvaluesOnly);
        std::reverse_copy(solver_.eigenvalues().begin(), solver_.eigenvalues().end(), out + p);
    }
}

// Ordered categories permuted among their cases, with polychoric correlations.
class PermutedDrawer : public SetDrawer {
  public:
    PermutedDrawer(const OrdinalData& categories, bool reduced)
        : random_(categories), p_(categories.count()), reduced_(reduced) {}

    void Eigenvalues(std::uint64_t seed, int set, double* out) override {
        random_.Eigenvalues(seed, set, out, reduced_ ? out + p_ : nullptr);
    }

  private:
    PermutedCorrelations random_;
    int p_;
    bool reduced_;
};

// The mean and the percentile of each of `values` values side by side, drawn
// set after set `stride` apart, from `first` on.
void Summarise(const std::vector<double>& drawn, std::size_t first, std::size_t values,
               std::size_t stride, double percentile, std::vector<double>& means,
               std::vector<double>& percentiles) {
    const std::size_t sets = drawn.size() / stride;
    std::vector<double> value(sets);
    for (std::size_t i = first; i < first + values; ++i) {
        double sum = 0;
        for (std::size_t set = 0; set < sets; ++set) {
            value[set] = drawn[set * stride + i];
            sum += value[set];
        }
        means.push_back(sum / static_cast<double>(sets));
        percentiles.push_back(Quantile(value, percentile / 100));
    }
}

// How many values each set draws: p eigenvalues, and p reduced ones where
// they are asked for.
std::size_t ValuesPerSet(int p, const RandomDataSettings& settings) {
    return static_cast<std::size_t>(p) * (settings.reduced ? 2 : 1);
}

// Per component, the mean and the percentile of the sets' eigenvalues and,
// where drawn, of their reduced eigenvalues, drawn set after set, each set's
// side by side.
RandomEigenvalues Summarised(const std::vector<double>& drawn, int p,
                             const RandomDataSettings& settings) {
    const auto components = static_cast<std::size_t>(p);
    const std::size_t stride = ValuesPerSet(p, settings);
    RandomEigenvalues random;
    Summarise(drawn, 0, components, stride, settings.percentile, random.mean, random.percentile);
    if (settings.reduced) {
        Summarise(drawn, components, components, stride, settings.percentile, random.reducedMean,
                  random.reducedPercentile);
    }
    return random;
}

// Random data need more cases than variables, and at least one set.
void CheckDrawable(int p, double n, const RandomDataSettings& settings) {
    if (!(p >= 1 && n > p && settings.sets >= 1)) {
        throw RunError(ErrorKind::InvalidArgument);
    }
}

int ThreadsFor(const RandomDataSettings& settings) {
    const std::size_t threads = settings.threads > 0 && kThreadsAvailable
                                    ? static_cast<std::size_t>(settings.threads)
                                    : AvailableCores();
    return static_cast<int>(
        std::min<std::size_t>(threads, static_cast<std::size_t>(settings.sets)));
}

// Draws every set on the threads the settings ask for, each with its own
// drawer from `drawer`; none when cancelled.
template <typename MakeDrawer>
std::optional<RandomEigenvalues> DrawnSets(int p, const RandomDataSettings& settings,
                                           Progress* progress, MakeDrawer drawer) {
    const std::size_t values = ValuesPerSet(p, settings);
    // Set after set, each set's eigenvalues (and reduced eigenvalues) side by
    // side.
    std::vector<double> drawn(static_cast<std::size_t>(settings.sets) * values);
    std::atomic<int> nextSet{0};
    const auto draw = [&](SetDrawer& random) {
        for (int set = nextSet++; set < settings.sets; set = nextSet++) {
            if (progress && progress->cancelled) {
                return;
            }
            random.Eigenvalues(settings.seed, set, &drawn[static_cast<std::size_t>(set) * values]);
            if (progress) {
                ++progress->setsDone;
            }
        }
    };
    std::vector<std::unique_ptr<SetDrawer>> drawers;
    for (int t = 0; t < ThreadsFor(settings); ++t) {
        drawers.push_back(drawer());
    }
    std::vector<std::thread> others;
    for (std::size_t t = 1; t < drawers.size(); ++t) {
        others.emplace_back(draw, std::ref(*drawers[t]));
    }
    draw(*drawers.front());
    for (std::thread& other : others) {
        other.join();
    }
    if (progress && progress->cancelled) {
        return std::nullopt;
    }
    return Summarised(drawn, p, settings);
}

}  // namespace

std::optional<RandomEigenvalues> ParallelAnalysis(int p, double n,
                                                  const RandomDataSettings& settings,
                                                  Progress* progress) {
    CheckDrawable(p, n, settings);
    return DrawnSets(p, settings, progress,
                     [&] { return std::make_unique<RandomCorrelations>(p, n, settings.reduced); });
}

std::optional<RandomEigenvalues> ParallelAnalysis(const OrdinalData& categories,
                                                  const RandomDataSettings& settings,
                                                  Progress* progress) {
    const int p = categories.count();
    CheckDrawable(p, static_cast<double>(categories.cases), settings);
    return DrawnSets(p, settings, progress, [&] {
        return std::make_unique<PermutedDrawer>(categories, settings.reduced);
    });
}

// What the slices draw into, kept between them.
struct RandomDataInSlices::Workspace {
    Workspace(int p, std::unique_ptr<SetDrawer> random, const RandomDataSettings& settings,
              std::shared_ptr<const OrdinalData> categories = nullptr)
        : p(p),
          categories(std::move(categories)),
          random(std::move(random)),
          drawn(static_cast<std::size_t>(settings.sets) * ValuesPerSet(p, settings)) {}
    int p;
    // The permuted sets' categories, kept while the slices draw from them.
    std::shared_ptr<const OrdinalData> categories;
    std::unique_ptr<SetDrawer> random;
    std::vector<double> drawn;
};

RandomDataInSlices::RandomDataInSlices(int p, double n, const RandomDataSettings& settings)
    : settings_(settings) {
    CheckDrawable(p, n, settings);
    workspace_ = std::make_unique<Workspace>(
        p, std::make_unique<RandomCorrelations>(p, n, settings.reduced), settings);
}

RandomDataInSlices::RandomDataInSlices(std::shared_ptr<const OrdinalData> categories,
                                       const RandomDataSettings& settings)
    : settings_(settings) {
    const int p = categories->count();
    CheckDrawable(p, static_cast<double>(categories->cases), settings);
    auto random = std::make_unique<PermutedDrawer>(*categories, settings.reduced);
    workspace_ = std::make_unique<Workspace>(p, std::move(random), settings, std::move(categories));
}

RandomDataInSlices::~RandomDataInSlices() = default;

bool RandomDataInSlices::Draw(int sets) {
    const std::size_t values = ValuesPerSet(workspace_->p, settings_);
    for (const int last = std::min(setsDone_ + sets, settings_.sets); setsDone_ < last;
         ++setsDone_) {
        workspace_->random->Eigenvalues(
            settings_.seed, setsDone_,
            &workspace_->drawn[static_cast<std::size_t>(setsDone_) * values]);
    }
    return setsDone_ == settings_.sets;
}

RandomEigenvalues RandomDataInSlices::Summary() const {
    return Summarised(workspace_->drawn, workspace_->p, settings_);
}

}  // namespace trolvane
