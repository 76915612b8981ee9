// miravel-poemd-measure: what the poems of an index read like, measured.
//
// Coverage: of the 3,500 most frequent characters of the corpus, the share
// that a real corpus line holds at each place, per form.
// Then, for each rhyme book asked for and each of the twelve modes (form,
// place, rhyme scheme), over one set of requests (random four-character ones
// from those 3,500 characters, or a set of everyday ones): the poems read
// both classically and in modern tones (rhyme, the ends of the other lines,
// 二四六, the whole template, 孤平, 三平尾, every rule at once), repeated
// characters and rhyme characters, made and drama lines, the time per poem.
// With --poetry (an index built with --measure-split): coherence, judged by
// coherence_judge.h on the quarter of the corpus the index left out, scaled
// so that four random corpus lines score 0 and held-out real quatrains 1;
// the held-out real quatrains measured as the poems are; and with
// --discriminate, a judge trained to tell those real quatrains from poems
// composed for the same hidden characters and rhyme scheme, its accuracy on
// others, and what gives the composed poems away.
//
// Poems come from the composer in this process, or with --service from a
// running miravel-poemd, as a client gets them (in the book it serves).
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
#include "poemd/compose/line_reading.h"
#include "poemd/compose/poem_composer.h"
#include "poemd/http/form_body.h"
#include "poemd/index/corpus_index.h"
#include "poemd/indexing/reading_files.h"
#include "poemd/measure/discriminator.h"
#include "poemd/measure/measure_report.h"
#include "poemd/measure/mode_tally.h"
#include "poemd/measure/poem_measures.h"
#include "poemd/tools/reference_poems.h"
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

constexpr Place kPlaces[] = {Place::kHead, Place::kMiddle, Place::kTail};

