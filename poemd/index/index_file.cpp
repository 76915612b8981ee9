#include "poemd/index/index_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <system_error>

namespace miravel::poemd {
namespace {

constexpr char kMagic[16] = {'M', 'I', 'R', 'A', 'V', 'E',  'L',  '-',
                             'I', 'N', 'D', 'E', 'X', '\n', '\0', '\0'};
constexpr uint32_t kByteOrderMark = 0x01020304;
constexpr size_t kEntryBytes = 24;

struct Header {
  char magic[16];
  uint32_t version;
  uint32_t byte_order;
  uint32_t sections;
  uint32_t reserved;
  uint64_t file_size;
  uint64_t checksum;
  uint8_t reserved2[16];
};
static_assert(sizeof(Header) == kIndexHeaderBytes);

constexpr uint64_t AlignUp(uint64_t n) { return (n + 7) & ~uint64_t{7}; }

template <typename T>
void Put(std::vector<std::byte>& out, size_t at, const T& value) {
  std::memcpy(out.data() + at, &value, sizeof value);
}

template <typename T>
T Get(const std::byte* in) {
  T value;
  std::memcpy(&value, in, sizeof value);
  return value;
}

}  // namespace

struct IndexFile::Storage {
  std::vector<std::byte> owned;
  const std::byte* mapped = nullptr;
  size_t size = 0;

