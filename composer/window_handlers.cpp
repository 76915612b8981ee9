#include "composer/window_handlers.h"

#include "composer/control_names.h"
#include "composer/gbk_literal.h"
#include "miravel/version.h"

namespace miravel {

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
  toolkit.ShowMessageBox(Gbk("作者：Miravel 团队\r\n  邮箱：hello@miravel.example\r\n"
                             "版本：" MIRAVEL_VERSION_TEXT "\r\n"
                             "许可：MIT 许可证\r\n"
                             "诗词：chinese-poetry 诗词库（MIT 许可）"),
                         kMessageBoxOk, Gbk("关于："));
}

}  // namespace miravel