std::vector<char16_t> MostFrequent(const CorpusIndex& index, size_t count) {
  std::vector<uint64_t> seen(65536, 0);
  for (int length : kLengths) {
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

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

PoemOrder OrderFor(std::u16string_view hidden, int length, Place place, bool first_rhymes,
                   RhymeBook book) {
  PoemOrder order;
  order.length = length;
  order.place = place;
  order.first_line_rhymes = first_rhymes;
  order.book = book;
  order.characters = hidden;
  return order;
}

// Where the poems come from: a running service, or the composer here.
struct PoemSource {
  const CorpusIndex& index;
  httplib::Client* client = nullptr;

  std::vector<ReadLineFacts> Get(const PoemOrder& order, uint64_t seed,
                                 const LineReader& reader) const {
    std::vector<ReadLineFacts> read;
    if (client != nullptr) {
      const auto res =
          client->Post("/qm/cts.php", FormBody(order), "application/x-www-form-urlencoded");
      if (res && res->status == 200) {
        for (const std::string& item : ListItemTexts(res->body)) {
          read.push_back(reader.Read(GbkToUtf16(item)));
        }
      }
      return read;
    }
    const Poem poem = ComposePoem(index, order, {.seed = seed});
    for (size_t i = 0; i < poem.lines.size(); ++i) {
      read.push_back(reader.Read(poem.lines[i], order.PositionAt(i)));
    }
    return read;
  }
};

void PrintCoverage(const CorpusIndex& index, const std::vector<char16_t>& frequent) {
  std::printf("coverage of the %zu most frequent characters by a real corpus line:\n",
              frequent.size());
  for (int length : kLengths) {
    for (Place place : kPlaces) {
      size_t covered = 0;
      for (char16_t c : frequent) covered += !index.LinesWith(c, length, place).empty();
      static const char* const kNames[] = {"head", "middle", "tail"};
      std::printf("  %d-character, %-6s %6.2f%%\n", length, kNames[static_cast<int>(place)],
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
    for (const RealPoem& quatrain : reference.held_out[slot]) {
      scores.push_back(reference.judge.Poem(quatrain.lines));
    }
    calibration.real[slot] = Mean(scores);
    std::printf("judge, %d-character: random lines %.4f, %zu held-out quatrains %.4f\n", length,
                calibration.random[slot], reference.held_out[slot].size(), calibration.real[slot]);
  }
  return calibration;
}

// A real poem as the measures take it; the hidden characters at `place`.
std::vector<ReadLineFacts> FactsOf(const RealPoem& poem) {
  std::vector<ReadLineFacts> read;
  for (size_t i = 0; i < poem.lines.size(); ++i) read.push_back({poem.lines[i], poem.readings[i]});
  return read;
}

PoemOrder OrderOfRealPoem(const RealPoem& poem, Place place, RhymeBook book) {
  const int length = static_cast<int>(poem.lines[0].size());
  std::u16string hidden;
  for (const std::u16string& line : poem.lines) hidden += line[PositionOf(place, length)];
  return OrderFor(hidden, length, place, poem.first_line_rhymes, book);
}

void PrintRealPoems(const Reference& reference) {
  std::printf("held-out real quatrains, read as the index reads its lines:\n%s\n",
              ReportHeader().c_str());
  for (int slot = 0; slot < 2; ++slot) {
    ModeTally tally;
    for (const RealPoem& poem : reference.held_out[slot]) {
      tally.Ask();
      tally.Add(Examine(FactsOf(poem), OrderOfRealPoem(poem, Place::kHead, RhymeBook::kBoth)));
    }
    std::printf("%s\n", LabelledRow(std::to_string(kLengths[slot]) + " real", tally, 1.0).c_str());
  }
}

struct MeasureSetup {
  const PoemSource& source;
  const std::vector<std::u16string>& asked;
  const LineReader* readers;  // per length slot
  const Reference* reference;
  Calibration calibration;
  int show = 0;
  int show_broken = 0;  // poems per mode that break a rule in the book's first reading
};

// A line with each character's tone in `classical` or modern reading:
// 平 ○, 仄 ●, either ◐, neither ·; and its rhymes.
std::string Marked(const ReadLineFacts& line, bool classical) {
  const LineTones tones = classical ? line.reading.classical : line.reading.modern;
  std::u16string marks;
  for (size_t k = 0; k < line.text.size(); ++k) {
    const int i = static_cast<int>(k);
    marks += tones.CanBeLevel(i) ? (tones.CanBeOblique(i) ? u'◐' : u'○')
                                 : (tones.CanBeOblique(i) ? u'●' : u'·');
  }
  std::string rhymes;
  for (int p = 1; p <= kPingshuiRhymeCount; ++p) {
    if (line.reading.pingshui & RhymeBit(static_cast<PingshuiRhyme>(p))) {
      rhymes += std::string(PingshuiRhymeName(static_cast<PingshuiRhyme>(p))) + " ";
    }
  }
  return Utf16ToUtf8(line.text) + " " + Utf16ToUtf8(marks) + " " + rhymes +
         std::string(XinyunGroupName(line.reading.xinyun));
}

// Measures one mode in one book and prints its row.
void MeasureMode(const MeasureSetup& setup, RhymeBook book, int length, Place place,
                 bool first_rhymes) {
  ModeTally tally;
  std::vector<double> coherence;
  int shown_broken = 0;
  const LineReader& reader = setup.readers[LengthSlot(length)];
  for (size_t r = 0; r < setup.asked.size(); ++r) {
    const PoemOrder order = OrderFor(setup.asked[r], length, place, first_rhymes, book);
    tally.Ask();
    const auto start = std::chrono::steady_clock::now();
    const std::vector<ReadLineFacts> read = setup.source.Get(order, r + 1, reader);
    tally.AddSeconds(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (read.size() != setup.asked[r].size()) {
      std::fprintf(stderr, "miravel-poemd-measure: no poem for request %zu\n", r);
      continue;
    }
    const PoemFacts facts = Examine(read, order);
    tally.Add(facts);
    const ReadingFacts& first = facts.In(ReadsClassically(book));
    const bool modern_rhyme = book != RhymeBook::kBoth || facts.modern.rhymes;
    if (shown_broken < setup.show_broken &&
        (!first.rhymes || !first.whole_template || !modern_rhyme)) {
      ++shown_broken;
      std::printf("    broken (%s%s%s):\n", first.rhymes ? "" : "rhyme ",
                  first.whole_template ? "" : "template ", modern_rhyme ? "" : "modern rhyme");
      for (const ReadLineFacts& line : read) {
        std::printf("      %s  %s\n", Marked(line, ReadsClassically(book)).c_str(),
                    book == RhymeBook::kBoth ? Marked(line, false).c_str() : "");
      }
    }
    std::vector<std::u16string> texts;
    for (const auto& line : read) texts.push_back(line.text);
    if (setup.reference) coherence.push_back(setup.reference->judge.Poem(texts));
    if (static_cast<int>(r) < setup.show) {
      std::string shown;
      for (const auto& text : texts) shown += Utf16ToUtf8(text) + " ";
      std::printf("    %s\n", shown.c_str());
    }
  }
  std::optional<double> judged;
  if (setup.reference) judged = setup.calibration.Normalised(LengthSlot(length), Mean(coherence));
  std::printf("%s\n", ModeRow(length, place, first_rhymes, tally, judged).c_str());
}

PoemSample SampleOf(const std::vector<ReadLineFacts>& read, bool first_line_rhymes) {
  PoemSample sample;
  sample.first_line_rhymes = first_line_rhymes;
  for (const ReadLineFacts& line : read) {
    sample.lines.push_back(line.text);
    sample.readings.push_back(line.reading);
  }
  return sample;
}

// Trains and tests the discriminator per form and place, in one book.
void Discriminate(const PoemSource& source, const Reference& reference, RhymeBook book,
                  bool explain) {
  std::printf(
      "discriminator, %s (%s): real held-out quatrains against poems composed for the "
      "same hidden characters and rhyme scheme\n",
      std::string(RhymeBookKey(book)).c_str(), std::string(RhymeBookName(book)).c_str());
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    const LineReader reader(source.index, length);
    for (const Place place : kPlaces) {
      std::vector<std::pair<PoemSample, PoemSample>> pairs;
      uint64_t seed = 1;
      for (const RealPoem& poem : reference.held_out[slot]) {
        const PoemOrder order = OrderOfRealPoem(poem, place, book);
        const std::vector<ReadLineFacts> read = source.Get(order, seed++, reader);
        if (read.size() != poem.lines.size()) continue;
        pairs.emplace_back(SampleOf(FactsOf(poem), poem.first_line_rhymes),
                           SampleOf(read, poem.first_line_rhymes));
      }
      const DiscriminatorResult result = TrainAndTest(pairs, 2026 + slot);
      static const char* const kNames[] = {"head  ", "middle", "tail  "};
      std::printf("  %d %s  accuracy %.3f  pairwise %.3f  (%zu pairs trained, %zu tested)\n",
                  length, kNames[static_cast<int>(place)], result.accuracy, result.pairwise,
                  result.train_pairs, result.test_pairs);
      if (!explain || place == Place::kTail) continue;
      std::string tells = "    composed:";
      for (const auto& [name, weight] : result.composed_tells) {
        char w[16];
        std::snprintf(w, sizeof w, " %.2f", weight);
        tells += " [" + name + "]" + w;
      }
      tells += "\n    real:";
      for (const auto& [name, weight] : result.real_tells) {
        char w[16];
        std::snprintf(w, sizeof w, " %.2f", weight);
        tells += " [" + name + "]" + w;
      }
      std::printf("%s\n", tells.c_str());
    }
  }
}

std::vector<RhymeBook> BooksFor(const std::string& key) {
  if (key == "all") return {RhymeBook::kPingshui, RhymeBook::kXinyun, RhymeBook::kBoth};
  return {*RhymeBookFromKey(key)};
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Measures the poems miravel-poemd composes from an index.", "miravel-poemd-measure");
  std::string path, poetry, service, classical_path, readings_path, books = "all";
  int requests = 1000;
  bool everyday = false, discriminate = false, explain = false;
  int show = 0;
  app.add_option("--index", path, "the index to compose from")->required();
  app.add_option("--requests", requests, "random four-character requests per mode");
  app.add_flag("--everyday", everyday, "the everyday requests (blessings, seasons, names) instead");
  app.add_option("--rhyme-book", books, "pingshui, xinyun, both, or all of them")
      ->check(CLI::IsMember({"pingshui", "xinyun", "both", "all"}))
      ->capture_default_str();
  app.add_option("--poetry", poetry,
                 "the chinese-poetry package: coherence and the real quatrains (index built with "
                 "--measure-split)");
  app.add_option("--classical", classical_path,
                 "the 广韵 readings (guangyun_readings.js), to read the real quatrains")
      ->check(CLI::ExistingFile);
  app.add_option("--readings", readings_path,
                 "the word pronunciation dictionary, to read the real quatrains")
      ->check(CLI::ExistingFile);
  app.add_flag("--discriminate", discriminate,
               "train and test a judge of real against composed poems (needs --poetry)");
  app.add_flag("--explain", explain, "with --discriminate: what gives the poems away");
  app.add_option("--service", service, "HOST:PORT of a running miravel-poemd to ask instead");
  app.add_option("--show", show, "print this many poems of each mode");
  int show_broken = 0;
  app.add_option("--show-broken", show_broken,
                 "print this many poems of each mode that break the rhyme or the template (in "
                 "both books, either rhyme), with their tones");
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
    StatusOr<ReadingFiles> readings = LoadReadingFiles(readings_path, classical_path);
    if (!readings.ok()) {
      std::fprintf(stderr, "miravel-poemd-measure: %s\n", readings.status().message().c_str());
      return 1;
    }
    StatusOr<Reference> read = ReadReference(poetry, readings->Classical(), readings->Words());
    if (!read.ok()) {
      std::fprintf(stderr, "miravel-poemd-measure: %s\n", read.status().message().c_str());
      return 1;
    }
    reference.emplace(std::move(*read));
    calibration = Calibrate(*index, *reference);
    PrintRealPoems(*reference);
  }

  std::optional<httplib::Client> client;
  if (!service.empty()) client.emplace("http://" + service);
  const PoemSource source{*index, client ? &*client : nullptr};
  const LineReader readers[2] = {LineReader(*index, 5), LineReader(*index, 7)};
  const MeasureSetup setup{source,      asked, readers,    reference ? &*reference : nullptr,
                           calibration, show,  show_broken};
  for (const RhymeBook book : client ? std::vector<RhymeBook>{RhymeBook::kBoth} : BooksFor(books)) {
    std::printf("%s (%s), %zu %s requests per mode%s:\n%s\n",
                std::string(RhymeBookKey(book)).c_str(), std::string(RhymeBookName(book)).c_str(),
                asked.size(), everyday ? "everyday" : "random",
                client ? (" from " + service + ", in the book it serves").c_str() : "",
                ReportHeader().c_str());
    for (const bool first_rhymes : {false, true}) {
      for (const int length : kLengths) {
        for (const Place place : kPlaces) MeasureMode(setup, book, length, place, first_rhymes);
      }
    }
  }
  if (discriminate && reference) {
    for (const RhymeBook book :
         client ? std::vector<RhymeBook>{RhymeBook::kBoth} : BooksFor(books)) {
      Discriminate(source, *reference, book, explain);
    }
  }
  return 0;
}
