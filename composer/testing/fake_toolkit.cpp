#include "composer/testing/fake_toolkit.h"

#include "composer/control_names.h"
#include "composer/gbk_literal.h"

namespace miravel {

FakeToolkit::FakeToolkit() {
  combos[kFormCombo].items = {Gbk("五言绝句"), Gbk("七言律诗")};
  combos[kPlaceCombo].items = {Gbk("藏头"), Gbk("藏中"), Gbk("藏尾")};
  combos[kRhymeCombo].items = {Gbk("两句一押"), Gbk("双句押韵"), Gbk("一三四押")};
  edits[kInputEdit] = "";
  edits[kResultEdit] = "";
  buttons[kComposeButton].caption = Gbk("开始作诗");
  buttons[kCopyButton].caption = Gbk("复制结果");
  status_parts[kStatusLabelPart] = Gbk("提示丨");
  status_parts[kStatusMessagePart] = "";
  caption = Gbk("by：miravel.example   Miravel");
}

void FakeToolkit::Logged(std::string entry) {
  log.push_back(std::move(entry));
  if (on_write) on_write();
}

Text FakeToolkit::ComboText(std::string_view combo) {
  const auto it = combos.find(combo);
  if (!open || it == combos.end()) return {};
  const Combo& c = it->second;
  return c.selected >= 0 && c.selected < static_cast<int>(c.items.size()) ? c.items[c.selected]
                                                                          : Text();
}

void FakeToolkit::SelectComboItem(std::string_view combo, int index) {
  const auto it = combos.find(combo);
  if (!open || it == combos.end()) return;
  it->second.selected = index;
  Logged("select:" + std::string(combo));
}

Text FakeToolkit::EditContent(std::string_view edit) {
  const auto it = edits.find(edit);
  return open && it != edits.end() ? it->second : Text();
}

void FakeToolkit::SetEditContent(std::string_view edit, const Text& content) {
  const auto it = edits.find(edit);
  if (!open || it == edits.end()) return;
  it->second = content;
  Logged("edit:" + std::string(edit));
}

void FakeToolkit::SetButtonCaption(std::string_view button, const Text& text) {
  const auto it = buttons.find(button);
  if (!open || it == buttons.end()) return;
  it->second.caption = text;
  Logged("caption:" + std::string(button));
}

void FakeToolkit::SetButtonEnabled(std::string_view button, bool enabled) {
  const auto it = buttons.find(button);
  if (!open || it == buttons.end()) return;
  it->second.enabled = enabled;
  Logged((enabled ? "enable:" : "disable:") + std::string(button));
}

void FakeToolkit::SetStatusPart(std::string_view status_bar, int part, const Text& text) {
  if (!open || status_bar != kStatusBar || !status_parts.contains(part)) return;
  status_parts[part] = text;
  Logged("status:" + std::to_string(part));
}

void FakeToolkit::SetCurrentTabPage(std::string_view tab, int page) {
  if (!open || tab != kTabControl) return;
  tab_page = page;
  Logged("tab");
}

Text FakeToolkit::WindowCaption() { return open ? caption : Text(); }

void FakeToolkit::SetWindowCaption(const Text& text) {
  if (!open) return;
  caption = text;
  Logged("window caption");
}

void FakeToolkit::PutClipboardText(const Text& text) {
  clipboard = text;
  clipboard_written = true;
  Logged("clipboard");
}

void FakeToolkit::ShowMessageBox(const Text& body, int style, const Text& title) {
  message_boxes.push_back({body, style, title});
  Logged("message box");
}

Text FakeToolkit::EnvironmentText() { return environment_text; }

bool FakeToolkit::WindowIsOpen() { return open; }

EventPump& FakeToolkit::Pump() { return pump; }

}  // namespace miravel
