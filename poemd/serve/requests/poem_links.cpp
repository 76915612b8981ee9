#include "poemd/serve/requests/poem_links.h"

#include <algorithm>
#include <cctype>

#include "poemd/http/form_body.h"
#include "poemd/serve/requests/short_address.h"
#include "poemd/serve/requests/source_address.h"

namespace miravel::poemd {
namespace {

// "?a&b", "?a", or nothing.
std::string Query(std::initializer_list<std::string> parts) {
  std::string query;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    query += (query.empty() ? "?" : "&") + part;
  }
  return query;
}

std::string ScriptPart(Script script) {
  return script == Script::kTraditional ? "script=traditional" : "";
}

// The query of an own address, `last` after what it names.
std::string OwnQuery(const OwnPoem& own, std::string last = {}) {
  return Query({own.lines.empty() ? "" : "lines=" + own.lines,
                own.subject ? "subject=" + std::to_string(*own.subject) : "",
                ScriptPart(own.script), own.pinyin ? "pinyin=1" : "", std::move(last)});
}

}  // namespace

OwnPoem OwnPoem::Seeded(const BrowserRequest& request, uint64_t seed) {
  return {ShortPoemPath(request.form, seed), {}, request.subject, request.script, request.pinyin};
}

std::string OwnPoem::Target() const { return path + OwnQuery(*this); }

std::string OwnPoem::Picture(std::string_view extension, size_t page) const {
  return path + "." + std::string(extension) +
         OwnQuery(*this, page == 0 ? "" : "page=" + std::to_string(page + 1));
}

std::string PoemLines(const Poem& poem) {
  std::string lines;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    if (!poem.lines[i].has_source) return {};
    if (i > 0) lines += '.';
    if (poem.lines[i].made) lines += 'm';
    lines += std::to_string(poem.lines[i].corpus_line);
  }
  return lines;
}

std::string BaseAddress(const HttpRequest& request, const std::string& public_url) {
  if (!public_url.empty()) return public_url;
  // Anything else in the header is not put into pages.
  const bool plain = !request.host.empty() && request.host.size() <= 255 &&
                     std::all_of(request.host.begin(), request.host.end(), [](char c) {
                       return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' ||
                              c == ':' || c == '[' || c == ']';
                     });
  return "http://" + (plain ? request.host : std::string("localhost"));
}

PoemLinks LinksOf(const OwnPoem& own, const BrowserRequest& request, const Poem& poem,
                  const std::string& base, size_t pages, int width, int height,
                  const std::vector<SubjectId>& subjects) {
  PoemLinks links;
  links.page = base + own.Target();
  // The swap's number goes last: the link adds it.
  links.swap = own.path + OwnQuery(own, "swap=");
  for (size_t page = 0; page < pages; ++page) {
    links.pngs.push_back(base + own.Picture("png", page));
    links.svgs.push_back(base + own.Picture("svg", page));
  }
  links.width = width;
  links.height = height;
  links.edit = FormAddress(request.form);
  links.again = std::string(links.edit).replace(0, 1, "/poem");
  OwnPoem other = own;
  other.script = Script::kSimplified;
  links.simplified = other.Target();
  other.script = Script::kTraditional;
  links.traditional = other.Target();
  other.script = own.script;
  other.pinyin = !own.pinyin;
  links.pinyin = other.Target();
  // Another subject's poem is another poem: of the same seed, its lines its own.
  for (const SubjectId subject : subjects) {
    OwnPoem about = own;
    about.lines.clear();
    about.subject = subject;
    links.subjects.push_back({subject, about.Target()});
  }
  const std::string from = "from=" + PercentEncode(own.Target());
  for (const ComposedLine& line : poem.lines) {
    links.sources.push_back(line.has_source
                                ? SourcePath({request.order->length, line.corpus_line}) +
                                      Query({ScriptPart(own.script), from})
                                : "");
  }
  return links;
}

}  // namespace miravel::poemd
