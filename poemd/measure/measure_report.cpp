#include "poemd/measure/measure_report.h"

#include <cstdio>

namespace miravel::poemd {
namespace {

std::string ReadingFigures(const ModeTally& tally, const ModeTally::Reading& r) {
  char out[96];
  std::snprintf(out, sizeof out, "%5.1f%% %5.1f%% %5.1f%% %5.1f%% %4.1f%% %4.1f%% %5.1f%%",
                tally.OfPoems(r.rhymes), ModeTally::Percent(r.unrhymed_oblique, r.unrhymed),
                tally.OfLines(r.in_line), tally.OfPoems(r.templates), tally.OfLines(r.lonely),
                tally.OfLines(r.three_level), tally.OfPoems(r.every_rule));
  return out;
}

}  // namespace

std::string ReportHeader() {
  return "  mode         | classical: rhyme   ends    246   tmpl  孤平  三平    all | "
         "modern: rhyme  ends    246   tmpl  孤平  三平    all | group  rep.  重韵  made  "
         "drama | coher.  ms/poem";
}

std::string LabelledRow(const std::string& label, const ModeTally& tally,
                        std::optional<double> coherence) {
  char rest[128];
  std::snprintf(rest, sizeof rest, " | %5.1f%% %5.1f%% %4.1f%% %5.2f%% %5.2f%% | ",
                tally.GroupPercent(), tally.RepeatsPercent(), tally.RepeatedRhymePercent(),
                tally.MadePercent(), tally.DramaPercent());
  char judged[48];
  if (coherence) {
    std::snprintf(judged, sizeof judged, "%6.2f  %7.3f", *coherence, tally.MillisecondsPerPoem());
  } else {
    std::snprintf(judged, sizeof judged, "     -  %7.3f", tally.MillisecondsPerPoem());
  }
  char head[32];
  std::snprintf(head, sizeof head, "  %-13s", label.c_str());
  return std::string(head) + "|            " + ReadingFigures(tally, tally.Classical()) +
         " |        " + ReadingFigures(tally, tally.Modern()) + rest + judged;
}

std::string ModeRow(int length, Place place, bool first_line_rhymes, const ModeTally& tally,
                    std::optional<double> coherence) {
  static const char* const kPlaces[] = {"head  ", "middle", "tail  "};
  const std::string label = std::to_string(length) + " " + kPlaces[static_cast<int>(place)] +
                            (first_line_rhymes ? " 200" : " 100");
  return LabelledRow(label, tally, coherence);
}

}  // namespace miravel::poemd
