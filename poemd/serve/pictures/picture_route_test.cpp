// Pictures through the service: drawn off the caller's thread, kept and
// named by their canonical address, refused at once past the pool's bounds,
// and the refusals worded for whoever asks.
#include "poemd/serve/pictures/picture_route.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "poemd/http/form_body.h"
#include "poemd/testing/testing_corpus.h"

namespace miravel::poemd {
namespace {

const CorpusIndex& Corpus() {
  static const CorpusIndex index = testing::MadeUpCorpus();
  return index;
}

const PoemMaker& Poems() {
  static const IndexPoemMaker maker(Corpus());
  return maker;
}

std::string Header(const HttpReply& reply, const std::string& name) {
  for (const auto& [key, value] : reply.headers) {
    if (key == name) return value;
  }
  return "";
}

// The replies a deferring route gave later, gathered.
class Replies {
 public:
  Defer Deferral() {
    return [this] {
      return [this](HttpReply reply) {
        std::lock_guard lock(mutex_);
        replies_.push_back(std::move(reply));
        changed_.notify_all();
      };
    };
  }
  std::vector<HttpReply> WaitFor(size_t n) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(10), [&] { return replies_.size() >= n; });
    return replies_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<HttpReply> replies_;
};

HttpRequest Picture(const std::string& seed, const std::string& peer = "192.0.2.1",
                    const std::string& accept = "image/png,*/*") {
  HttpRequest request;
  request.method = "GET";
  request.target =
      "/" + PercentEncode("春风") + "/" + PercentEncode("五言藏头") + "/" + seed + ".png";
  request.peer = peer;
  request.accept = accept;
  return request;
}

ShortAddress AddressOf(const HttpRequest& request) { return *ReadShortAddress(request.Path()); }

// The answer at once, drawn on this thread when it must be.
HttpReply Drawn(const PictureRoute& route, const HttpRequest& request) {
  std::optional<HttpReply> reply = route.Serve(request, AddressOf(request), nullptr);
  EXPECT_TRUE(reply.has_value());
  return reply ? std::move(*reply) : HttpReply{};
}

TEST(PictureRoute, AKeptPictureIsTheDrawnOneByteForByteAndNamedByItsAddress) {
  const PictureRoute route(Corpus(), Poems(), RhymeBook::kBoth, {});
  const HttpRequest asked = Picture("k3x9z");
  const HttpReply drawn = Drawn(route, asked);
  ASSERT_EQ(drawn.status, 200);
  EXPECT_EQ(drawn.body.substr(0, 4), "\x89PNG");
  const HttpReply kept = Drawn(route, asked);
  EXPECT_EQ(kept.body, drawn.body);
  EXPECT_NE(kept.log_note.find("(kept)"), std::string::npos);
  EXPECT_EQ(Header(kept, "ETag"), Header(drawn, "ETag"));
  // What another service, keeping nothing, draws.
  const PictureRoute fresh(Corpus(), Poems(), RhymeBook::kBoth, {.cache_bytes = 0});
  EXPECT_EQ(Drawn(fresh, asked).body, drawn.body);
  EXPECT_EQ(fresh.Cache().Count(), 0u);
  // Another script, another picture, another name.
  HttpRequest traditional = asked;
  traditional.target += "?script=traditional";
  const HttpReply other = Drawn(route, traditional);
  EXPECT_NE(Header(other, "ETag"), Header(drawn, "ETag"));
  EXPECT_EQ(route.Cache().Count(), 2u);
}

TEST(PictureRoute, AMatchingIfNoneMatchIs304WithoutADrawing) {
  const PictureRoute route(Corpus(), Poems(), RhymeBook::kBoth, {});
  HttpRequest asked = Picture("k3x9z");
  const std::string etag = Header(Drawn(route, asked), "ETag");
  ASSERT_FALSE(etag.empty());
  const PictureRoute other(Corpus(), Poems(), RhymeBook::kBoth, {});  // nothing kept, nothing drawn
  for (const std::string& tag : {etag, "W/" + etag, "\"x\", " + etag, std::string("*")}) {
    asked.if_none_match = tag;
    Replies replies;
    const std::optional<HttpReply> reply = other.Serve(asked, AddressOf(asked), replies.Deferral());
    ASSERT_TRUE(reply.has_value()) << tag;
    EXPECT_EQ(reply->status, 304) << tag;
    EXPECT_EQ(reply->body, "");
    EXPECT_EQ(Header(*reply, "ETag"), etag);
  }
  EXPECT_EQ(other.Cache().Count(), 0u);
  asked.if_none_match = "\"not-it\"";
  EXPECT_EQ(Drawn(other, asked).status, 200);
}

TEST(PictureRoute, PicturesAreDrawnOnThePoolAndAnsweredFromThere) {
  const PictureRoute route(Corpus(), Poems(), RhymeBook::kBoth, {});
  Replies replies;
  const HttpRequest asked = Picture("7");
  EXPECT_FALSE(route.Serve(asked, AddressOf(asked), replies.Deferral()).has_value());
  const std::vector<HttpReply> got = replies.WaitFor(1);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].status, 200);
  EXPECT_EQ(got[0].content_type, "image/png");
  // Asked again: kept, answered at once.
  const std::optional<HttpReply> again = route.Serve(asked, AddressOf(asked), replies.Deferral());
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->body, got[0].body);
}

