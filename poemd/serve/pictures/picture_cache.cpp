#include "poemd/serve/pictures/picture_cache.h"

namespace miravel::poemd {

std::shared_ptr<const CachedPicture> PictureCache::Find(const std::string& key) {
  std::lock_guard lock(mutex_);
  const auto it = by_key_.find(key);
  if (it == by_key_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, it->second);
  return it->second->picture;
}

void PictureCache::Insert(const std::string& key, std::shared_ptr<const CachedPicture> picture) {
  const size_t bytes = 2 * key.size() + picture->body.size() + picture->content_type.size() +
                       picture->etag.size() + picture->note.size() + kEntryCost;
  if (bytes > max_bytes_) return;
  std::lock_guard lock(mutex_);
  if (const auto it = by_key_.find(key); it != by_key_.end()) {
    bytes_ -= it->second->bytes;
    entries_.erase(it->second);
    by_key_.erase(it);
  }
  while (!entries_.empty() && bytes_ + bytes > max_bytes_) {
    bytes_ -= entries_.back().bytes;
    by_key_.erase(entries_.back().key);
    entries_.pop_back();
  }
  entries_.push_front({key, std::move(picture), bytes});
  by_key_.emplace(key, entries_.begin());
  bytes_ += bytes;
}

size_t PictureCache::Bytes() const {
  std::lock_guard lock(mutex_);
  return bytes_;
}

size_t PictureCache::Count() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

}  // namespace miravel::poemd
