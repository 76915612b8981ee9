#include "composer/compose_command.h"

#include "composer/compose_outcome.h"
#include "composer/control_names.h"
#include "composer/gbk_literal.h"
#include "composer/poem_request.h"
#include "composer/result_extraction.h"
#include "text/gbk_unicode.h"
#include "text/hidden_characters.h"
#include "text/regex_object.h"
#include "text/utf.h"
#include "web/timed_web_request.h"

namespace miravel {

void OnComposeClicked(WindowToolkit& toolkit, const Text& service_url) {
  RegexObject regex;
  toolkit.SetStatusPart(kStatusBar, kStatusMessagePart, Gbk("正在作诗，请稍等......"));
  toolkit.SetButtonCaption(kComposeButton, Gbk("作诗中..."));
  toolkit.SetButtonEnabled(kComposeButton, false);
  const Text form = toolkit.ComboText(kFormCombo);
  const Text place = toolkit.ComboText(kPlaceCombo);
  const Text rhyme = toolkit.ComboText(kRhymeCombo);
  const Text characters = toolkit.EditContent(kInputEdit);
  // What cannot be hidden is refused here: no request, no poem, and the
  // status bar says what to change.
  if (const HiddenCheck check = CheckHiddenGbk(characters); !check.ok()) {
    toolkit.SetEditContent(kResultEdit, "");
    toolkit.SetButtonCaption(kComposeButton, Gbk("开始作诗"));
    toolkit.SetButtonEnabled(kComposeButton, true);
    toolkit.SetStatusPart(kStatusBar, kStatusMessagePart,
                          Utf16ToGbk(Utf8ToUtf16(HiddenRefusalMessage(check))));
    return;
  }
  const PoemRequest request = BuildPoemRequest(form, place, rhyme, characters, toolkit.Pump());
  Text url = service_url;
  const Bytes reply =
      TimedWebRequest(url, toolkit.Pump(), {.method = kMethodPost, .body = request.body});
  if (!toolkit.WindowIsOpen()) return;
  const int lines = ExtractPoems(TextOf(reply), request.hide_mode, regex, toolkit);
  toolkit.SetButtonCaption(kComposeButton, Gbk("开始作诗"));
  toolkit.SetButtonEnabled(kComposeButton, true);
  toolkit.SetStatusPart(kStatusBar, kStatusMessagePart,
                        ComposeOutcomeMessage(reply, lines, service_url));
}

}  // namespace miravel
