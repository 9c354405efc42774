#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The service bundle's archive: the files the panel gathers for the service centre, as
// one zip archive built in memory. The panel saves it through its own whole-file writer,
// which decides the rules of saving; nothing here touches the file system.

// The module that holds libzip, and the function in it that builds an archive:
//   bool kelo_zip_archive(const std::vector<BundleEntry>* entries, int64_t modified,
//                         std::string* archive, std::string* error);
inline constexpr char kZipModule[] = "kelo-zip.so";
inline constexpr char kZipArchiveSymbol[] = "kelo_zip_archive";

struct BundleEntry {
  std::string name;  // path inside the archive, UTF-8
  std::string content;
};

// The zip archive of the entries, in order, each compressed with deflate and stamped
// with `modified` (seconds since 1970): in the zip format's own local time, to its two
// seconds, and exactly in UTC in the extended timestamp field that unzip tools read; an
// unzipped entry is a regular file with mode 0644.
// No entries give a valid empty archive. Nothing on failure (two entries of one name,
// a failure inside libzip, the zip module missing), with the reason in *error when
// error is not null. libzip is loaded with the zip module, kZipModule, the first time.
std::optional<std::string> ZipArchive(const std::vector<BundleEntry>& entries, int64_t modified,
                                      std::string* error);
