// miravel-poemd-measure: what the poems of an index read like, measured.
//
// Coverage: of the 3,500 most frequent characters of the corpus, the share
// that a real corpus line holds at each place, per form.
// Then for each of the twelve modes (form, place, rhyme scheme), over one
// set of requests (random four-character ones from those 3,500 characters,
// or a set of everyday ones): rhyme, 粘对, 二四不同, repeated characters, made
// and drama lines, and the time per poem, as poem_measures.h defines them.
// Coherence (with --poetry): the poems judged by coherence_judge.h on the
// quarter of the corpus an index built with --measure-split left out,
// normalised so that four random corpus lines score 0 and the held-out real
// quatrains score 1.
//
// Poems come from the composer in this process, or with --service from a
// running miravel-poemd, as a client gets them.
#include <httplib.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/list_items.h"
#include "miravel/version.h"
#include "poemd/build/corpus_split.h"
#include "poemd/build/line_splitter.h"
#include "poemd/build/poetry_package.h"
#include "poemd/compose/poem_composer.h"
#include "poemd/http/form_body.h"
#include "poemd/index/corpus_index.h"
#include "poemd/measure/coherence_judge.h"
#include "poemd/measure/mode_tally.h"
#include "poemd/measure/poem_measures.h"
#include "poemd/verse/character_frequency.h"
#include "text/gbk_unicode.h"
#include "text/utf.h"

using namespace miravel;
using namespace miravel::poemd;

namespace {

// Blessings, seasons and names, as people ask for them.
const char16_t* const kEverydayRequests[] = {
    u"春夏秋冬", u"福寿安康", u"生日快乐", u"新年快乐", u"万事如意", u"心想事成", u"学业有成",
    u"前程似锦", u"一帆风顺", u"家和万事", u"平安喜乐", u"花好月圆", u"岁岁平安", u"金榜题名",
    u"鹏程万里", u"春风得意", u"我爱你",   u"永结同心", u"百年好合", u"天长地久", u"春暖花开",
    u"秋高气爽", u"冬雪梅香", u"夏日荷风", u"中秋快乐", u"国庆",     u"清明时节", u"端午安康",
    u"张伟",     u"李娜",     u"王芳",     u"刘洋",     u"陈静",     u"杨帆",     u"赵敏",
    u"黄磊",     u"周杰",     u"李思远",   u"张雨欣",   u"王子涵",   u"刘浩然",   u"陈佳怡",
    u"杨梓轩",   u"赵欣怡",   u"吴宇航",   u"林语堂",   u"相思",     u"故乡明月", u"山水清音",
    u"江南好",
};

std::vector<char16_t> MostFrequent(const CorpusIndex& index, size_t count) {
  std::vector<uint64_t> seen(65536, 0);
  for (int length : {5, 7}) {
    for (uint32_t line = 0; line < index.LineCount(length); ++line) {
      for (char16_t c : index.Text(length, line)) ++seen[c];
    }
  }
  std::vector<char16_t> characters = ByFrequency(seen);
  characters.resize(std::min(count, characters.size()));
  return characters;
}

// The body the desktop client posts for `order`.
std::string FormBody(const PoemOrder& order) {
  return "xing=" + PercentEncode(Utf16ToGbk(order.Hidden())) +
         "&gender=" + std::to_string(order.length) +
         "&type_str=&classid=0&num=" + order.ModeName() +
         "&limit=" + (order.first_line_rhymes ? "200" : "100");
}

// The poem lines of a service's page.
std::vector<std::u16string> PageLines(const std::string& page) {
  std::vector<std::u16string> lines;
  for (const std::string& item : ListItemTexts(page)) lines.push_back(GbkToUtf16(item));
  return lines;
}

struct Reference {
  CoherenceJudge judge;
  std::vector<std::vector<std::u16string>> held_out[2];
};

// The judge's quarter of the corpus, and the held-out quatrains.
bool ReadReference(const std::string& poetry, Reference* reference) {
  LineSplitter splitter;
  std::vector<std::vector<std::u16string>> judged;
  for (const VerseFile& file : VerseFiles(poetry)) {
    ReadPoems(file, [&](const PoemText& poem) {
      std::vector<std::u16string> lines = splitter.Pieces(poem.paragraphs);
      switch (PartOf(poem, lines)) {
        case SplitPart::kHeldOut:
          reference->held_out[LengthSlot(static_cast<int>(lines[0].size()))].push_back(lines);
          break;
        case SplitPart::kJudge:
          judged.push_back(std::move(lines));
          break;
        case SplitPart::kIndex:
          break;
      }
    });
  }
  if (judged.empty()) return false;
  for (const auto& lines : judged) {
    for (const auto& line : lines) reference->judge.SeeLine(line);
  }
  for (const auto& lines : judged) {
    for (size_t k = 0; k + 1 < lines.size(); ++k) {
      if (!lines[k].empty() && lines[k].size() == lines[k + 1].size()) {
        reference->judge.SeePair(lines[k], lines[k + 1]);
      }
    }
  }
  return true;
}

PoemOrder OrderFor(std::u16string_view hidden, int length, Place place, bool first_rhymes) {
  PoemOrder order;
  order.length = length;
  order.place = place;
  order.first_line_rhymes = first_rhymes;
  for (char16_t c : hidden) order.characters.push_back({Utf16ToGbk({&c, 1}), c});
  return order;
}

// The poem a running service gives, as a client gets it; empty when none came.
std::vector<ReadLineFacts> AskService(httplib::Client& client, const PoemOrder& order,
                                      const LineReader& reader) {
  std::vector<ReadLineFacts> read;
  const auto res = client.Post("/qm/cts.php", FormBody(order), "application/x-www-form-urlencoded");
  if (res && res->status == 200) {
    for (const auto& line : PageLines(res->body)) read.push_back(reader.Read(line));
  }
  return read;
}

std::vector<ReadLineFacts> Compose(const CorpusIndex& index, const PoemOrder& order, uint64_t seed,
                                   const LineReader& reader) {
  std::vector<ReadLineFacts> read;
  const Poem poem = ComposePoem(index, order, {.seed = seed});
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    read.push_back(reader.Read(poem.lines[i], order.PositionAt(i)));
  }
  return read;
}

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

