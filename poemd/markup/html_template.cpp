#include "poemd/markup/html_template.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>

#include "poemd/markup/html_escape.h"

namespace miravel::poemd {

PageValues& PageValues::Text(std::string_view name, std::string text) {
  values_.push_back({name, std::move(text), false});
  return *this;
}

PageValues& PageValues::Html(std::string_view name, std::string markup) {
  values_.push_back({name, std::move(markup), true});
  return *this;
}

PageValues& PageValues::Flag(std::string_view name, bool on) {
  if (on) values_.push_back({name, "1", true});
  return *this;
}

const PageValues::Value* PageValues::Find(std::string_view name) const {
  for (const Value& value : values_) {
    if (value.name == name) return &value;
  }
  return nullptr;
}

struct HtmlTemplate::Segment {
  enum Kind { kLiteral, kValue, kSection, kInverted };
  Kind kind = kLiteral;
  std::string text;  // the literal, or the value's name
  std::vector<Segment> inside;
};

namespace {

using Segment = HtmlTemplate::Segment;

// Files taken in within files: deeper than this is a loop.
constexpr int kMaxIncludeDepth = 8;

class Parser {
 public:
  explicit Parser(EmbeddedFiles files) : files_(files) {}

  // Appends `text`'s segments to the innermost open section, or the top.
  Status Read(std::string_view text, int depth) {
    if (depth > kMaxIncludeDepth) return Status::InvalidArgument("files take each other in");
    size_t at = 0;
    while (at < text.size()) {
      const size_t open = text.find("{{", at);
      if (open == std::string_view::npos) {
        Literal(text.substr(at));
        break;
      }
      Literal(text.substr(at, open - at));
      const size_t close = text.find("}}", open + 2);
      if (close == std::string_view::npos) {
        return Status::InvalidArgument("a placeholder is not closed at byte " +
                                       std::to_string(open));
      }
      const std::string_view tag = text.substr(open + 2, close - open - 2);
      at = close + 2;
      if (tag.starts_with('!')) {
        // A comment; at a line's end it takes the line break and the next
        // line's indentation with it.
        if (at < text.size() && text[at] == '\n') {
          ++at;
          while (at < text.size() && text[at] == ' ') ++at;
        }
        continue;
      }
      if (Status read = Tag(tag, depth); !read.ok()) {
        return read.Prefixed("at byte " + std::to_string(open));
      }
    }
    return Status::Ok();
  }

  StatusOr<std::vector<Segment>> Finish() {
    if (open_.size() > 1) {
      return Status::InvalidArgument("the section " + open_.back()->text + " is not closed");
    }
    return std::move(top_);
  }

 private:
  std::vector<Segment>& Here() { return open_.size() == 1 ? top_ : open_.back()->inside; }

  void Literal(std::string_view text) {
    if (text.empty()) return;
    std::vector<Segment>& here = Here();
    if (!here.empty() && here.back().kind == Segment::kLiteral) {
      here.back().text += text;
    } else {
      here.push_back({Segment::kLiteral, std::string(text), {}});
    }
  }

  static std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
  }

  Status Tag(std::string_view tag, int depth) {
    if (tag.empty()) return Status::InvalidArgument("an empty placeholder");
    const char sign = tag.front();
    const std::string_view name =
        Trimmed(sign == '#' || sign == '^' || sign == '/' || sign == '>' ? tag.substr(1) : tag);
    if (name.empty()) return Status::InvalidArgument("a placeholder without a name");
    switch (sign) {
      case '>': {
        const std::optional<std::string_view> file = files_ ? files_(name) : std::nullopt;
        if (!file) return Status::InvalidArgument("no file " + std::string(name) + " is embedded");
        // A stylesheet or a script stands as it is; markup is a template.
        if (name.ends_with(".css") || name.ends_with(".js")) {
          Literal(*file);
          return Status::Ok();
        }
        return Read(*file, depth + 1).Prefixed(name);
      }
      case '#':
      case '^': {
        std::vector<Segment>& here = Here();
        here.push_back(
            {sign == '#' ? Segment::kSection : Segment::kInverted, std::string(name), {}});
        open_.push_back(&here.back());
        return Status::Ok();
      }
      case '/':
        if (open_.size() == 1 || open_.back()->text != name) {
          return Status::InvalidArgument("the section " + std::string(name) + " closes unopened");
        }
        open_.pop_back();
        return Status::Ok();
      default:
        Here().push_back({Segment::kValue, std::string(name), {}});
        return Status::Ok();
    }
  }

  const EmbeddedFiles files_;
  std::vector<Segment> top_;
  // The sections open, innermost last; the first entry stands for the top.
  // Pointers stay valid: a section's own list only grows after it closes
  // the sections inside it.
  std::vector<Segment*> open_{nullptr};
};

void RenderInto(const std::vector<Segment>& segments, const PageValues& values, std::string& out) {
  for (const Segment& segment : segments) {
    switch (segment.kind) {
      case Segment::kLiteral:
        out += segment.text;
        break;
      case Segment::kValue:
        if (const PageValues::Value* value = values.Find(segment.text)) {
          out += value->markup ? value->content : EscapeHtml(value->content);
        } else {
          out += "{{" + segment.text + "}}";
        }
        break;
      case Segment::kSection:
      case Segment::kInverted: {
        const PageValues::Value* value = values.Find(segment.text);
        const bool given = value != nullptr && !value->content.empty();
        if (given == (segment.kind == Segment::kSection)) RenderInto(segment.inside, values, out);
        break;
      }
    }
  }
}

}  // namespace

StatusOr<HtmlTemplate> HtmlTemplate::Parse(std::string_view text, EmbeddedFiles files) {
  Parser parser(files);
  if (Status read = parser.Read(text, 0); !read.ok()) return read;
  StatusOr<std::vector<Segment>> segments = parser.Finish();
  if (!segments.ok()) return segments.status();
  return HtmlTemplate(std::make_shared<const std::vector<Segment>>(std::move(*segments)));
}

const HtmlTemplate& HtmlTemplate::Named(std::string_view file, EmbeddedFiles files) {
  static std::mutex mutex;
  // By the files' lookup, then the name: two folders may each have a page.html.
  static std::map<std::pair<uintptr_t, std::string>, HtmlTemplate> read;
  std::lock_guard lock(mutex);
  std::pair<uintptr_t, std::string> key(reinterpret_cast<uintptr_t>(files), file);
  if (const auto it = read.find(key); it != read.end()) return it->second;
  const std::optional<std::string_view> text = files(file);
  StatusOr<HtmlTemplate> parsed =
      text ? Parse(*text, files) : StatusOr<HtmlTemplate>(Status::NotFound("not embedded"));
  if (!parsed.ok()) {
    std::fprintf(stderr, "template %.*s: %s\n", static_cast<int>(file.size()), file.data(),
                 parsed.status().ToString().c_str());
    std::abort();
  }
  return read.emplace(std::move(key), std::move(*parsed)).first->second;
}

std::string HtmlTemplate::Render(const PageValues& values) const {
  std::string out;
  RenderInto(*segments_, values, out);
  return out;
}

}  // namespace miravel::poemd
