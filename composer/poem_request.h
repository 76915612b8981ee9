// The poem service's one request: the user's four choices as a form body.
#pragma once

#include "common/event_pump.h"
#include "common/text_ops.h"

namespace miravel {

struct PoemRequest {
  Bytes body;      // "xing=...&gender=...&type_str=&classid=0&num=...&limit=..."
  Text hide_mode;  // "cangtou", "cangzhong" or "cangwei"
};

// All four texts are GBK, compared byte for byte with the combo items; a
// text that matches no item falls to the last rule ("7", "cangwei", "200").
// The characters are escaped byte by byte (EncodeFormValue, events flowing
// through `pump`). Never fails; an empty input gives an empty "xing".
PoemRequest BuildPoemRequest(const Text& form, const Text& place, const Text& rhyme,
                             const Text& characters, EventPump& pump);

}  // namespace miravel
