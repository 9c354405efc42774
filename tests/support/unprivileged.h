#pragma once

#include <functional>
#include <string>

// Runs `work` as a user without privileges and gives back what it said. Root may write
// any file, so a test run as root runs the work in a child process that has become
// "nobody"; anyone else runs it here.
std::string AsUnprivilegedUser(const std::function<std::string()>& work);
