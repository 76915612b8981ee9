// Poems for fixed seeds, through both routes, pinned in
// tests/testdata/pinned_poems.txt: the client's POST in every mode and rhyme
// book, the browser's form, its short address and swaps. A change that is
// meant to leave poems as they are (a new shape for the composer, a faster
// search) shows here as the first poem that moved. Where poems are meant to
// change, run the test with MIRAVEL_PIN_POEMS set to the file's path: it
// writes the file anew, and its diff shows what changed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "composer/control_names.h"
#include "composer/result_extraction.h"
#include "composer/testing/fake_toolkit.h"
#include "poemd/serve/poem_service.h"
#include "poemd/testing/testing_corpus.h"
#include "text/gbk_unicode.h"
#include "text/utf.h"

namespace miravel {
namespace {

const poemd::CorpusIndex& Corpus() {
  static const poemd::CorpusIndex index = poemd::testing::VariedCorpus();
  return index;
}

// Wishes, seasons, names, characters the corpus lacks at some places, and
// eight characters for a 律诗 with middle couplets.
const std::u16string kPhrases[] = {u"春风花月", u"生日快乐",         u"福寿康宁",
                                   u"送君远行", u"花好月圆年年有余", u"李白",
                                   u"山水清明", u"春夏秋冬山水云天", u"千秋万岁",
                                   u"明月",     u"江山如画",         u"生日快乐长命百岁"};
constexpr uint64_t kRequestsPerMode = 12;

std::string Percent(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
  return out;
}

std::string Joined(const std::vector<std::u16string>& lines) {
  std::string joined;
  for (const std::u16string& line : lines)
    joined += (joined.empty() ? "" : "/") + Utf16ToUtf8(line);
  return joined;
}

// The lines the client's extraction takes from a reply of the client route.
std::string ClientPoem(const poemd::HttpReply& reply, const char* mode) {
  if (reply.status != 200) return "status " + std::to_string(reply.status);
  FakeToolkit toolkit;
  RegexObject regex;
  ExtractPoems(reply.body, mode, regex, toolkit);
  const std::u16string box = GbkToUtf16(toolkit.edits[kResultEdit]);
  std::vector<std::u16string> lines;
  size_t from = 0;
  for (size_t end; (end = box.find(u"\r\n", from)) != std::u16string::npos; from = end + 2) {
    lines.push_back(box.substr(from, end - from));
  }
  return Joined(lines);
}

// The poem a browser's page shows, as its preview text says it.
std::string PagePoem(const poemd::HttpReply& reply) {
  if (reply.status != 200) return "status " + std::to_string(reply.status);
  static constexpr std::string_view kMeta = "<meta name=\"description\" content=\"";
  const size_t at = reply.body.find(kMeta);
  if (at == std::string::npos) return "no poem";
  const size_t from = at + kMeta.size();
  return reply.body.substr(from, reply.body.find('"', from) - from);
}

std::string Location(const poemd::HttpReply& reply) {
  for (const auto& [name, value] : reply.headers) {
    if (name == "Location") return value;
  }
  return {};
}

poemd::HttpReply Get(const poemd::PoemService& service, std::string target) {
  poemd::HttpRequest request;
  request.method = "GET";
  request.target = std::move(target);
  request.host = "localhost";
  return service.Handle(request);
}

struct Mode {
  const char* num;
  const char* gender;
  const char* limit;
};

std::vector<Mode> Modes() {
  std::vector<Mode> modes;
  for (const char* num : {"cangtou", "cangzhong", "cangwei"}) {
    for (const char* gender : {"5", "7"}) {
      for (const char* limit : {"100", "200"}) modes.push_back({num, gender, limit});
    }
  }
  return modes;
}

// One line a poem: how it was asked for, then its lines.
std::string ComposeAll() {
  std::ostringstream out;
  for (const poemd::RhymeBook book :
       {poemd::RhymeBook::kBoth, poemd::RhymeBook::kPingshui, poemd::RhymeBook::kXinyun}) {
    const std::string book_key(poemd::RhymeBookKey(book));
    const poemd::PoemService service(Corpus(), {.seed = 7, .book = book});
    for (const Mode& mode : Modes()) {
      const std::string form =
          std::string("&gender=") + mode.gender + "&num=" + mode.num + "&limit=" + mode.limit;
      for (uint64_t k = 0; k < kRequestsPerMode; ++k) {
        const std::u16string& phrase = kPhrases[k % std::size(kPhrases)];
        const std::string asked =
            book_key + form + " " + Utf16ToUtf8(phrase) + " " + std::to_string(k);
        const std::string body = "xing=" + Percent(Utf16ToGbk(phrase)) + form +
                                 "&type_str=&classid=" + std::to_string(k);
        out << "client " << asked << ": " << ClientPoem(service.Compose(body), mode.num) << "\n";

        std::string query = "/poem?xing=" + Percent(Utf16ToUtf8(phrase)) + form +
                            "&book=" + book_key + "&seed=" + std::to_string(1000 + k);
        if (k % 3 == 1) query += "&theme=" + Percent("秋夜");
        if (k % 4 == 2) query += "&occasion=farewell";
        const std::string own = Location(Get(service, query));
        out << "page " << asked << ": " << PagePoem(Get(service, own)) << "\n";
        if (k % 4 != 0) continue;
        // A swap settles at an address naming its lines; it is swapped again there.
        std::string at = own;
        for (const int line : {1, 3}) {
          at = Location(Get(service, at + (at.find('?') == std::string::npos ? "?" : "&") +
                                         "swap=" + std::to_string(line)));
          out << "swap " << line << " " << asked << ": " << PagePoem(Get(service, at)) << "\n";
        }
      }
    }
  }
  return out.str();
}

std::string Pinned() {
  std::ifstream in(MIRAVEL_PINNED_POEMS);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(PinnedPoems, FixedSeedsGiveThePinnedPoemsThroughBothRoutes) {
  const std::string now = ComposeAll();
  if (const char* path = std::getenv("MIRAVEL_PIN_POEMS")) {
    std::ofstream(path) << now;
    GTEST_SKIP() << "wrote the poems to " << path;
  }
  const std::string pinned = Pinned();
  ASSERT_FALSE(pinned.empty()) << "no pinned poems at " << MIRAVEL_PINNED_POEMS;
  std::istringstream a(pinned), b(now);
  int moved = 0;
  std::string first;
  for (std::string was, is; std::getline(a, was) && std::getline(b, is);) {
    if (was == is) continue;
    if (moved++ == 0) first = "was: " + was + "\nis:  " + is;
  }
  EXPECT_EQ(moved, 0) << moved << " poems moved; the first:\n" << first;
  EXPECT_EQ(std::count(pinned.begin(), pinned.end(), '\n'),
            std::count(now.begin(), now.end(), '\n'));
}

}  // namespace
}  // namespace miravel
