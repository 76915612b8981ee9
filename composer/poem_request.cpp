#include "composer/poem_request.h"

#include "composer/form_encoding.h"
#include "composer/gbk_literal.h"

namespace miravel {

PoemRequest BuildPoemRequest(const Text& form, const Text& place, const Text& rhyme,
                             const Text& characters, EventPump& pump) {
  const Text form_code = form == Gbk("五言绝句") ? "5" : "7";
  const Text hide_mode = place == Gbk("藏头")   ? "cangtou"
                         : place == Gbk("藏中") ? "cangzhong"
                                                : "cangwei";
  const Text rhyme_code = rhyme == Gbk("两句一押") ? "100" : "200";
  const Text encoded = EncodeFormValue(characters, pump);
  return {.body = "xing=" + encoded + "&gender=" + form_code +
                  "&type_str=&classid=0&num=" + hide_mode + "&limit=" + rhyme_code,
          .hide_mode = hide_mode};
}

}  // namespace miravel
