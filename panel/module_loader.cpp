#include "panel/module_loader.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace {

// The installed modules' folder, relative to the installation prefix; set by the build.
#ifndef KELO_INSTALLED_MODULE_DIR
#define KELO_INSTALLED_MODULE_DIR "lib/kelo-configuration"
#endif

std::string FolderList(const std::vector<std::filesystem::path>& folders) {
  std::string list;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    if (i > 0) list += i + 1 == folders.size() ? " or " : ", ";
    list += folders[i].string();
  }
  return list.empty() ? "no folder" : list;
}

}  // namespace

std::vector<std::filesystem::path> ModuleFolders() {
  std::vector<std::filesystem::path> folders;
  const char* named = std::getenv("KELO_MODULE_DIR");
  if (named != nullptr && *named != '\0') folders.emplace_back(named);
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path bin = program.parent_path();
    folders.push_back(bin);
    folders.push_back(bin.parent_path() / KELO_INSTALLED_MODULE_DIR);
  }
  return folders;
}

std::variant<void*, Failure> ModuleSymbol(const std::string& file, const char* symbol,
                                          const std::vector<std::filesystem::path>& folders) {
  for (const std::filesystem::path& folder : folders) {
    const std::filesystem::path path = folder / file;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) continue;
    // The module keeps Qt objects and code alive as long as the program runs: never closed.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      const char* why = dlerror();
      return Failure{ENOEXEC, path.string() + " could not be loaded: " +
                                  (why != nullptr ? why : "the loader gave no reason")};
    }
    dlerror();
    void* address = dlsym(module, symbol);
    if (address == nullptr) {
      return Failure{ENOEXEC, path.string() + " has no " + symbol + ": it is not this version's"};
    }
    return address;
  }
  return Failure{ENOENT, file + " is missing: it is in none of " + FolderList(folders)};
}