// A picture takes milliseconds to draw; the asks below come within
// microseconds of each other, so the first are still being drawn.
TEST(PictureRoute, AFourthRenderFromOneAddressIs429) {
  const PictureRoute route(Corpus(), Poems(), RhymeBook::kBoth,
                           {.pool = {.threads = 1, .queue = 16}});
  Replies replies;
  std::vector<std::optional<HttpReply>> now;
  for (const std::string seed : {"1", "2", "3", "4"}) {
    const HttpRequest asked = Picture(seed);
    now.push_back(route.Serve(asked, AddressOf(asked), replies.Deferral()));
  }
  EXPECT_FALSE(now[0] || now[1] || now[2]);
  ASSERT_TRUE(now[3].has_value());
  EXPECT_EQ(now[3]->status, 429);
  EXPECT_EQ(Header(*now[3], "Retry-After"), std::to_string(kPictureRetrySeconds));
  // Another address is not held back by this one.
  const HttpRequest other = Picture("5", "192.0.2.2");
  EXPECT_FALSE(route.Serve(other, AddressOf(other), replies.Deferral()).has_value());
  for (const HttpReply& reply : replies.WaitFor(4)) EXPECT_EQ(reply.status, 200);
}

TEST(PictureRoute, AFullQueueIs503WithRetryAfterInChineseForABrowser) {
  const PictureRoute route(Corpus(), Poems(), RhymeBook::kBoth,
                           {.pool = {.threads = 1, .queue = 1, .per_address = 0}});
  Replies replies;
  std::vector<HttpReply> refused;
  for (int seed = 1; seed <= 6; ++seed) {
    const HttpRequest asked =
        Picture(std::to_string(seed), "192.0.2.1", seed % 2 ? "text/html,*/*" : "*/*");
    if (auto now = route.Serve(asked, AddressOf(asked), replies.Deferral())) {
      refused.push_back(*now);
    }
  }
  ASSERT_GE(refused.size(), 1u);
  for (const HttpReply& reply : refused) {
    EXPECT_EQ(reply.status, 503);
    EXPECT_EQ(Header(reply, "Retry-After"), std::to_string(kPictureRetrySeconds));
    if (reply.content_type.starts_with("text/html")) {
      EXPECT_NE(reply.body.find("<h1 class=\"heading\">正忙</h1>"), std::string::npos);
    } else {
      EXPECT_TRUE(reply.body.starts_with("503 Service Unavailable: ")) << reply.body;
    }
  }
  replies.WaitFor(6 - refused.size());
}

TEST(PictureCache, HoldsNoMoreThanItsBytesAndKeepsWhatWasUsedLast) {
  const auto picture = [](size_t bytes) {
    return std::make_shared<CachedPicture>(
        CachedPicture{"image/png", std::string(bytes, 'p'), "", ""});
  };
  const size_t each = 1000 + 2 * 1 + std::string("image/png").size() + PictureCache::kEntryCost;
  PictureCache cache(3 * each);
  cache.Insert("a", picture(1000));
  cache.Insert("b", picture(1000));
  cache.Insert("c", picture(1000));
  EXPECT_EQ(cache.Bytes(), 3 * each);
  ASSERT_NE(cache.Find("a"), nullptr);  // a is now the last used
  cache.Insert("d", picture(1000));     // b goes
  EXPECT_EQ(cache.Find("b"), nullptr);
  EXPECT_NE(cache.Find("a"), nullptr);
  EXPECT_LE(cache.Bytes(), 3 * each);
  cache.Insert("e", picture(10 * each));  // bigger than the whole: not kept
  EXPECT_EQ(cache.Find("e"), nullptr);
  EXPECT_EQ(cache.Count(), 3u);
  cache.Insert("a", picture(10));  // replaced, not counted twice
  EXPECT_EQ(cache.Count(), 3u);
  EXPECT_LT(cache.Bytes(), 3 * each);
}

}  // namespace
}  // namespace miravel::poemd
