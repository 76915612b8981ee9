// Source files are UTF-8; the program's texts are GBK. Gbk() turns a UTF-8
// literal into the GBK text the program handles.
#pragma once

#include "text/codepage.h"

namespace miravel {

inline Text Gbk(const char* utf8) { return Utf8ToGbk(utf8); }

}  // namespace miravel
