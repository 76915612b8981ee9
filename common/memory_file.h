// In-memory files: growable byte streams with one read/write position, known
// by a number that any thread can use to reach them.
//
// A file is shared: FindMemoryFile() hands out a reference that stays valid
// after CloseMemoryFile(), so a worker that outlives its caller's use of a
// file never touches freed memory. Once closed, a file refuses every write and
// read, and its number finds nothing. All operations are thread-safe.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "common/text_ops.h"

namespace miravel {

using Record = std::vector<Bytes>;

class MemoryFile {
 public:
  // Writes at the position, overwriting and extending; moves the position
  // past what was written. False when the file is closed.
  bool WriteRecord(const Record& record);
  bool WriteText(std::string_view text);
  void Rewind();
  // Reads one record at the position. nullopt (position unchanged) when the
  // bytes there are not a whole record or the file is closed.
  std::optional<Record> ReadRecord();
  // Reads up to the next line feed; the "\n" or "\r\n" is removed.
  Text ReadLine();
  // True at the end of the data, and always once closed.
  bool AtEnd() const;
  void Close();

 private:
  bool WriteBytes(std::string_view bytes);

  mutable std::mutex mutex_;
  Bytes data_;
  size_t position_ = 0;
  bool closed_ = false;
};

// Opens a new, empty file and gives its number (never 0, never reused).
int OpenMemoryFile();
// The file with that number, or null when there is none (or it was closed).
std::shared_ptr<MemoryFile> FindMemoryFile(int number);
// Closes the file: its number finds nothing from now on, and holders of it
// see a closed file. Unknown numbers are ignored.
void CloseMemoryFile(int number);

}  // namespace miravel
