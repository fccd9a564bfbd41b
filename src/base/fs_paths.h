// File-system path helpers with the host's semantics (posixpath, or ntpath on Windows): joining,
// home-directory expansion, existence, and creating a directory with its parents.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"

namespace lumo::base {

/// Joins a directory and a name with the platform's separator, adding no second one.
std::string join_path(std::string_view directory, std::string_view name);

/// `path` made absolute against the working directory (unchanged when it
/// already is, or when the working directory cannot be found); not normalised.
std::string absolute_path(std::string_view path);

/// Replaces a leading "~" by the home directory: $HOME when set (even if
/// empty), else the account's home; trailing separators of the home are dropped.
std::string expand_user(std::string_view path);

/// Whether anything exists at `path` (links followed; an error counts as no).
bool path_exists(const std::string& path);

/// Whether `path` is a directory (links followed).
bool is_directory(const std::string& path);

/// Whether `path` itself is a symbolic link.
bool is_symbolic_link(const std::string& path);

/// The names of the entries of `directory` (without "." and ".."), in the
/// order the file system lists them.
std::optional<FileError> list_entry_names(const std::string& directory, std::vector<std::string>& names);

/// Creates `path` and any missing parents; a directory that already exists, or
/// appears meanwhile, is no error.
std::optional<FileError> make_directories(const std::string& path);

}  // namespace lumo::base
