// How widely the composer looks: how many corpus lines it reads for each
// hidden character, how many it weighs, how many forms it composes in and
// how many partial poems its search keeps. Each is a trade of time for
// poems. The figures below halve and double each size alone
// (miravel-poemd-measure --size, 150 random four-character requests a mode
// in the default book; head and middle, five and seven characters, both
// rhyme schemes, averaged): every-rule poems, poems with a repeat, and
// coherence by held-out couplet statistics where real quatrains score 1.0;
// at the default 62.8%, 16.8% and .748.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace miravel::poemd {

struct ComposeSizes {
  // Corpus lines read for each hidden character, from a random start in
  // its list (all of them when it has fewer): the poem's chance. Reading a
  // line costs a miss in memory. At 96 coherence fell to .657 and
  // every-rule poems to 60.1%; 384 gave .795 and 63.4% at 10-20% more time.
  size_t scanned = 96;
  // A line of a middle couplet of a 律诗 reads this many times further: it
  // needs a parallel answer, which few lines have. Parallel middle couplets
  // of eight-line poems: 48.2% at 2, 49.2% at 4, 50.2% at 8.
  size_t middle_scan_factor = 4;
  // Lines ranked with their association vectors, by the rules they keep
  // and the line terms that need no vectors. Coherence .718 at 20, .764 at
  // 80; each line ranked costs its vectors.
  size_t shortlisted = 40;
  // Lines of each hidden character the search weighs, once narrowed by
  // their neighbours. Coherence .753 at 12 and at 48: on random requests
  // the narrowing has already chosen; 12 takes 40% less time.
  size_t candidates = 12;
  // Forms (rhyme and opening) composed in, the best poem of them kept: a
  // rhyme with no fresh rhyme character for a line gives way to another.
  // With three forms five-character head coherence was .78 where four gave
  // .81, and seven-character head .90 where four gave .94; with two, .660
  // in all and 61.2% every-rule poems; six gave .782 at twice the time.
  // Since poems are composed under a subject, forms and subjects share one
  // budget of searches (measure's line pairs, 60 requests a mode, far pairs
  // 1-3/2-4/1-4 of five-character head poems on the random-to-real scale,
  // five head 2-4, seven head 2-4): two forms under two subjects 2.08/1.06/
  // 1.77, .76, .98, at about twice the time of a poem before subjects; two
  // forms under one subject 1.96/0.76/1.45, .72, .82; three forms under one
  // 2.06/0.96/1.73, .95, 1.02, with wish lines from poems of their occasion
  // at 48/50/74/11% (birthday, festival, farewell, wedding) where two under
  // two gave 45/53/78/9%.
  size_t forms = 3;
  // Subjects a poem is composed under, the best poem of them kept, and
  // how many more its page offers (subject_choice.h).
  size_t subjects = 1;
  size_t subjects_offered = 4;
  // Lines of the subject's poems read first for each hidden character, and
  // of its nearest subjects' after them, before the random ones.
  size_t subject_scanned = 96;
  size_t near_scanned = 32;
  // Partial poems the search keeps after each line. Coherence .742 at 4,
  // .751 at 16.
  size_t beam = 8;
  // After the first line of a middle couplet: the first lines that have a
  // parallel answer are seldom the likeliest alone, and a beam of 8 dropped
  // them before their answer was weighed. Parallel middle couplets went
  // from 38.8/31.7/45.8/43.0% to 49.0/41.3/53.5/54.3% (five head, five
  // middle, seven head, seven middle), at 8 to 24% more time a poem of
  // eight lines; quatrains have no middle couplet.
  size_t middle_beam = 32;
  // Real couplets of two consecutive hidden characters tried, from a random
  // start. Random requests seldom have one: 4 and 32 change nothing there.
  size_t couplets_tried = 16;
  // The likeliest lines of a middle couplet's line that look for a
  // parallel answer among the other line's. 6 and 24 moved parallel middle
  // couplets by less than a point.
  size_t parallel_firsts = 12;
  // Random corpus lines tried as donors of a made line, at most: donors
  // that keep every rule in the first half, any in the second.
  size_t donor_tries = 4000;
};

// Sets the size named `name` (its member's name: "scanned", "beam", ...:
// SizeNames()). False, and nothing set, for a name no size has or a value
// of 0.
bool SetSize(ComposeSizes& sizes, std::string_view name, size_t value);
std::vector<std::string> SizeNames();

}  // namespace miravel::poemd
