#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "link/failure.h"

// What the program loads on first use rather than at every start (the Trends window with
// Qt Charts, the service bundle's zip writer with libzip): shared libraries of its own,
// opened with dlopen and never closed.

// Where modules are looked for, in this order: the folder KELO_MODULE_DIR names, when
// set (a build tree's tests and tools); the running program's own folder (the build
// tree); and the installed library folder beside the program's bin/, such as
// /usr/lib/x86_64-linux-gnu/kelo-configuration for /usr/bin/kelo-configuration.
std::vector<std::filesystem::path> ModuleFolders();

// The address of `symbol` in the module `file` ("kelo-zip.so") of the first of `folders`
// that holds it, loaded the first time and kept for the life of the process; or why not,
// naming the file: in none of the folders, refused by the loader, or without `symbol`.
std::variant<void*, Failure> ModuleSymbol(
    const std::string& file, const char* symbol,
    const std::vector<std::filesystem::path>& folders = ModuleFolders());

// The function `symbol` of module `file`, as the type Function, or why not.
template <typename Function>
std::variant<Function, Failure> ModuleFunction(const std::string& file, const char* symbol) {
  std::variant<void*, Failure> found = ModuleSymbol(file, symbol);
  if (Failure* failure = std::get_if<Failure>(&found)) return std::move(*failure);
  // dlsym gives a function's address as a data pointer; POSIX has it converted back.
  return reinterpret_cast<Function>(  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
      std::get<void*>(found));
}