  const std::byte* data() const { return mapped != nullptr ? mapped : owned.data(); }
  ~Storage() {
    if (mapped != nullptr) munmap(const_cast<std::byte*>(mapped), size);
  }
};

void IndexFileWriter::AddBytes(uint32_t id, uint32_t element_size, uint64_t count,
                               const void* data) {
  Pending section{id, element_size, count, std::vector<std::byte>(element_size * count)};
  if (!section.bytes.empty()) std::memcpy(section.bytes.data(), data, section.bytes.size());
  sections_.push_back(std::move(section));
}

std::vector<std::byte> IndexFileWriter::Finish() const {
  const uint64_t table_end = kIndexHeaderBytes + kEntryBytes * sections_.size();
  uint64_t size = AlignUp(table_end);
  std::vector<uint64_t> offsets;
  for (const Pending& s : sections_) {
    offsets.push_back(size);
    size = AlignUp(size + s.bytes.size());
  }
  std::vector<std::byte> out(size);
  for (size_t k = 0; k < sections_.size(); ++k) {
    const size_t at = kIndexHeaderBytes + kEntryBytes * k;
    Put(out, at, sections_[k].id);
    Put(out, at + 4, sections_[k].element_size);
    Put(out, at + 8, offsets[k]);
    Put(out, at + 16, sections_[k].count);
    if (!sections_[k].bytes.empty()) {
      std::memcpy(out.data() + offsets[k], sections_[k].bytes.data(), sections_[k].bytes.size());
    }
  }
  Header header{};
  std::memcpy(header.magic, kMagic, sizeof kMagic);
  header.version = kIndexFormatVersion;
  header.byte_order = kByteOrderMark;
  header.sections = static_cast<uint32_t>(sections_.size());
  header.file_size = size;
  header.checksum = XXH3_64bits(out.data() + kIndexHeaderBytes, size - kIndexHeaderBytes);
  Put(out, 0, header);
  return out;
}

StatusOr<IndexFile> IndexFile::Open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return StatusFromErrorCode({errno, std::system_category()}, "cannot open " + path);
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return Status::InvalidArgument(path + " is not a regular file");
  }
  auto storage = std::make_shared<Storage>();
  storage->size = static_cast<size_t>(st.st_size);
  if (storage->size < kIndexHeaderBytes) {
    ::close(fd);
    return Status::Corruption(path + " is too short to be a poem index");
  }
  // Read into anonymous memory the kernel may back with huge pages (2 MiB),
  // not mapped from the file: the composer reads hundreds of scattered lines
  // a poem, and with 4 KiB pages nearly every one costs a walk of the page
  // tables besides its miss (a tenth of a poem's time). Where huge pages
  // cannot be had the kernel gives small ones; the bytes are the same.
  void* map = mmap(nullptr, storage->size, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (map == MAP_FAILED) {
    const int map_error = errno;
    ::close(fd);
    return StatusFromErrorCode({map_error, std::system_category()}, "cannot map " + path);
  }
  madvise(map, storage->size, MADV_HUGEPAGE);
  storage->mapped = static_cast<const std::byte*>(map);
  for (size_t got = 0; got < storage->size;) {
    const ssize_t n = ::pread(fd, static_cast<char*>(map) + got, storage->size - got,
                              static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int read_error = n < 0 ? errno : EIO;
      ::close(fd);
      return StatusFromErrorCode({read_error, std::system_category()}, "cannot read " + path);
    }
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  // Read-only from here, as a mapped file was: no stray write can damage it.
  mprotect(map, storage->size, PROT_READ);
  StatusOr<IndexFile> file = Check(std::move(storage));
  if (!file.ok()) return file.status().Prefixed(path);
  return file;
}

StatusOr<IndexFile> IndexFile::FromBytes(std::vector<std::byte> bytes) {
  auto storage = std::make_shared<Storage>();
  storage->size = bytes.size();
  storage->owned = std::move(bytes);
  return Check(std::move(storage));
}

StatusOr<IndexFile> IndexFile::Check(std::shared_ptr<const Storage> storage) {
  const std::byte* data = storage->data();
  const uint64_t size = storage->size;
  if (size < kIndexHeaderBytes) return Status::Corruption("too short to be a poem index");
  const Header header = Get<Header>(data);
  if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0) {
    return Status::Corruption("not a poem index (no index header)");
  }
  if (header.byte_order != kByteOrderMark) {
    return Status::Corruption("written on a machine of another byte order");
  }
  if (header.version != kIndexFormatVersion) {
    return Status::Corruption("index format " + std::to_string(header.version) +
                              ", this program reads format " + std::to_string(kIndexFormatVersion) +
                              "; rebuild it with miravel-poemd-index");
  }
  if (header.reserved != 0 || std::any_of(std::begin(header.reserved2), std::end(header.reserved2),
                                          [](uint8_t b) { return b != 0; })) {
    return Status::Corruption("damaged: the header's reserved bytes are not zero");
  }
  if (header.file_size != size) {
    return Status::Corruption("damaged: " + std::to_string(size) + " bytes where the header says " +
                              std::to_string(header.file_size) + " (cut short or extended)");
  }
  if (XXH3_64bits(data + kIndexHeaderBytes, size - kIndexHeaderBytes) != header.checksum) {
    return Status::Corruption("damaged: the checksum does not match its contents");
  }
  if (header.sections > kIndexMaxSections ||
      kIndexHeaderBytes + kEntryBytes * uint64_t{header.sections} > size) {
    return Status::Corruption("damaged: the section table does not fit the file");
  }
  const uint64_t table_end = kIndexHeaderBytes + kEntryBytes * uint64_t{header.sections};
  IndexFile file;
  std::set<uint32_t> ids;
  for (uint32_t k = 0; k < header.sections; ++k) {
    const std::byte* at = data + kIndexHeaderBytes + kEntryBytes * k;
    const Entry entry{Get<uint32_t>(at), Get<uint32_t>(at + 4), Get<uint64_t>(at + 8),
                      Get<uint64_t>(at + 16)};
    const bool sized = entry.element_size >= 1 && entry.element_size <= 64 &&
                       entry.count <= size / entry.element_size;
    const bool placed = sized && entry.offset % 8 == 0 && entry.offset >= table_end &&
                        entry.offset <= size &&
                        entry.count * entry.element_size <= size - entry.offset;
    if (!placed || !ids.insert(entry.id).second) {
      return Status::Corruption("damaged: section " + std::to_string(entry.id) +
                                " lies outside the file");
    }
    file.entries_.push_back(entry);
  }
  file.storage_ = std::move(storage);
  return file;
}

const IndexFile::Entry* IndexFile::Find(uint32_t id) const {
  for (const Entry& entry : entries_) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

const std::byte* IndexFile::base() const { return storage_->data(); }

size_t IndexFile::size() const { return storage_ ? storage_->size : 0; }

uint64_t IndexFile::Checksum() const {
  if (size() < kIndexHeaderBytes) return 0;
  Header header;
  std::memcpy(&header, base(), sizeof header);
  return header.checksum;
}

}  // namespace miravel::poemd
