// What the programs' command lines mean: defaults, values read, and the
// answers a bad value, a missing one, --help and --version get.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "poemd/tools/convert_options.h"
#include "poemd/tools/index_options.h"
#include "poemd/tools/measure_options.h"
#include "poemd/tools/poemd_options.h"

namespace miravel::poemd {
namespace {

// The command line `words`, after the program's own name.
template <typename Parse>
auto ParseWords(Parse parse, std::initializer_list<const char*> words) {
  std::vector<const char*> argv{"program"};
  argv.insert(argv.end(), words.begin(), words.end());
  return parse(static_cast<int>(argv.size()), argv.data());
}

template <typename Options, typename Parse>
Options Read(Parse parse, std::initializer_list<const char*> words) {
  auto parsed = ParseWords(parse, words);
  if (const auto* answer = std::get_if<CommandLineAnswer>(&parsed)) {
    ADD_FAILURE() << "answered " << answer->exit_code << ": " << answer->text;
    return {};
  }
  return std::get<Options>(parsed);
}

template <typename Parse>
CommandLineAnswer Answer(Parse parse, std::initializer_list<const char*> words) {
  auto parsed = ParseWords(parse, words);
  if (const auto* answer = std::get_if<CommandLineAnswer>(&parsed)) return *answer;
  ADD_FAILURE() << "no answer: the program would run";
  return {};
}

TEST(PoemdOptions, DefaultsServeTheInstalledIndexOnPort80) {
  const auto options = Read<PoemdOptions>(ParsePoemdOptions, {});
  EXPECT_EQ(options.index_path, "/usr/share/miravel-poemd/poems.idx");
  EXPECT_EQ(options.listen.host, "127.0.0.1");
  EXPECT_EQ(options.listen.port, 80);
  EXPECT_GE(options.threads, 1);
  EXPECT_EQ(options.service.book, RhymeBook::kBoth);
  EXPECT_EQ(options.drain_settle, std::chrono::seconds(5));
  EXPECT_EQ(options.drain_deadline, std::chrono::seconds(25));
  // Pictures on a thread of their own, three a client at once, 64 MiB kept.
  EXPECT_EQ(options.service.pictures.pool.threads, 1);
  EXPECT_EQ(options.service.pictures.pool.per_address, 3u);
  EXPECT_EQ(options.service.pictures.cache_bytes, size_t{64} << 20);
  EXPECT_FALSE(options.check);
}

TEST(PoemdOptions, ValuesAreRead) {
  const auto options = Read<PoemdOptions>(ParsePoemdOptions, {"--index",
                                                              "/tmp/p.idx",
                                                              "--listen",
                                                              "[::1]:8080",
                                                              "--threads",
                                                              "3",
                                                              "--max-per-address",
                                                              "0",
                                                              "--seed",
                                                              "42",
                                                              "--log-characters",
                                                              "--public-url",
                                                              "https://poems.example.org",
                                                              "--rhyme-book",
                                                              "pingshui",
                                                              "--drain-settle",
                                                              "0.5",
                                                              "--drain-deadline",
                                                              "20",
                                                              "--picture-threads",
                                                              "2",
                                                              "--picture-queue",
                                                              "8",
                                                              "--picture-renders-per-address",
                                                              "0",
                                                              "--picture-cache-mb",
                                                              "16",
                                                              "--check"});
  EXPECT_EQ(options.index_path, "/tmp/p.idx");
  EXPECT_EQ(options.listen.host, "::1");
  EXPECT_EQ(options.listen.port, 8080);
  EXPECT_EQ(options.threads, 3);
  EXPECT_EQ(options.limits.max_per_address, 0u);
  EXPECT_EQ(options.service.seed, 42u);
  EXPECT_TRUE(options.service.log_characters);
  EXPECT_EQ(options.service.public_url, "https://poems.example.org");
  EXPECT_EQ(options.service.book, RhymeBook::kPingshui);
  EXPECT_EQ(options.drain_settle, std::chrono::milliseconds(500));
  EXPECT_EQ(options.drain_deadline, std::chrono::seconds(20));
  EXPECT_EQ(options.service.pictures.pool.threads, 2);
  EXPECT_EQ(options.service.pictures.pool.queue, 8u);
  EXPECT_EQ(options.service.pictures.pool.per_address, 0u);
  EXPECT_EQ(options.service.pictures.cache_bytes, size_t{16} << 20);
  EXPECT_TRUE(options.check);
}

TEST(PoemdOptions, BadAndMissingValuesAreRefusedSayingWhich) {
  const CommandLineAnswer listen = Answer(ParsePoemdOptions, {"--listen", "localhost:80"});
  EXPECT_EQ(listen.exit_code, 2);
  EXPECT_NE(listen.text.find("miravel-poemd:"), std::string::npos) << listen.text;
  const CommandLineAnswer ipv6 = Answer(ParsePoemdOptions, {"--listen", "::1:8080"});
  EXPECT_EQ(ipv6.exit_code, 2) << ipv6.text;
  for (const auto& words : {std::vector<const char*>{"--threads", "0"},
                            {"--threads", "many"},
                            {"--threads"},
                            {"--rhyme-book", "tang"},
                            {"--public-url", "https://poems.example.org/"},
                            {"--drain-settle", "-1"},
                            {"--picture-threads", "0"},
                            {"--picture-cache-mb", "-5"},
                            {"--no-such-option"}}) {
    std::vector<const char*> argv{"miravel-poemd"};
    argv.insert(argv.end(), words.begin(), words.end());
    const auto parsed = ParsePoemdOptions(static_cast<int>(argv.size()), argv.data());
    const auto* answer = std::get_if<CommandLineAnswer>(&parsed);
    ASSERT_NE(answer, nullptr) << words[0];
    EXPECT_NE(answer->exit_code, 0) << words[0];
    EXPECT_NE(answer->text.find(words[0]), std::string::npos) << answer->text;
  }
}

TEST(PoemdOptions, HelpAndVersionAnswerAndExitZero) {
  const CommandLineAnswer help = Answer(ParsePoemdOptions, {"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.text.find("--listen"), std::string::npos);
  const CommandLineAnswer version = Answer(ParsePoemdOptions, {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(version.text.starts_with("miravel-poemd ")) << version.text;
}

TEST(IndexOptions, ThePackageAndTheOutputAreRequired) {
  const std::string here = std::filesystem::temp_directory_path().string();
  const auto options = Read<IndexOptions>(
      ParseIndexOptions, {"--poetry", here.c_str(), "--out", "/tmp/x.idx", "--measure-split"});
  EXPECT_EQ(options.poetry, here);
  EXPECT_EQ(options.out, "/tmp/x.idx");
  EXPECT_TRUE(options.measure_split);
  EXPECT_TRUE(options.readings.empty());

  EXPECT_NE(Answer(ParseIndexOptions, {"--out", "/tmp/x.idx"}).text.find("--poetry"),
            std::string::npos);
  EXPECT_NE(Answer(ParseIndexOptions, {"--poetry", here.c_str()}).text.find("--out"),
            std::string::npos);
  const CommandLineAnswer missing =
      Answer(ParseIndexOptions, {"--poetry", "/no/such/folder", "--out", "/tmp/x.idx"});
  EXPECT_NE(missing.exit_code, 0);
  EXPECT_NE(Answer(ParseIndexOptions,
                   {"--poetry", here.c_str(), "--out", "x", "--readings", "/no/such/file.json"})
                .exit_code,
            0);
}

TEST(MeasureOptions, WeightsAndSizesByNameForWhoeverTunes) {
  const auto tuned = Read<MeasureOptions>(
      ParseMeasureOptions, {"--index", "p.idx", "--weight", "cohesion=3.5", "--weight",
                            "rank.drama=-2", "--size", "beam=16", "--terms"});
  EXPECT_FLOAT_EQ(tuned.tuning.weights.cohesion, 3.5f);
  EXPECT_FLOAT_EQ(tuned.tuning.weights.rank[static_cast<size_t>(SourceRank::kDrama)], -2.0f);
  EXPECT_FLOAT_EQ(tuned.tuning.weights.theme, Weights{}.theme);
  EXPECT_EQ(tuned.tuning.sizes.beam, 16u);
  EXPECT_TRUE(tuned.terms);
  // A name no weight has, a value that is no number, a size of nothing:
  // refused, naming what there is.
  const CommandLineAnswer unknown =
      Answer(ParseMeasureOptions, {"--index", "p.idx", "--weight", "cohesoin=3"});
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_NE(unknown.text.find("cohesion"), std::string::npos);
  EXPECT_EQ(Answer(ParseMeasureOptions, {"--index", "p.idx", "--weight", "theme=much"}).exit_code,
            2);
  EXPECT_EQ(Answer(ParseMeasureOptions, {"--index", "p.idx", "--size", "beam=0"}).exit_code, 2);
  EXPECT_EQ(Answer(ParseMeasureOptions, {"--index", "p.idx", "--size", "beam"}).exit_code, 2);
}

TEST(MeasureOptions, BooksRequestsAndTheServiceAsked) {
  const auto all = Read<MeasureOptions>(ParseMeasureOptions, {"--index", "p.idx"});
  EXPECT_EQ(all.index, "p.idx");
  EXPECT_EQ(all.requests, 1000);
  EXPECT_EQ(all.books.size(), 3u);

  const auto one = Read<MeasureOptions>(
      ParseMeasureOptions, {"--index", "p.idx", "--rhyme-book", "xinyun", "--requests", "50",
                            "--everyday", "--discriminate", "--explain", "--show", "2"});
  EXPECT_EQ(one.books, std::vector<RhymeBook>{RhymeBook::kXinyun});
  EXPECT_EQ(one.requests, 50);
  EXPECT_TRUE(one.everyday && one.discriminate && one.explain);
  EXPECT_EQ(one.show, 2);

  // A service composes in the book it serves.
  const auto asked = Read<MeasureOptions>(ParseMeasureOptions,
                                          {"--index", "p.idx", "--service", "127.0.0.1:8080"});
  EXPECT_EQ(asked.books, std::vector<RhymeBook>{RhymeBook::kBoth});

  EXPECT_NE(Answer(ParseMeasureOptions, {}).text.find("--index"), std::string::npos);
  EXPECT_NE(Answer(ParseMeasureOptions, {"--index", "p.idx", "--rhyme-book", "tang"}).exit_code, 0);
  EXPECT_NE(Answer(ParseMeasureOptions, {"--index", "p.idx", "--requests"}).exit_code, 0);
}

TEST(ConvertOptions, FilesAndTheFolderForThem) {
  const std::string here = std::filesystem::temp_directory_path().string();
  const std::string file = here + "/miravel-convert-options-test.html";
  { std::ofstream(file) << "<p>换</p>"; }
  const auto options = Read<ConvertOptions>(ParseConvertOptions, {"--out", "d", file.c_str()});
  EXPECT_EQ(options.config, "s2t.json");
  EXPECT_EQ(options.out, "d");
  EXPECT_EQ(options.files, std::vector<std::string>{file});
  EXPECT_EQ(Read<ConvertOptions>(ParseConvertOptions,
                                 {"--config", "s2twp.json", "--out", "d", file.c_str()})
                .config,
            "s2twp.json");
  EXPECT_NE(Answer(ParseConvertOptions, {file.c_str()}).text.find("--out"), std::string::npos);
  EXPECT_NE(Answer(ParseConvertOptions, {"--out", "d"}).exit_code, 0);
  EXPECT_NE(Answer(ParseConvertOptions, {"--out", "d", "/no/such/page.html"}).exit_code, 0);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace miravel::poemd
