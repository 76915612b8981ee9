// Percent-escapes a GBK text, byte by byte, for a form-encoded body.
#pragma once

#include "common/event_pump.h"
#include "common/text_ops.h"

namespace miravel {

// Every byte becomes "%" and two upper-case hex digits ("%09" below 0x10,
// never "+"), except that with `pass_through` the bytes 0x2C-0x39
// (",-./0-9"), "A"-"Z" and "a"-"z" stay as they are. After each byte the
// pump processes pending events, so handlers may run in between; the
// encoder's own state is its own.
Text EncodeFormValue(const Text& text, EventPump& pump, bool pass_through = false);

}  // namespace miravel
