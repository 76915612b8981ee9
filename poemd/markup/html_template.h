// Markup (HTML pages, SVG pictures) lives in files of its own beside the
// code that fills it (page.html, pages.css, picture.svg, ...), built into
// the program by cmake/embed_files.cmake; a page is one of them filled with
// values. The templates know four forms:
//
//   {{name}}               the value `name`: text escaped (html_escape.h),
//                          markup as it stands
//   {{#name}}...{{/name}}  what stands between, when `name` has a value
//                          that is not empty
//   {{^name}}...{{/name}}  what stands between, when it has none, or ""
//   {{> file}}             the embedded file `file` in its place, taken in
//                          once when the template is read: a stylesheet or a
//                          script (.css, .js) as it stands, any other file as
//                          a template
//   {{! words}}            nothing: a comment. At the end of a line it takes
//                          the line break and the next line's indentation
//                          with it, so that markup meant as one line can be
//                          written on several
//
// Whether a value is escaped is the value's own type, not the template's:
// text cannot reach a page unescaped by a slip in the markup. A placeholder
// given no value stays as written ("{{name}}"), so that a value forgotten
// shows on the page and in tests instead of vanishing.
//
// A template is read once and then only rendered: rendering is
// concatenation. Thread-safe.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/status.h"

namespace miravel::poemd {

// The files a folder built into the program (cmake/embed_files.cmake's
// LOOKUP function): the bytes of the file `name`, or nullopt.
using EmbeddedFiles = std::optional<std::string_view> (*)(std::string_view name);

// The values a template is filled with. Names are the templates' own and
// must outlive the values (string literals, in practice).
class PageValues {
 public:
  // Text, to be escaped.
  PageValues& Text(std::string_view name, std::string text);
  // Markup: another template rendered, or HTML made safe by the caller.
  PageValues& Html(std::string_view name, std::string markup);
  // A switch for a section: present and true, or absent.
  PageValues& Flag(std::string_view name, bool on);

  struct Value {
    std::string_view name;
    std::string content;
    bool markup = false;
  };
  // nullptr when `name` has no value.
  const Value* Find(std::string_view name) const;

 private:
  std::vector<Value> values_;
};

class HtmlTemplate {
 public:
  // Reads `text`, taking in the files `{{> file}}` names from `files`.
  // InvalidArgument, saying where, for a section left open or closed
  // without opening, a placeholder not closed, or a file not in `files`.
  static StatusOr<HtmlTemplate> Parse(std::string_view text, EmbeddedFiles files);
  // The file `file` of `files` as a template, read on first use and kept.
  // REQUIRES: the file is there and reads (aborts otherwise: the files are
  // part of the program, and a test reads each of them).
  static const HtmlTemplate& Named(std::string_view file, EmbeddedFiles files);

  std::string Render(const PageValues& values) const;

  struct Segment;

 private:
  explicit HtmlTemplate(std::shared_ptr<const std::vector<Segment>> segments)
      : segments_(std::move(segments)) {}

  std::shared_ptr<const std::vector<Segment>> segments_;
};

}  // namespace miravel::poemd
