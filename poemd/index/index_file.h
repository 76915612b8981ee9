// The container of the poem index file: a header, a table of sections, and
// the sections' bytes. It knows nothing of what the sections mean; the
// corpus index (corpus_index.h) names them and checks their values.
//
// Layout, in this machine's byte order (the file is built and read on the
// same architecture; the header's byte-order mark refuses any other):
//   header, 64 bytes:
//     magic        16 bytes  "MIRAVEL-INDEX\n\0\0"
//     version      u32       kIndexFormatVersion
//     byte order   u32       0x01020304
//     sections     u32       how many entries the table has
//     reserved     u32       0
//     file size    u64       the whole file, header included
//     checksum     u64       XXH3-64 of every byte after the header
//     reserved     16 bytes  0
//   section table: per section {id u32, element size u32, offset u64, count u64}
//   the sections, each starting on an 8-byte boundary after the table.
//
// Reading checks, before anything is handed out: the size against the
// header, the checksum, and that every section lies inside the file, does
// not overlap the table, is aligned, and appears once. Nothing is allocated
// from a length the file claims: sections are views into the file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/status.h"

namespace miravel::poemd {

inline constexpr uint32_t kIndexFormatVersion = 10;
inline constexpr size_t kIndexHeaderBytes = 64;
inline constexpr size_t kIndexMaxSections = 256;

// Builds an index file's bytes section by section.
class IndexFileWriter {
 public:
  template <typename T>
  void Add(uint32_t id, std::span<const T> elements) {
    AddBytes(id, sizeof(T), elements.size(), elements.data());
  }
  template <typename C>
  void AddContainer(uint32_t id, const C& container) {
    Add(id, std::span<const typename C::value_type>(container.data(), container.size()));
  }
  // The whole file, checksum included.
  std::vector<std::byte> Finish() const;

 private:
  void AddBytes(uint32_t id, uint32_t element_size, uint64_t count, const void* data);

  struct Pending {
    uint32_t id;
    uint32_t element_size;
    uint64_t count;
    std::vector<std::byte> bytes;
  };
  std::vector<Pending> sections_;
};

// A checked index file, mapped read-only or held in memory. Cheap to copy:
// copies share the bytes. Thread-safe for reading.
class IndexFile {
 public:
  // Corruption when the bytes are not a whole, undamaged index file of this
  // version (a file of another version included); NotFound, PermissionDenied
  // or IOError when the file cannot be opened or mapped.
  static StatusOr<IndexFile> Open(const std::string& path);
  static StatusOr<IndexFile> FromBytes(std::vector<std::byte> bytes);

  // The section's elements; empty when the section is absent or its
  // elements are not of T's size (the caller's checks then refuse it).
  template <typename T>
  std::span<const T> Section(uint32_t id) const {
    const Entry* entry = Find(id);
    if (entry == nullptr || entry->element_size != sizeof(T)) return {};
    return {reinterpret_cast<const T*>(base() + entry->offset), static_cast<size_t>(entry->count)};
  }
  // True when the section is present with elements of T's size.
  template <typename T>
  bool HasSectionOf(uint32_t id) const {
    const Entry* entry = Find(id);
    return entry != nullptr && entry->element_size == sizeof(T);
  }
  size_t size() const;
  // The checksum of its contents: another index, another checksum (what
  // was made from one index is known by it).
  uint64_t Checksum() const;

 private:
  struct Entry {
    uint32_t id;
    uint32_t element_size;
    uint64_t offset;
    uint64_t count;
  };
  struct Storage;

  static StatusOr<IndexFile> Check(std::shared_ptr<const Storage> storage);
  const Entry* Find(uint32_t id) const;
  const std::byte* base() const;

  std::shared_ptr<const Storage> storage_;
  std::vector<Entry> entries_;
};

}  // namespace miravel::poemd
