// A path that names something other than a regular file, which a plain open
// could block on: a FIFO on POSIX systems, the null device on Windows.
#pragma once

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lumo::test {

/// Makes (where it must be made) the non-regular file for `directory`; "" when it cannot.
inline std::string make_non_regular_file(const std::filesystem::path& directory) {
#ifdef _WIN32
    (void)directory;
    return "NUL";
#else
    const std::string path = (directory / "pipe.ttf").string();
    std::filesystem::remove(path);
    return ::mkfifo(path.c_str(), 0600) == 0 ? path : std::string();
#endif
}

}  // namespace lumo::test
