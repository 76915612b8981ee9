// The characters' subject vectors (index/subjects.h), learned from which
// characters share a poem, for the subject learner (subject_learner.h).
//
// Over the windows that teach (a poem, or eight pieces of a longer one;
// drama's do not), each pair of characters that share one is counted once,
// but never two met only at the ends of pieces, which share a rhyme rather
// than a subject. Function characters and numerals have no vector
// (subject_words.h), nor characters in fewer than kLeastWindows windows;
// of the rest, the `characters` in most windows have one. The counts become
// vectors as pmi_factorisation.h makes them, and the dimensions of positive
// eigenvalues (characters that go together) are kept.
//
// Then the register is taken out: what every poem shares (the vectors'
// mean), and the directions in which a ci's words, or a song's, differ from
// a shi's whatever they speak of. Last, each character weighs by how few
// windows hold it. Deterministic for a given input and seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace miravel::poemd {

// The form a poem is written in, which marks its words beyond its subject.
enum class Register : uint8_t { kShi, kCi, kDrama };
inline constexpr int kRegisters = 3;

inline constexpr uint64_t kLeastWindows = 5;

struct LearnedCharacters {
  std::vector<uint16_t> vocabulary;  // 65536: a row, or kNotInVocabulary
  std::vector<float> vectors;        // rows * kSubjectDims
};

// Calls `visit` with each window of each poem: its pieces (simplified), its
// register, and whether it teaches the vectors. Called more than once, the
// same windows each time.
using WindowVisitor =
    std::function<void(std::span<const std::u16string_view> pieces, Register form, bool teaches)>;
using EachWindow = std::function<void(const WindowVisitor& visit)>;

LearnedCharacters LearnCharacterVectors(const EachWindow& windows, size_t characters,
                                        uint64_t seed);

}  // namespace miravel::poemd
