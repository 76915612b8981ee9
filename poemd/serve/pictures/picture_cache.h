// Pictures drawn, in memory, by the canonical address that asks for them,
// so that a shared poem's picture (asked for by every preview and every
// reader) is drawn once. Bounded in bytes: a picture in counts its body,
// its address and a fixed cost; past the bound the picture used longest ago
// goes. A picture bigger than the bound is not kept. Thread-safe.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace miravel::poemd {

struct CachedPicture {
  std::string content_type;
  std::string body;
  std::string etag;
  std::string note;  // what the log says of it
};

class PictureCache {
 public:
  // What an entry costs beyond its body and key: the entry, its list node,
  // its map node, the strings' own allocations.
  static constexpr size_t kEntryCost = 256;

  explicit PictureCache(size_t max_bytes) : max_bytes_(max_bytes) {}

  // The picture at `key`, now the last used; null when it is not held.
  std::shared_ptr<const CachedPicture> Find(const std::string& key);
  void Insert(const std::string& key, std::shared_ptr<const CachedPicture> picture);

  size_t Bytes() const;
  size_t Count() const;

 private:
  struct Entry {
    std::string key;
    std::shared_ptr<const CachedPicture> picture;
    size_t bytes = 0;
  };

  const size_t max_bytes_;
  mutable std::mutex mutex_;
  std::list<Entry> entries_;  // the last used first
  std::unordered_map<std::string, std::list<Entry>::iterator> by_key_;
  size_t bytes_ = 0;
};

}  // namespace miravel::poemd
