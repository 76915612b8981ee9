#include "poemd/serve/browser_testing.h"

#include <functional>
#include <map>
#include <regex>

#include "poemd/testing/testing_corpus.h"

namespace miravel::poemd {

const CorpusIndex& Corpus() {
  static const CorpusIndex index = testing::MadeUpCorpus();
  return index;
}

HttpRequest Get(const std::string& target) {
  HttpRequest request;
  request.method = "GET";
  request.target = target;
  return request;
}

std::string Header(const HttpReply& reply, const std::string& name) {
  for (const auto& [key, value] : reply.headers) {
    if (key == name) return value;
  }
  return "";
}

namespace {

// Each line's markup on a page.
std::vector<std::string> LineMarkup(const std::string& page) {
  std::vector<std::string> lines;
  const std::regex text("<span class=\"text\">(.*?)</span>");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), text); it != std::sregex_iterator();
       ++it) {
    lines.push_back((*it)[1].str());
  }
  return lines;
}

}  // namespace

std::vector<std::string> Lines(const std::string& page) {
  std::vector<std::string> lines;
  for (const std::string& line : LineMarkup(page)) {
    const std::string text = std::regex_replace(line, std::regex("<rt[^>]*>[^<]*</rt>"), "");
    lines.push_back(std::regex_replace(text, std::regex("<[^>]*>"), ""));
  }
  return lines;
}

std::vector<std::string> Readings(const std::string& page) {
  std::vector<std::string> readings;
  const std::regex ruby("<ruby( class=\"metre\" title=\"([^\"]*)\")?>[^<]*<rt[^>]*>([^<]*)</rt>");
  for (const std::string& line : LineMarkup(page)) {
    std::string read;
    for (auto it = std::sregex_iterator(line.begin(), line.end(), ruby);
         it != std::sregex_iterator(); ++it) {
      if (!read.empty()) read += ' ';
      read += (*it)[3].str();
      if ((*it)[1].matched) read += "*" + (*it)[2].str();
    }
    readings.push_back(read);
  }
  return readings;
}

std::string MetaContent(const std::string& page, const std::string& name) {
  std::smatch m;
  const std::regex meta("<meta (?:property|name)=\"" + name + "\" content=\"([^\"]*)\">");
  return std::regex_search(page, m, meta) ? m[1].str() : "";
}

std::string Target(const std::string& absolute, const std::string& base) {
  EXPECT_TRUE(absolute.starts_with(base)) << absolute;
  return absolute.substr(base.size());
}

std::vector<std::string> PictureLines(const std::string& svg) {
  std::map<double, std::map<double, std::string>, std::greater<>> columns;
  const std::regex text(
      "<text x=\"([0-9.]+)\" y=\"([0-9.]+)\" font-size=\"60.0\"[^>]*>([^<]+)</text>");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
       ++it) {
    columns[std::stod((*it)[1])][std::stod((*it)[2])] = (*it)[3];
  }
  std::vector<std::string> lines;
  for (const auto& [x, column] : columns) {
    std::string line;
    for (const auto& [y, c] : column) line += c;
    lines.push_back(line);
  }
  return lines;
}

std::pair<std::string, HttpReply> Follow(const PoemService& service, const std::string& target) {
  HttpReply reply = service.Handle(Get(target));
  EXPECT_EQ(reply.status, 303) << reply.body;
  const std::string address = Header(reply, "Location");
  return {address, service.Handle(Get(address))};
}

std::pair<std::string, HttpReply> BrowserTest::Follow(const std::string& target) {
  return poemd::Follow(service_, target);
}

}  // namespace miravel::poemd
