#include "poemd/http/request_log.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace miravel::poemd {

namespace {

// The local time to the second, "2026-12-09T05:50:27 ": formatted once a
// second per thread, since every request's line starts with it.
const std::string& LocalTimeNow() {
  thread_local std::time_t formatted_at = -1;
  thread_local std::string formatted;
  const std::time_t now = std::time(nullptr);
  if (now != formatted_at) {
    std::tm local{};
    localtime_r(&now, &local);
    char when[32];
    const size_t n = std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S ", &local);
    formatted.assign(when, n);
    formatted_at = now;
  }
  return formatted;
}

// `text` with every byte that could end a field or a line, or that a
// terminal would act on, written as \xHH, as nginx writes its log: a
// request can put anything in its path or its hidden characters, and must
// not forge a line or a field.
void AppendEscaped(std::string& line, std::string_view text) {
  static const char* const kHex = "0123456789ABCDEF";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') {
      line += "\\x";
      line += kHex[c >> 4];
      line += kHex[c & 15];
    } else {
      line += ch;
    }
  }
}

}  // namespace

std::string FormatRecord(const RequestRecord& record, bool for_journal) {
  std::string line;
  line.reserve(96 + record.path.size() + record.note.size());
  if (for_journal) {
    line = record.status >= 500 ? "<4>" : "<6>";
  } else {
    line = LocalTimeNow();
  }
  char took[32];
  const auto [end, ec] =
      std::to_chars(took, took + sizeof took, record.milliseconds, std::chars_format::fixed, 2);
  line += record.peer;
  line += " \"";
  AppendEscaped(line, record.method.empty() ? "-" : record.method);
  line += ' ';
  AppendEscaped(line, record.path.empty() ? "-" : record.path);
  line += "\" ";
  line += std::to_string(record.status);
  line += ' ';
  line.append(took, ec == std::errc() ? end : took);
  line += " ms";
  if (!record.note.empty()) {
    line += ' ';
    AppendEscaped(line, record.note);
  }
  return line;
}

bool StderrIsJournal() {
  const char* stream = std::getenv("JOURNAL_STREAM");
  if (stream == nullptr) return false;
  unsigned long device = 0, inode = 0;
  if (std::sscanf(stream, "%lu:%lu", &device, &inode) != 2) return false;
  struct stat st {};
  return fstat(STDERR_FILENO, &st) == 0 && st.st_dev == device && st.st_ino == inode;
}

void WriteLogLine(const std::string& line) {
  const std::string whole = line + "\n";
  size_t done = 0;
  while (done < whole.size()) {
    const ssize_t n = write(STDERR_FILENO, whole.data() + done, whole.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace miravel::poemd
