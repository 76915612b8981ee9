// An in-memory WindowToolkit for handler tests: controls are entries in
// maps, the pump is headless, and every write is logged in order.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/headless_event_pump.h"
#include "composer/window_toolkit.h"

namespace miravel {

class FakeToolkit final : public WindowToolkit {
 public:
  struct Combo {
    std::vector<Text> items;
    int selected = -1;
  };
  struct Button {
    Text caption;
    bool enabled = true;
  };
  struct MessageBox {
    Text body;
    int style;
    Text title;
  };

  // The main window's controls in their described initial state.
  FakeToolkit();

  Text ComboText(std::string_view combo) override;
  void SelectComboItem(std::string_view combo, int index) override;
  Text EditContent(std::string_view edit) override;
  void SetEditContent(std::string_view edit, const Text& content) override;
  void SetButtonCaption(std::string_view button, const Text& caption) override;
  void SetButtonEnabled(std::string_view button, bool enabled) override;
  void SetStatusPart(std::string_view status_bar, int part, const Text& text) override;
  void SetCurrentTabPage(std::string_view tab, int page) override;
  Text WindowCaption() override;
  void SetWindowCaption(const Text& caption) override;
  void PutClipboardText(const Text& text) override;
  void ShowMessageBox(const Text& body, int style, const Text& title) override;
  Text EnvironmentText() override;
  bool WindowIsOpen() override;
  EventPump& Pump() override;

  // Test side.
  std::map<std::string, Combo, std::less<>> combos;
  std::map<std::string, Text, std::less<>> edits;
  std::map<std::string, Button, std::less<>> buttons;
  std::map<int, Text> status_parts;
  int tab_page = -1;
  Text caption;
  Text clipboard;
  bool clipboard_written = false;
  std::vector<MessageBox> message_boxes;
  Text environment_text = "Fake 1.0";
  bool open = true;
  HeadlessEventPump pump;
  // "edit:<name>", "caption:<name>", "enabled:<name>", "status:<part>", ...
  std::vector<std::string> log;
  // Runs after every write, for tests that look at states in between.
  std::function<void()> on_write;

 private:
  void Logged(std::string entry);
};

}  // namespace miravel
