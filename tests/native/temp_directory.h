// A fresh directory below the system's temporary folder for one test, removed
// with everything in it when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace lumo::test {

class TemporaryDirectory {
public:
    /// `prefix` names the test in the directory's name ("lumo-read" gives /tmp/lumo-read-<random>).
    explicit TemporaryDirectory(const std::string& prefix) {
        std::random_device entropy;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(entropy()));
            std::error_code error;
            if (std::filesystem::create_directory(path_, error)) return;  // false: taken, or an error
        }
        ADD_FAILURE() << "cannot create a directory like " << path_;
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace lumo::test
