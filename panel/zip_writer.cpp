#include <zip.h>

#include <limits>
#include <memory>

#include "panel/zip_bundle.h"

namespace {

// The extended timestamp field (Info-ZIP "UT"): a flags byte saying the modification
// time follows, then that time as 32 bits, least significant byte first.
constexpr zip_uint16_t kExtendedTimestampId = 0x5455;
constexpr zip_uint8_t kModificationTimePresent = 0x01;
constexpr int kByteBits = 8;
// A Unix file's type and permissions in the high half of the external attributes: a
// regular file its owner writes and everyone reads, as a file saved under the usual umask.
constexpr zip_uint32_t kRegularFile = 0100000;
constexpr zip_uint32_t kReadableByAll = 0644;
constexpr int kUnixModeShift = 16;

// What libzip leaves of an archive without entries is no file at all; every zip reader
// takes this end-of-central-directory record alone for an empty archive.
constexpr char kEmptyArchive[22] = {'P', 'K', 5, 6};

struct SourceRelease {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourceHandle = std::unique_ptr<zip_source_t, SourceRelease>;

struct ArchiveDiscard {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchiveHandle = std::unique_ptr<zip_t, ArchiveDiscard>;

std::nullopt_t Fail(std::string* error, const std::string& reason) {
  if (error != nullptr) *error = reason;
  return std::nullopt;
}

// The field holds a signed 32-bit time; outside 1970 to 2038 only the zip's own time
// stamps the entry.
bool StampExtendedTime(zip_t* archive, zip_uint64_t index, int64_t modified) {
  if (modified < 0 || modified > std::numeric_limits<int32_t>::max()) return true;
  zip_uint8_t field[5] = {kModificationTimePresent};
  for (int i = 0; i < 4; ++i) {
    field[1 + i] = static_cast<zip_uint8_t>(modified >> (kByteBits * i));
  }
  return zip_file_extra_field_set(archive, index, kExtendedTimestampId, ZIP_EXTRA_FIELD_NEW, field,
                                  sizeof field, ZIP_FL_LOCAL | ZIP_FL_CENTRAL) == 0;
}

// One entry added to the archive; the content is read when the archive is closed.
bool AddEntry(zip_t* archive, const BundleEntry& entry, int64_t modified) {
  zip_source_t* content = zip_source_buffer(archive, entry.content.data(), entry.content.size(), 0);
  if (content == nullptr) return false;
  const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), content, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(content);
    return false;
  }
  const auto added = static_cast<zip_uint64_t>(index);
  return zip_set_file_compression(archive, added, ZIP_CM_DEFLATE, 0) == 0 &&
         zip_file_set_mtime(archive, added, static_cast<time_t>(modified), 0) == 0 &&
         zip_file_set_external_attributes(archive, added, 0, ZIP_OPSYS_UNIX,
                                          (kRegularFile | kReadableByAll) << kUnixModeShift) == 0 &&
         StampExtendedTime(archive, added, modified);
}

std::string SourceReason(zip_source_t* source) {
  return zip_error_strerror(zip_source_error(source));
}

// The bytes a closed archive left in its buffer.
std::optional<std::string> BytesOf(zip_source_t* buffer, std::string* error) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_source_stat(buffer, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
      zip_source_open(buffer) != 0) {
    return Fail(error, SourceReason(buffer));
  }
  std::string bytes(stat.size, '\0');
  const zip_int64_t read = zip_source_read(buffer, bytes.data(), bytes.size());
  const std::string reason = SourceReason(buffer);
  zip_source_close(buffer);
  if (read < 0 || static_cast<zip_uint64_t>(read) != bytes.size()) return Fail(error, reason);
  return bytes;
}

// An archive writing into a buffer in memory, or nothing with the reason.
ArchiveHandle OpenInMemory(SourceHandle& buffer, std::string* error) {
  zip_error_t openError;
  zip_error_init(&openError);
  buffer.reset(zip_source_buffer_create(nullptr, 0, 0, &openError));
  ArchiveHandle archive;
  if (buffer) archive.reset(zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &openError));
  if (archive) {
    // The archive took the buffer's one reference; this one lets its bytes outlive it.
    zip_source_keep(buffer.get());
  } else {
    Fail(error, zip_error_strerror(&openError));
  }
  zip_error_fini(&openError);
  return archive;
}

std::optional<std::string> Archive(const std::vector<BundleEntry>& entries, int64_t modified,
                                   std::string* error) {
  if (entries.empty()) return std::string(kEmptyArchive, sizeof kEmptyArchive);
  SourceHandle buffer;
  ArchiveHandle archive = OpenInMemory(buffer, error);
  if (!archive) return std::nullopt;
  for (const BundleEntry& entry : entries) {
    if (!AddEntry(archive.get(), entry, modified)) return Fail(error, zip_strerror(archive.get()));
  }
  // Compresses every entry into the buffer; on failure the archive is still open and
  // its handle discards it.
  if (zip_close(archive.get()) != 0) return Fail(error, zip_strerror(archive.get()));
  static_cast<void>(archive.release());  // zip_close has freed it
  return BytesOf(buffer.get(), error);
}

}  // namespace

// The zip module's one entry, which ZipArchive finds by its name.
extern "C" __attribute__((visibility("default"))) bool kelo_zip_archive(
    const std::vector<BundleEntry>* entries, int64_t modified, std::string* archive,
    std::string* error) {
  std::optional<std::string> bytes = Archive(*entries, modified, error);
  if (bytes) *archive = std::move(*bytes);
  return bytes.has_value();
}
