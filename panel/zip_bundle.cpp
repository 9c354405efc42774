#include "panel/zip_bundle.h"

#include <variant>

#include "panel/module_loader.h"

namespace {

using ArchiveFunction = bool (*)(const std::vector<BundleEntry>*, int64_t, std::string*,
                                 std::string*);

}  // namespace

std::optional<std::string> ZipArchive(const std::vector<BundleEntry>& entries, int64_t modified,
                                      std::string* error) {
  const std::variant<ArchiveFunction, Failure> found =
      ModuleFunction<ArchiveFunction>(kZipModule, kZipArchiveSymbol);
  if (const Failure* failure = std::get_if<Failure>(&found)) {
    if (error != nullptr) *error = failure->reason;
    return std::nullopt;
  }
  const ArchiveFunction archive = std::get<ArchiveFunction>(found);
  std::string bytes;
  if (!archive(&entries, modified, &bytes, error)) return std::nullopt;
  return bytes;
}
