#include "common/memory_file.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace miravel {
namespace {

// A record is a slot count followed by each slot's length and bytes; counts
// and lengths are native 64-bit integers: the file never leaves the process.
void AppendCount(Bytes& out, uint64_t n) {
  out.append(reinterpret_cast<const char*>(&n), sizeof n);
}

bool TakeCount(std::string_view& in, uint64_t& n) {
  if (in.size() < sizeof n) return false;
  std::memcpy(&n, in.data(), sizeof n);
  in.remove_prefix(sizeof n);
  return true;
}

struct Registry {
  std::mutex mutex;
  int next = 1;
  std::unordered_map<int, std::shared_ptr<MemoryFile>> files;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

bool MemoryFile::WriteBytes(std::string_view bytes) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  const size_t end = position_ + bytes.size();
  if (end > data_.size()) data_.resize(end);
  data_.replace(position_, bytes.size(), bytes);
  position_ = end;
  return true;
}

bool MemoryFile::WriteRecord(const Record& record) {
  Bytes out;
  AppendCount(out, record.size());
  for (const Bytes& slot : record) {
    AppendCount(out, slot.size());
    out.append(slot);
  }
  return WriteBytes(out);
}

bool MemoryFile::WriteText(std::string_view text) { return WriteBytes(text); }

void MemoryFile::Rewind() {
  std::lock_guard lock(mutex_);
  position_ = 0;
}

std::optional<Record> MemoryFile::ReadRecord() {
  std::lock_guard lock(mutex_);
  if (closed_) return std::nullopt;
  std::string_view in(data_);
  in.remove_prefix(position_);
  const size_t before = in.size();
  uint64_t count = 0;
  if (!TakeCount(in, count) || count > in.size() / sizeof(uint64_t)) return std::nullopt;
  Record record;
  record.reserve(count);
  for (uint64_t i = 0; i < count; ++i) {
    uint64_t length = 0;
    if (!TakeCount(in, length) || length > in.size()) return std::nullopt;
    record.emplace_back(in.substr(0, length));
    in.remove_prefix(length);
  }
  position_ += before - in.size();
  return record;
}

Text MemoryFile::ReadLine() {
  std::lock_guard lock(mutex_);
  if (closed_ || position_ >= data_.size()) return {};
  size_t end = data_.find('\n', position_);
  const size_t next = end == Bytes::npos ? data_.size() : end + 1;
  if (end == Bytes::npos) end = data_.size();
  if (end > position_ && data_[end - 1] == '\r') --end;
  Text line = data_.substr(position_, end - position_);
  position_ = next;
  return line;
}

bool MemoryFile::AtEnd() const {
  std::lock_guard lock(mutex_);
  return closed_ || position_ >= data_.size();
}

void MemoryFile::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  Bytes().swap(data_);
  position_ = 0;
}

int OpenMemoryFile() {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  const int number = registry.next++;
  registry.files.emplace(number, std::make_shared<MemoryFile>());
  return number;
}

std::shared_ptr<MemoryFile> FindMemoryFile(int number) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  const auto it = registry.files.find(number);
  return it == registry.files.end() ? nullptr : it->second;
}

void CloseMemoryFile(int number) {
  std::shared_ptr<MemoryFile> file;
  {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const auto it = registry.files.find(number);
    if (it == registry.files.end()) return;
    file = std::move(it->second);
    registry.files.erase(it);
  }
  file->Close();
}

}  // namespace miravel
