#include "poemd/measure/subject_judge.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "poemd/verse/character_frequency.h"

namespace miravel::poemd {
namespace {

// Context counts are raised to this power, which keeps rare characters from
// seeming associated with everything.
constexpr double kContextSmoothing = 0.75;
// A character in fewer poems gets no row.
constexpr uint64_t kLeastPoems = 5;

using Matrix = Eigen::Matrix<float, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

}  // namespace

struct SubjectJudge::Impl {
  size_t characters = 0;
  // Each poem's characters inside lines, each once, one poem after another.
  std::u16string held;
  std::vector<uint32_t> starts{0};
  std::vector<bool> ci;

  std::vector<int32_t> row = std::vector<int32_t>(65536, -1);
  std::vector<float> weight;  // per row: how few poems hold it
  Matrix rows;                // the characters' vectors

  std::u16string_view Poem(size_t k) const {
    return std::u16string_view(held).substr(starts[k], starts[k + 1] - starts[k]);
  }

  // `line`'s characters but those in `shared`, summed into `sum`; false when
  // none is known.
  bool Sum(std::u16string_view line, std::u16string_view shared, Eigen::VectorXf& sum) const {
    sum.setZero(rows.cols());
    bool any = false;
    for (size_t i = 0; i < line.size(); ++i) {
      const char16_t c = line[i];
      const int32_t r = row[c];
      if (r < 0 || shared.find(c) != std::u16string_view::npos || line.find(c) != i) continue;
      sum += weight[static_cast<size_t>(r)] * rows.row(r).transpose();
      any = true;
    }
    return any;
  }

  void TakeOutRegister(const std::vector<double>& in_shi, const std::vector<double>& in_ci);
};

SubjectJudge::SubjectJudge(size_t characters) : impl_(std::make_unique<Impl>()) {
  impl_->characters = characters;
}

SubjectJudge::~SubjectJudge() = default;
SubjectJudge::SubjectJudge(SubjectJudge&&) noexcept = default;
SubjectJudge& SubjectJudge::operator=(SubjectJudge&&) noexcept = default;

void SubjectJudge::AddPoem(const std::vector<std::u16string>& lines, bool ci) {
  Impl& m = *impl_;
  const size_t begin = m.held.size();
  for (const std::u16string& line : lines) {
    for (size_t i = 0; i + 1 < line.size(); ++i) {
      if (std::u16string_view(m.held).substr(begin).find(line[i]) == std::u16string_view::npos) {
        m.held += line[i];
      }
    }
  }
  m.starts.push_back(static_cast<uint32_t>(m.held.size()));
  m.ci.push_back(ci);
}

void SubjectJudge::Learn() {
  Impl& m = *impl_;
  const size_t poems = m.ci.size();
  std::vector<uint64_t> holding(65536, 0);
  for (const char16_t c : m.held) ++holding[c];
  std::vector<char16_t> by_holding = ByFrequency(holding);
  while (!by_holding.empty() && holding[by_holding.back()] < kLeastPoems) by_holding.pop_back();
  by_holding.resize(std::min(by_holding.size(), m.characters));
  const auto n = static_cast<Eigen::Index>(by_holding.size());
  std::vector<double> in_shi(by_holding.size(), 0), in_ci(by_holding.size(), 0);
  for (Eigen::Index r = 0; r < n; ++r) {
    m.row[by_holding[static_cast<size_t>(r)]] = static_cast<int32_t>(r);
    m.weight.push_back(static_cast<float>(
        std::log(static_cast<double>(poems) / holding[by_holding[static_cast<size_t>(r)]])));
  }
  Matrix counts = Matrix::Zero(n, n);
  std::vector<int32_t> poem_rows;
  for (size_t k = 0; k < poems; ++k) {
    poem_rows.clear();
    for (const char16_t c : m.Poem(k)) {
      if (m.row[c] < 0) continue;
      poem_rows.push_back(m.row[c]);
      (m.ci[k] ? in_ci : in_shi)[static_cast<size_t>(m.row[c])] += 1;
    }
    for (size_t i = 0; i < poem_rows.size(); ++i) {
      for (size_t j = i + 1; j < poem_rows.size(); ++j) {
        counts(poem_rows[i], poem_rows[j]) += 1;
        counts(poem_rows[j], poem_rows[i]) += 1;
      }
    }
  }
  const Eigen::VectorXd marginal = counts.cast<double>().rowwise().sum();
  const Eigen::VectorXd context = marginal.array().pow(kContextSmoothing);
  const double total = context.sum();
  for (Eigen::Index a = 0; a < n; ++a) {
    for (Eigen::Index b = 0; b < n; ++b) {
      const double count = counts(a, b);
      const double pmi = count > 0 ? std::log(count * total / (marginal(a) * context(b))) : 0.0;
      counts(a, b) = static_cast<float>(std::max(pmi, 0.0));
    }
  }
  m.rows = std::move(counts);
  m.held.clear();
  m.held.shrink_to_fit();
  if (n > 0) m.TakeOutRegister(in_shi, in_ci);
}

void SubjectJudge::Impl::TakeOutRegister(const std::vector<double>& in_shi,
                                         const std::vector<double>& in_ci) {
  const auto mean = [&](const std::vector<double>& w) {
    const Eigen::VectorXd weights = Eigen::Map<const Eigen::VectorXd>(w.data(), rows.rows());
    const double total = weights.sum();
    if (total <= 0) return Eigen::RowVectorXf::Zero(rows.cols()).eval();
    return ((weights / total).cast<float>().transpose() * rows).eval();
  };
  std::vector<double> all(in_shi.size());
  for (size_t r = 0; r < all.size(); ++r) all[r] = in_shi[r] + in_ci[r];
  rows.rowwise() -= mean(all);
  Eigen::RowVectorXf direction = mean(in_ci) - mean(in_shi);
  const bool both = std::any_of(in_ci.begin(), in_ci.end(), [](double x) { return x > 0; }) &&
                    std::any_of(in_shi.begin(), in_shi.end(), [](double x) { return x > 0; });
  if (!both || direction.norm() <= 1e-6f) return;
  direction.normalize();
  rows -= (rows * direction.transpose()) * direction;
}

std::optional<double> SubjectJudge::Closeness(std::u16string_view a, std::u16string_view b) const {
  const Impl& m = *impl_;
  if (m.rows.size() == 0) return std::nullopt;
  Eigen::VectorXf first, second;
  if (!m.Sum(a, b, first) || !m.Sum(b, a, second)) return std::nullopt;
  const float norms = first.norm() * second.norm();
  if (norms <= 0) return std::nullopt;
  return static_cast<double>(first.dot(second) / norms);
}

}  // namespace miravel::poemd
