// The weight of every scoring term, each under one name and with one value.
// Preferences are in the unit of the association vectors: about 0.1 lies
// between the mean cohesion of two random lines and that of two consecutive
// lines of a real poem. Why each weight has its value, and what measured it,
// stands in its term's header.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

struct Weights {
  // Line terms.
  std::array<float, kSourceRanks> rank = {0.15f, 0.1f, 0.0f, -1.0f};  // rank_term.h
  float chance = 0.05f;                                               // chance_term.h
  float occasion_keeping = 0.15f;                                     // occasion_term.h
  float occasion_avoiding = 0.3f;                                     // occasion_term.h
  float theme = 0.25f;                                                // theme_term.h
  float neighbours = 1.0f;                                            // neighbours_term.h
  // Pair terms.
  float cohesion = 1.0f;        // cohesion_term.h
  float couplet = 0.1f;         // couplet_term.h
  float parallel = 0.5f;        // parallel_term.h
  float middle_couplet = 1.0f;  // middle_couplet_term.h
  // Poem terms.
  float repeat = 0.3f;  // repeats_term.h
  // What a poem is about: the subject term's weight (subject_term.h), the
  // one-subject term's, how much a line's own characters count beside its
  // poem's subject and how much of the term the turning line keeps
  // (one_subject_term.h), how far the turning line is to leave the line
  // before it (turn_term.h), and a second line of one source poem's cost
  // (sources_term.h). The measured figures for them together stand in
  // one_subject_term.h.
  float subject = 0.5f;
  float occasion_poem = 1.0f;  // occasion_poem_term.h
  float one_subject = 1.0f;
  float line_words = 3.0f;
  float turn = 1.0f;
  float turn_apart = 1.3f;  // turn_term.h
  float same_source = 0.3f;
  // How a subject is chosen (subject_choice.h).
  float subject_phrase = 1.0f;
  float subject_occasion = 3.0f;
  float subject_cover = 1.0f;
};

// Sets the weight named `name` ("cohesion", "rank.drama", "occasion.keeping",
// ... : WeightNames()), for whoever tunes one to measure what it moves.
// False, and nothing set, for a name no weight has.
bool SetWeight(Weights& weights, std::string_view name, float value);
std::vector<std::string> WeightNames();

}  // namespace miravel::poemd
