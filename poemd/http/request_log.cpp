#include "poemd/http/request_log.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace miravel::poemd {

std::string FormatRecord(const RequestRecord& record, bool for_journal) {
  std::string line;
  if (for_journal) {
    line = record.status >= 500 ? "<4>" : "<6>";
  } else {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S ", &local);
    line = when;
  }
  char took[32];
  std::snprintf(took, sizeof took, "%.2f ms", record.milliseconds);
  line += record.peer + " \"" + (record.method.empty() ? "-" : record.method) + " " +
          (record.path.empty() ? "-" : record.path) + "\" " + std::to_string(record.status) + " " +
          took;
  if (!record.note.empty()) line += " " + record.note;
  // A note or path never breaks the line: one request, one line.
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
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