void PrintCoverage(const CorpusIndex& index, const std::vector<char16_t>& frequent) {
  std::printf("coverage of the %zu most frequent characters by a real corpus line:\n",
              frequent.size());
  for (int length : kLengths) {
    for (Place place : {Place::kHead, Place::kMiddle, Place::kTail}) {
      size_t covered = 0;
      for (char16_t c : frequent) covered += !index.LinesWith(c, length, place).empty();
      static const char* const kPlaces[] = {"head", "middle", "tail"};
      std::printf("  %d-character, %-6s %6.2f%%\n", length, kPlaces[static_cast<int>(place)],
                  100.0 * covered / frequent.size());
    }
  }
}

// The everyday requests, or `count` random four-character ones.
std::vector<std::u16string> Requests(bool everyday, int count,
                                     const std::vector<char16_t>& frequent) {
  std::vector<std::u16string> asked;
  if (everyday) {
    for (const char16_t* r : kEverydayRequests) asked.emplace_back(r);
    return asked;
  }
  std::mt19937_64 rng(2026);
  for (int r = 0; r < count; ++r) {
    std::u16string hidden;
    for (int k = 0; k < 4; ++k) hidden += frequent[rng() % frequent.size()];
    asked.push_back(hidden);
  }
  return asked;
}

// What the judge gives four random corpus lines (0 on the printed scale) and
// the held-out real quatrains (1), per length.
struct Calibration {
  double random[2] = {0, 0};
  double real[2] = {1, 1};

  double Normalised(int slot, double score) const {
    return (score - random[slot]) / (real[slot] - random[slot]);
  }
};

Calibration Calibrate(const CorpusIndex& index, const Reference& reference) {
  Calibration calibration;
  std::mt19937_64 rng(7);
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    std::vector<double> scores;
    for (int k = 0; k < 4000 && index.LineCount(length) > 0; ++k) {
      std::vector<std::u16string> lines;
      for (int i = 0; i < 4; ++i) {
        lines.emplace_back(index.Text(length, rng() % index.LineCount(length)));
      }
      scores.push_back(reference.judge.Poem(lines));
    }
    calibration.random[slot] = Mean(scores);
    scores.clear();
    for (const auto& quatrain : reference.held_out[slot]) {
      scores.push_back(reference.judge.Poem(quatrain));
    }
    calibration.real[slot] = Mean(scores);
    std::printf("judge, %d-character: random lines %.4f, %zu held-out quatrains %.4f\n", length,
                calibration.random[slot], reference.held_out[slot].size(), calibration.real[slot]);
  }
  return calibration;
}

// Where the poems of a mode come from: a running service, or the composer here.
struct PoemSource {
  const CorpusIndex& index;
  httplib::Client* client = nullptr;

  std::vector<ReadLineFacts> Get(const PoemOrder& order, uint64_t seed,
                                 const LineReader& reader) const {
    return client != nullptr ? AskService(*client, order, reader)
                             : Compose(index, order, seed, reader);
  }
};

