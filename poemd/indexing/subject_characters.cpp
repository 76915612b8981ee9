#include "poemd/indexing/subject_characters.h"

#include <Eigen/Dense>
#include <algorithm>
#include <array>
#include <cmath>

#include "poemd/index/subjects.h"
#include "poemd/indexing/pmi_factorisation.h"
#include "poemd/indexing/subject_words.h"
#include "poemd/verse/character_frequency.h"
#include "poemd/verse/cjk.h"

namespace miravel::poemd {
namespace {

// Factorised with this many dimensions, of which those of positive
// eigenvalues are kept.
constexpr int kFactorDims = 64;

using Rows = Eigen::Matrix<float, Eigen::Dynamic, kSubjectDims, Eigen::RowMajor>;

// Per character, the windows of each register that hold it, and the
// windows that teach; and how many windows teach.
struct Holding {
  std::vector<std::array<uint64_t, kRegisters>> by_register =
      std::vector<std::array<uint64_t, kRegisters>>(65536);
  std::vector<uint64_t> teaching = std::vector<uint64_t>(65536, 0);
  size_t windows = 0;
};

Holding CountHolding(const EachWindow& windows) {
  Holding h;
  std::vector<size_t> seen(65536, SIZE_MAX);
  size_t window = 0;
  windows([&](std::span<const std::u16string_view> pieces, Register form, bool teaches) {
    for (const std::u16string_view piece : pieces) {
      for (const char16_t c : piece) {
        if (!IsCjk(c) || IsSubjectless(c) || seen[c] == window) continue;
        seen[c] = window;
        ++h.by_register[c][static_cast<size_t>(form)];
        h.teaching[c] += teaches;
      }
    }
    h.windows += teaches;
    ++window;
  });
  return h;
}

// The pairs of rows that share a teaching window, but for pairs met only
// at the ends of pieces.
SquareCounts CountPairs(const EachWindow& windows, const std::vector<uint16_t>& vocabulary,
                        size_t rows) {
  SquareCounts counts(rows);
  // Per row, the window it was last met in, and whether inside a piece.
  std::vector<size_t> met(rows, SIZE_MAX);
  std::vector<bool> inside(rows, false);
  std::vector<uint16_t> window_rows;
  size_t window = 0;
  windows([&](std::span<const std::u16string_view> pieces, Register, bool teaches) {
    ++window;
    if (!teaches) return;
    window_rows.clear();
    for (const std::u16string_view piece : pieces) {
      for (size_t i = 0; i < piece.size(); ++i) {
        const uint16_t row = vocabulary[piece[i]];
        if (row == kNotInVocabulary) continue;
        if (met[row] != window) {
          met[row] = window;
          inside[row] = false;
          window_rows.push_back(row);
        }
        if (i + 1 < piece.size()) inside[row] = true;
      }
    }
    std::sort(window_rows.begin(), window_rows.end());
    for (size_t i = 0; i < window_rows.size(); ++i) {
      for (size_t j = i + 1; j < window_rows.size(); ++j) {
        if (inside[window_rows[i]] || inside[window_rows[j]]) {
          counts.AddBoth(window_rows[i], window_rows[j]);
        }
      }
    }
  });
  return counts;
}

// The mean of `rows` weighed by `weights` (zero when they weigh nothing).
Eigen::RowVectorXf Mean(const Rows& rows, const std::vector<double>& weights) {
  Eigen::VectorXd w = Eigen::Map<const Eigen::VectorXd>(weights.data(), rows.rows());
  const double total = w.sum();
  if (total <= 0) return Eigen::RowVectorXf::Zero(kSubjectDims);
  return (w / total).cast<float>().transpose() * rows;
}

// Takes out of `rows` what every poem shares and what marks each register
// against the shi's.
void TakeOutRegister(Rows& rows, const std::vector<std::array<double, kRegisters>>& holding) {
  std::array<std::vector<double>, kRegisters> weights;
  std::vector<double> all(holding.size(), 0);
  for (size_t r = 0; r < holding.size(); ++r) {
    for (int g = 0; g < kRegisters; ++g) {
      weights[g].push_back(holding[r][g]);
      all[r] += holding[r][g];
    }
  }
  rows.rowwise() -= Mean(rows, all);
  const auto none = [](const std::vector<double>& w) {
    return std::all_of(w.begin(), w.end(), [](double x) { return x == 0; });
  };
  const std::vector<double>& shi_weights = weights[static_cast<size_t>(Register::kShi)];
  if (none(shi_weights)) return;
  const Eigen::RowVectorXf shi = Mean(rows, shi_weights);
  std::vector<Eigen::RowVectorXf> taken;
  for (const Register form : {Register::kCi, Register::kDrama}) {
    const std::vector<double>& w = weights[static_cast<size_t>(form)];
    if (none(w)) continue;
    Eigen::RowVectorXf direction = Mean(rows, w) - shi;
    for (const Eigen::RowVectorXf& before : taken) direction -= direction.dot(before) * before;
    if (direction.norm() <= 1e-6f) continue;
    direction.normalize();
    rows -= (rows * direction.transpose()) * direction;
    taken.push_back(direction);
  }
}

}  // namespace

LearnedCharacters LearnCharacterVectors(const EachWindow& windows, size_t characters,
                                        uint64_t seed) {
  LearnedCharacters learned;
  learned.vocabulary.assign(65536, kNotInVocabulary);
  const Holding holding = CountHolding(windows);
  std::vector<char16_t> by_holding = ByFrequency(holding.teaching);
  while (!by_holding.empty() && holding.teaching[by_holding.back()] < kLeastWindows) {
    by_holding.pop_back();
  }
  by_holding.resize(std::min({by_holding.size(), characters, size_t{kNotInVocabulary}}));
  const size_t rows = by_holding.size();
  std::vector<std::array<double, kRegisters>> by_register(rows);
  for (size_t row = 0; row < rows; ++row) {
    learned.vocabulary[by_holding[row]] = static_cast<uint16_t>(row);
    for (int g = 0; g < kRegisters; ++g) {
      by_register[row][g] = static_cast<double>(holding.by_register[by_holding[row]][g]);
    }
  }
  SquareCounts counts = CountPairs(windows, learned.vocabulary, rows);
  ToSmoothedPmi(counts);
  std::vector<float> factors, signs;
  Factorise(counts, kFactorDims, seed, &factors, &signs);
  counts = SquareCounts(0);
  Rows vectors = Rows::Zero(static_cast<Eigen::Index>(rows), kSubjectDims);
  int kept = 0;
  for (int d = 0; d < kFactorDims && kept < kSubjectDims; ++d) {
    if (signs[d] < 0) continue;
    for (size_t r = 0; r < rows; ++r) vectors(r, kept) = factors[r * kFactorDims + d];
    ++kept;
  }
  if (rows > 0) TakeOutRegister(vectors, by_register);
  for (size_t r = 0; r < rows; ++r) {
    const double holding_windows = static_cast<double>(holding.teaching[by_holding[r]]);
    vectors.row(r) *=
        static_cast<float>(std::log(static_cast<double>(holding.windows) / holding_windows));
  }
  learned.vectors.assign(vectors.data(), vectors.data() + vectors.size());
  return learned;
}

}  // namespace miravel::poemd
