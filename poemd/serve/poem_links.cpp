#include "poemd/serve/poem_links.h"

#include "poemd/http/form_body.h"
#include "poemd/serve/source_address.h"

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

}  // namespace

std::string OwnPoem::Target() const {
  return path + Query({lines.empty() ? "" : "lines=" + lines, ScriptPart(script)});
}

std::string OwnPoem::Picture(std::string_view extension, size_t page) const {
  return path + "." + std::string(extension) +
         Query({lines.empty() ? "" : "lines=" + lines, ScriptPart(script),
                page == 0 ? "" : "page=" + std::to_string(page + 1)});
}

PoemLinks LinksOf(const OwnPoem& own, const BrowserRequest& request, const Poem& poem,
                  const std::string& base, size_t pages, int width, int height) {
  PoemLinks links;
  links.page = base + own.Target();
  // The swap's number goes last: the link adds it.
  const std::string query =
      Query({own.lines.empty() ? "" : "lines=" + own.lines, ScriptPart(own.script), "swap="});
  links.swap = own.path + query;
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