// Measures one mode and prints its row.
void MeasureMode(const PoemSource& source, const std::vector<std::u16string>& asked, int length,
                 Place place, bool first_rhymes, const LineReader& reader,
                 const Reference* reference, const Calibration& calibration, int show) {
  ModeTally tally;
  std::vector<double> coherence;
  for (size_t r = 0; r < asked.size(); ++r) {
    const PoemOrder order = OrderFor(asked[r], length, place, first_rhymes);
    tally.Ask();
    const auto start = std::chrono::steady_clock::now();
    const std::vector<ReadLineFacts> read = source.Get(order, r + 1, reader);
    tally.AddSeconds(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (read.size() != asked[r].size()) {
      std::fprintf(stderr, "miravel-poemd-measure: no poem for request %zu\n", r);
      continue;
    }
    tally.Add(Examine(read, order));
    std::vector<std::u16string> texts;
    for (const auto& line : read) texts.push_back(line.text);
    if (reference) coherence.push_back(reference->judge.Poem(texts));
    if (static_cast<int>(r) < show) {
      std::string shown;
      for (const auto& text : texts) shown += Utf16ToUtf8(text) + " ";
      std::printf("    %s\n", shown.c_str());
    }
  }
  static const char* const kPlaceNames[] = {"head  ", "middle", "tail  "};
  char judged[32] = "     -";
  if (reference) {
    std::snprintf(judged, sizeof judged, "%6.2f",
                  calibration.Normalised(LengthSlot(length), Mean(coherence)));
  }
  std::printf("  %d %s %s  %5.1f%% %5.1f%% %5.1f%% %5.1f%% %5.1f%%  %5.2f%% %5.2f%%  %s  %7.3f\n",
              length, kPlaceNames[static_cast<int>(place)], first_rhymes ? "200" : "100",
              tally.RhymePercent(), tally.GroupPercent(), tally.LinksPercent(),
              tally.InLinePercent(), tally.RepeatsPercent(), tally.MadePercent(),
              tally.DramaPercent(), judged, tally.MillisecondsPerPoem());
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Measures the poems miravel-poemd composes from an index.", "miravel-poemd-measure");
  std::string path, poetry, service;
  int requests = 1000;
  bool everyday = false;
  int show = 0;
  app.add_option("--index", path, "the index to compose from")->required();
  app.add_option("--requests", requests, "random four-character requests per mode");
  app.add_flag("--everyday", everyday, "the everyday requests (blessings, seasons, names) instead");
  app.add_option("--poetry", poetry,
                 "the chinese-poetry package, to judge coherence (index built with "
                 "--measure-split)");
  app.add_option("--service", service, "HOST:PORT of a running miravel-poemd to ask instead");
  app.add_option("--show", show, "print this many poems of each mode");
  app.set_version_flag("--version", std::string("miravel-poemd-measure ") + MIRAVEL_VERSION_TEXT);
  CLI11_PARSE(app, argc, argv);

  const StatusOr<CorpusIndex> index = CorpusIndex::Load(path);
  if (!index.ok()) {
    std::fprintf(stderr, "miravel-poemd-measure: %s\n", index.status().message().c_str());
    return 1;
  }
  const std::vector<char16_t> frequent = MostFrequent(*index, kCommonCharacters);
  PrintCoverage(*index, frequent);
  const std::vector<std::u16string> asked = Requests(everyday, requests, frequent);

  std::optional<Reference> reference;
  Calibration calibration;
  if (!poetry.empty()) {
    reference.emplace();
    if (!ReadReference(poetry, &*reference)) {
      std::fprintf(stderr, "miravel-poemd-measure: no poems under %s\n", poetry.c_str());
      return 1;
    }
    calibration = Calibrate(*index, *reference);
  }

  std::optional<httplib::Client> client;
  if (!service.empty()) client.emplace("http://" + service);
  const PoemSource source{*index, client ? &*client : nullptr};
  std::printf("%zu %s requests per mode%s:\n", asked.size(), everyday ? "everyday" : "random",
              client ? (" from " + service).c_str() : "");
  std::printf(
      "  mode          rhyme  group  粘对   二四   repeats made   drama  coherence  ms/poem\n");
  const LineReader readers[2] = {LineReader(*index, 5), LineReader(*index, 7)};
  for (const bool first_rhymes : {false, true}) {
    for (const int length : kLengths) {
      for (const Place place : {Place::kHead, Place::kMiddle, Place::kTail}) {
        MeasureMode(source, asked, length, place, first_rhymes, readers[LengthSlot(length)],
                    reference ? &*reference : nullptr, calibration, show);
      }
    }
  }
  return 0;
}
