#include "panel/zip_bundle.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "panel/module_loader.h"

namespace {

// 2026-12-07 12:10:46 UTC; the zip format's own time counts in steps of two seconds.
constexpr int64_t kEvenSecond = 1'796'645'446;

struct ArchiveClose {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ReadArchive = std::unique_ptr<zip_t, ArchiveClose>;

// The archive opened from its bytes, checked for consistency as a strict reader would.
ReadArchive OpenBytes(const std::string& bytes) {
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, nullptr);
  if (source == nullptr) return nullptr;
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, nullptr);
  if (archive == nullptr) zip_source_free(source);
  return ReadArchive(archive);
}

std::string ContentAt(zip_t* archive, zip_uint64_t index, zip_uint64_t size) {
  zip_file_t* file = zip_fopen_index(archive, index, 0);
  if (file == nullptr) return "(cannot open)";
  std::string content(size, '\0');
  const zip_int64_t read = zip_fread(file, content.data(), size);
  zip_fclose(file);
  return read == static_cast<zip_int64_t>(size) ? content : "(short read)";
}

// The UT extra field's flags byte and time as the archive's central directory holds it.
std::vector<zip_uint8_t> ExtendedTimestampAt(zip_t* archive, zip_uint64_t index) {
  zip_uint16_t length = 0;
  const zip_uint8_t* field =
      zip_file_extra_field_get_by_id(archive, index, 0x5455, 0, &length, ZIP_FL_CENTRAL);
  if (field == nullptr) return {};
  return std::vector<zip_uint8_t>(field, field + length);
}

std::string TelemetryLike() {
  std::string csv;
  for (int i = 0; i < 2000; ++i) csv += "2026-12-07T12:10:47.123+00:00,-0.25,50.20,230\r\n";
  return csv;
}

TEST(ZipArchive, HoldsEntriesInOrderWithBytesTimeModeAndDeflate) {
  const std::vector<BundleEntry> entries = {
      {"settings.txt", "S_Ht = 12\r\nCal Value = 3\r\n"},
      {"telemetry/telemetry.csv", TelemetryLike()},
      {"empty.log", ""},
      {"r\xC3\xA9sum\xC3\xA9.txt", std::string("\0\xFF binary\n", 10)},
  };
  for (const int64_t modified : {kEvenSecond, kEvenSecond + 1}) {
    std::string error;
    const std::optional<std::string> bytes = ZipArchive(entries, modified, &error);
    ASSERT_TRUE(bytes) << error;
    const ReadArchive archive = OpenBytes(*bytes);
    ASSERT_TRUE(archive);
    ASSERT_EQ(zip_get_num_entries(archive.get(), 0), static_cast<zip_int64_t>(entries.size()));
    for (zip_uint64_t i = 0; i < entries.size(); ++i) {
      zip_stat_t stat;
      ASSERT_EQ(zip_stat_index(archive.get(), i, 0, &stat), 0);
      EXPECT_STREQ(stat.name, entries[i].name.c_str());
      EXPECT_EQ(stat.comp_method, ZIP_CM_DEFLATE);
      EXPECT_EQ(stat.mtime, modified / 2 * 2) << "in the zip's local time (TZ=UTC)";
      ASSERT_EQ(stat.size, entries[i].content.size());
      EXPECT_EQ(ContentAt(archive.get(), i, stat.size), entries[i].content);
      zip_uint8_t system = 0;
      zip_uint32_t attributes = 0;
      ASSERT_EQ(zip_file_get_external_attributes(archive.get(), i, 0, &system, &attributes), 0);
      EXPECT_EQ(system, ZIP_OPSYS_UNIX);
      EXPECT_EQ(attributes >> 16, 0100644u) << "a regular file, rw-r--r--";
      const auto t = static_cast<uint32_t>(modified);
      EXPECT_EQ(ExtendedTimestampAt(archive.get(), i),
                (std::vector<zip_uint8_t>{
                    1, static_cast<zip_uint8_t>(t), static_cast<zip_uint8_t>(t >> 8),
                    static_cast<zip_uint8_t>(t >> 16), static_cast<zip_uint8_t>(t >> 24)}));
    }
    zip_stat_t csv;
    ASSERT_EQ(zip_stat_index(archive.get(), 1, 0, &csv), 0);
    EXPECT_LT(csv.comp_size * 10, csv.size) << "a repetitive CSV is compressed";
  }
}

TEST(ZipArchive, NoEntriesGiveAValidEmptyArchive) {
  const std::optional<std::string> bytes = ZipArchive({}, kEvenSecond, nullptr);
  ASSERT_TRUE(bytes);
  // libzip would take a file of no bytes for an empty archive too; other readers do not.
  EXPECT_FALSE(bytes->empty());
  const ReadArchive archive = OpenBytes(*bytes);
  ASSERT_TRUE(archive);
  EXPECT_EQ(zip_get_num_entries(archive.get(), 0), 0);
}

TEST(ZipArchive, TwoEntriesOfOneNameGiveNothingWithReason) {
  std::string error;
  const std::optional<std::string> bytes =
      ZipArchive({{"log.txt", "a"}, {"log.txt", "b"}}, kEvenSecond, &error);
  EXPECT_FALSE(bytes);
  EXPECT_EQ(error, "File already exists");
  EXPECT_FALSE(ZipArchive({{"log.txt", "a"}, {"log.txt", "b"}}, kEvenSecond, nullptr));
}

// The zip module found in the folder KELO_MODULE_DIR names; without it, or with something
// else in its place, no archive and a reason that names the file and why.
TEST(ZipArchive, WithoutItsModuleGivesNothingAndSaysWhichFileAndWhy) {
  const std::string built = std::getenv("KELO_MODULE_DIR");
  EXPECT_TRUE(std::holds_alternative<void*>(ModuleSymbol(kZipModule, kZipArchiveSymbol)));
  const std::variant<void*, Failure> other = ModuleSymbol(kZipModule, "kelo_open_trends");
  ASSERT_TRUE(std::holds_alternative<Failure>(other));
  EXPECT_EQ(std::get<Failure>(other).reason,
            built + "/kelo-zip.so has no kelo_open_trends: it is not this version's");

  const std::filesystem::path empty =
      std::filesystem::temp_directory_path() / ("kelo-modules-" + std::to_string(getpid()));
  std::filesystem::create_directories(empty);
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
  const std::string missing = "kelo-zip.so is missing: it is in none of " + empty.string() + ", " +
                              program.parent_path().string() + " or " +
                              program.parent_path().parent_path().string() + "/lib";
  const std::string unloadable = (empty / kZipModule).string() + " could not be loaded: ";
  setenv("KELO_MODULE_DIR", empty.c_str(), 1);
  for (const std::string& expected : {missing, unloadable}) {
    std::string error;
    EXPECT_FALSE(ZipArchive({{"log.txt", "a"}}, kEvenSecond, &error));
    EXPECT_EQ(error.substr(0, expected.size()), expected) << error;
    std::ofstream(empty / kZipModule) << "not a library\n";
  }
  setenv("KELO_MODULE_DIR", built.c_str(), 1);
  std::filesystem::remove_all(empty);
}

}  // namespace
