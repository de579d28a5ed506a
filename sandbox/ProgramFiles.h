// The files the sandbox brings with it (its world, the sample configuration, the plugin), found
// beside the program wherever its build was copied, and paths as the operator is shown them.
// Paths are UTF-8 text, on Windows too.
#pragma once

#include <filesystem>
#include <string>

namespace Sandbox {

// The directory of the running program, as the system knows it (links resolved). Throws
// std::system_error when the system cannot tell.
std::filesystem::path ProgramDirectory();

// `path` as the operator would type it: relative to the current directory when it lies inside
// it, else absolute; "." and ".." parts resolved; with the system's separator
// (Platform::NativeSeparators).
std::string ShownPath(const std::filesystem::path& path);

// The check of an option naming a file to read: "" when `path` names an existing file, else
// why not ("File does not exist: <path>", "File is actually a directory: <path>").
std::string ExistingFile(const std::string& path);

}  // namespace Sandbox
