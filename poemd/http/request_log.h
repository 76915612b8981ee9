// The service's log: one line per request, on standard error, in the form
//   <peer> "<method> <path>" <status> <milliseconds> ms <note>
// When standard error is the systemd journal (JOURNAL_STREAM names it), each
// line starts with its priority ("<6>", or "<4>" for a 5xx) and no time:
// the journal keeps both. Otherwise the line starts with the local time.
// In the method, path and note, control bytes, '"' and '\' are written as
// \xHH, so that nothing a client sends can break a line or forge a field.
// Thread-safe: each line is written whole, with one write.
#pragma once

#include <string>

#include "poemd/http/http_server.h"

namespace miravel::poemd {

std::string FormatRecord(const RequestRecord& record, bool for_journal);
// Whether standard error is the journal.
bool StderrIsJournal();
// Writes `line` and a line break to standard error in one call.
void WriteLogLine(const std::string& line);

}  // namespace miravel::poemd
