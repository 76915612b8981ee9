// GBK texts to and from Qt strings. Only the Qt adapter uses these.
#pragma once

#include <QString>

#include "common/text_ops.h"

namespace miravel {

QString ToQString(const Text& gbk);
// Characters that GBK lacks become "?".
Text FromQString(const QString& text);

}  // namespace miravel
