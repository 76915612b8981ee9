// What each request costs in compositions, counted through the service's
// routes: a poem is composed once a request that shows it, and the poem its
// seed alone gives only where the address must say whether it names lines.
#include <gtest/gtest.h>

#include <atomic>

#include "poemd/http/form_body.h"
#include "poemd/serve/browser_testing.h"
#include "poemd/serve/poem_service.h"

namespace miravel::poemd {
namespace {

// The real composer, counting the poems it composes.
class CountingPoems : public PoemMaker {
 public:
  Poem Compose(const PoemOrder& order, uint64_t seed) const override {
    ++composed_;
    return real_.Compose(order, seed);
  }
  Recomposed Recompose(const PoemOrder& order, const Recomposing& asked) const override {
    Recomposed recomposed = real_.Recompose(order, asked);
    composed_ += recomposed.seeded ? 2 : 1;
    return recomposed;
  }
  // The poems composed since the last call.
  int Taken() const { return composed_.exchange(0); }

 private:
  const IndexPoemMaker real_{Corpus()};
  mutable std::atomic<int> composed_{0};
};

class CompositionsTest : public ::testing::Test {
 protected:
  HttpReply Get(const std::string& target) { return service_.Handle(poemd::Get(target)); }

  CountingPoems poems_;
  const PoemService service_{Corpus(), poems_, {.seed = 5}};
  const std::string query_ = "xing=" + PercentEncode("春风花月") + "&gender=5&num=cangtou";
};

TEST_F(CompositionsTest, AFreshPoemIsComposedOnceInAll) {
  const HttpReply moved = Get("/poem?" + query_);
  ASSERT_EQ(moved.status, 303);
  EXPECT_EQ(poems_.Taken(), 0);  // the seed alone gives it: its address needs no poem
  EXPECT_EQ(Get(Header(moved, "Location")).status, 200);
  EXPECT_EQ(poems_.Taken(), 1);
}

TEST_F(CompositionsTest, ASwapComposesEachPoemItNeedsOnce) {
  const std::string own = Header(Get("/poem?" + query_), "Location");
  const HttpReply swapped = Get(own + "?swap=2");
  ASSERT_EQ(swapped.status, 303);
  EXPECT_EQ(poems_.Taken(), 2);  // the seeded poem, for its lines and rhyme, and the swapped one
  const std::string named = Header(swapped, "Location");
  ASSERT_NE(named.find("?lines="), std::string::npos) << named;
  EXPECT_EQ(Get(named).status, 200);
  EXPECT_EQ(poems_.Taken(), 2);  // the named poem, and the seeded one to tell them apart
  // Asked for from the form with a swap: the same two, no more.
  const std::string seed = own.substr(own.rfind('/') + 1);
  EXPECT_EQ(Get("/poem?" + query_ + "&seed=" + seed + "&swap=2").status, 303);
  EXPECT_EQ(poems_.Taken(), 2);
}

TEST_F(CompositionsTest, TheClientsPoemAndAPictureAreComposedOnce) {
  EXPECT_EQ(service_.Compose("xing=%B4%BA%B7%E7&gender=5&num=cangtou&limit=100").status, 200);
  EXPECT_EQ(poems_.Taken(), 1);
  const std::string own = Header(Get("/poem?" + query_), "Location");
  EXPECT_EQ(Get(own + ".svg").status, 200);
  EXPECT_EQ(poems_.Taken(), 1);
  EXPECT_EQ(Get(own + ".svg").status, 200);  // kept
  EXPECT_EQ(poems_.Taken(), 0);
}

TEST_F(CompositionsTest, RefusalsComposeNothing) {
  EXPECT_EQ(Get("/poem?xing=abc").status, 400);
  EXPECT_EQ(service_.Compose("xing=%B4&gender=5&num=cangtou&limit=100").status, 400);
  EXPECT_EQ(Get("/").status, 200);
  EXPECT_EQ(Get("/source/5/0").status, 200);
  EXPECT_EQ(poems_.Taken(), 0);
}

}  // namespace
}  // namespace miravel::poemd
