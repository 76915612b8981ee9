// What the tests of the browser's routes share: requests, what a page or a
// picture says, and a service over the made-up corpus that follows its own
// redirects.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "poemd/http/http_types.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/poem_service.h"

namespace miravel::poemd {

// testing::MadeUpCorpus, made once.
const CorpusIndex& Corpus();

HttpRequest Get(const std::string& target);
// The reply's header `name`, or "".
std::string Header(const HttpReply& reply, const std::string& name);
// The poem's lines on a page, tags (and readings) taken out.
std::vector<std::string> Lines(const std::string& page);
// Each line's readings over its characters, space between: "chūn kàn",
// with "*" and the reason after one the metre chose ("kān*此处读平声"); ""
// for a line shown without them.
std::vector<std::string> Readings(const std::string& page);
// What a page says in one of its <meta> tags.
std::string MetaContent(const std::string& page, const std::string& name);
// The path and query of an absolute address on this service.
std::string Target(const std::string& absolute, const std::string& base);
// The large characters of an SVG picture, column by column from the right.
std::vector<std::string> PictureLines(const std::string& svg);

// Follows `service`'s redirect to the poem's own address: the address and
// the page there.
std::pair<std::string, HttpReply> Follow(const PoemService& service, const std::string& target);

class BrowserTest : public ::testing::Test {
 protected:
  // Follows the service's redirect to the poem's own address.
  std::pair<std::string, HttpReply> Follow(const std::string& target);

  PoemService service_{Corpus(), {.seed = 5}};
};

}  // namespace miravel::poemd
