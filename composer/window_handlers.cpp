#include "composer/window_handlers.h"

#include "composer/control_names.h"
#include "composer/gbk_literal.h"

namespace miravel {

Text DescribedCaption() { return Gbk("by：miravel.example   Miravel"); }

void OnMainWindowCreated(WindowToolkit& toolkit) {
  toolkit.SetCurrentTabPage(kTabControl, 0);
  for (const char* combo : {kFormCombo, kPlaceCombo, kRhymeCombo}) {
    toolkit.SelectComboItem(combo, 0);
  }
  const Text environment = toolkit.EnvironmentText();
  toolkit.SetWindowCaption(toolkit.WindowCaption() + " - " + environment);
}

void OnCopyResultClicked(WindowToolkit& toolkit) {
  toolkit.PutClipboardText(toolkit.EditContent(kResultEdit));
  toolkit.SetStatusPart(kStatusBar, kStatusMessagePart, Gbk("复制成功"));
}

void OnAboutSelected(WindowToolkit& toolkit) {
  toolkit.ShowMessageBox(Gbk("作者：Miravel 团队\r\n  邮箱：hello@miravel.example"), kMessageBoxOk,
                         Gbk("关于："));
}

}  // namespace miravel
