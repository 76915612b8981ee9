#include "poemd/indexing/subject_report.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "poemd/index/subjects.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

double Percent(size_t part, size_t whole) { return whole == 0 ? 0 : 100.0 * part / whole; }

}  // namespace

std::string SubjectReport(const SubjectDescriptions& d, const HeldOutSubjects& held,
                          size_t largest) {
  const size_t subjects = d.names.size();
  const size_t poems = std::accumulate(d.sizes.begin(), d.sizes.end(), size_t{0});
  char row[512];
  std::snprintf(row, sizeof row,
                "subjects: %zu, learned from %zu poems; of %zu held back, the subject their text "
                "alone gives is the one their title and text give for %.1f%%, among its three "
                "closest for %.1f%%\n",
                subjects, poems, held.poems, Percent(held.same, held.poems),
                Percent(held.nearest, held.poems));
  std::string report = row;
  report +=
      "  held-back poems of a title class in a subject of the class, by text alone "
      "(by title and text; of the poems of no class, taken for it):\n";
  for (size_t c = 1; c < kMoodClasses; ++c) {
    const auto title_class = static_cast<MoodClass>(c);
    size_t belonging = 0;
    for (size_t s = 0; s < subjects; ++s) belonging += d.title_classes[s] >> c & 1;
    std::snprintf(row, sizeof row,
                  "    %s %5zu titled, %5.1f%% (%5.1f%%); %4.1f%% of the others; %zu subjects\n",
                  TitleClassName(title_class), held.titled[c],
                  Percent(held.found_by_text[c], held.titled[c]),
                  Percent(held.found_by_both[c], held.titled[c]),
                  Percent(held.mistaken[c], held.titled[0]), belonging);
    report += row;
  }
  std::vector<size_t> order(subjects);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return d.sizes[a] > d.sizes[b]; });
  std::snprintf(row, sizeof row, "  the %zu largest subjects (poems, name, marks, classes):\n",
                std::min(largest, subjects));
  report += row;
  for (size_t k = 0; k < std::min(largest, subjects); ++k) {
    const size_t s = order[k];
    std::string classes;
    for (size_t c = 1; c < kMoodClasses; ++c) {
      const uint8_t share = d.title_shares[s * kMoodClasses + c];
      if ((d.title_classes[s] >> c & 1) == 0) continue;
      std::snprintf(row, sizeof row, " %s %.0f%%", TitleClassName(static_cast<MoodClass>(c)),
                    100.0 * share / 255);
      classes += row;
    }
    std::snprintf(row, sizeof row, "    %4zu %6zu %.1f%%  %s | %s |%s\n", s, d.sizes[s],
                  Percent(d.sizes[s], poems), Utf16ToUtf8(d.names[s]).c_str(),
                  Utf16ToUtf8(d.marks[s]).c_str(), classes.c_str());
    report += row;
  }
  return report;
}

}  // namespace miravel::poemd
