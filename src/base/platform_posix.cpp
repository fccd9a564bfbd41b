// The platform layer on POSIX systems (Linux, macOS, the BSDs).
#ifndef _WIN32

#include "base/platform.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace lumo::base::platform {
namespace {

/// Modification time of a stat result: Linux and the BSDs name the field differently.
void modification_time(const struct stat& info, FileStatus& status) {
#if defined(__APPLE__)
    status.modified_seconds = static_cast<std::int64_t>(info.st_mtimespec.tv_sec);
    status.modified_nanoseconds = static_cast<std::int64_t>(info.st_mtimespec.tv_nsec);
#else
    status.modified_seconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    status.modified_nanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
#endif
}

FileStatus status_of(const struct stat& info) {
    FileStatus status;
    status.type = S_ISREG(info.st_mode)   ? FileType::regular
                  : S_ISDIR(info.st_mode) ? FileType::directory
                  : S_ISLNK(info.st_mode) ? FileType::symbolic_link
                                          : FileType::other;
    status.size = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    status.device = static_cast<std::uint64_t>(info.st_dev);
    status.inode = static_cast<std::uint64_t>(info.st_ino);
    modification_time(info, status);
    return status;
}

/// A path the system calls can take: no NUL inside.
bool usable(const std::string& path) { return path.find('\0') == std::string::npos; }

}  // namespace

int file_status(const std::string& path, bool follow_links, FileStatus& status) {
    if (!usable(path)) return EINVAL;
    struct stat info {};
    if ((follow_links ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0) return errno;
    status = status_of(info);
    return 0;
}

int list_directory(const std::string& directory, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    if (!usable(directory)) return EINVAL;
    struct Closer {
        void operator()(DIR* handle) const noexcept { ::closedir(handle); }
    };
    std::unique_ptr<DIR, Closer> handle(::opendir(directory.c_str()));
    if (!handle) return errno;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(handle.get());
        if (entry == nullptr) return errno;
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        const EntryType type = entry->d_type == DT_DIR                                  ? EntryType::directory
                               : entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN ? EntryType::unknown
                                                                                          : EntryType::not_directory;
        entries.push_back({std::string(name), type});
    }
}

int make_directory(const std::string& path) {
    if (!usable(path)) return EINVAL;
    return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno;
}

std::optional<std::string> current_directory() {
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

bool is_absolute_path(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::optional<std::string> home_directory() {
    // Set, even if empty, $HOME wins.
    if (const char* variable = std::getenv("HOME")) return std::string(variable);
    const long buffer_size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(buffer_size > 0 ? static_cast<std::size_t>(buffer_size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return std::nullopt;
    return std::string(found->pw_dir);
}

std::optional<std::string> link_target(const std::string& path) {
    if (!usable(path)) return std::nullopt;
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return std::nullopt;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

int make_symbolic_link(const std::string& target, const std::string& link) {
    if (!usable(target) || !usable(link)) return EINVAL;
    return ::symlink(target.c_str(), link.c_str()) == 0 ? 0 : errno;
}

int replace_file(const std::string& from, const std::string& to) {
    if (!usable(from) || !usable(to)) return EINVAL;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int remove_file(const std::string& path) {
    if (!usable(path)) return EINVAL;
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int set_file_times(const std::string& path, std::int64_t seconds, std::int64_t nanoseconds) {
    if (!usable(path)) return EINVAL;
    const timespec times[2] = {{static_cast<time_t>(seconds), static_cast<long>(nanoseconds)},
                               {static_cast<time_t>(seconds), static_cast<long>(nanoseconds)}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 ? 0 : errno;
}

unsigned long process_id() { return static_cast<unsigned long>(::getpid()); }

std::optional<std::string> library_file_of(const void* address) {
    Dl_info loaded{};
    if (::dladdr(address, &loaded) == 0 || loaded.dli_fname == nullptr) return std::nullopt;
    return std::string(loaded.dli_fname);
}

ReadFile::~ReadFile() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

int ReadFile::open(const std::string& path) {
    if (!usable(path)) return EINVAL;
    // O_NONBLOCK keeps a FIFO from blocking the open; it changes nothing for
    // regular files.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return errno;
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = descriptor;
    return 0;
}

int ReadFile::status(FileStatus& status) const {
    struct stat info {};
    if (::fstat(static_cast<int>(handle_), &info) != 0) return errno;
    status = status_of(info);
    return 0;
}

long long ReadFile::read(std::uint8_t* buffer, std::size_t length) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), buffer, length);
        if (got >= 0) return got;
        if (errno != EINTR) return -errno;
    }
}

long long ReadFile::read_at(std::uint64_t offset, std::uint8_t* buffer, std::size_t length) {
    for (;;) {
        const ssize_t got = ::pread(static_cast<int>(handle_), buffer, length, static_cast<off_t>(offset));
        if (got >= 0) return got;
        if (errno != EINTR) return -errno;
    }
}

NewFile::~NewFile() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    if (!path_.empty()) ::unlink(path_.c_str());
}

int NewFile::create(const std::string& path) {
    if (!usable(path)) return EINVAL;
    // 0666 as a plain open would use, so the process's umask decides.
    const int descriptor = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (descriptor < 0) return errno;
    handle_ = descriptor;
    path_ = path;
    return 0;
}

int NewFile::write_and_close(std::string_view contents) {
    const int descriptor = static_cast<int>(handle_);
    while (!contents.empty()) {
        const ssize_t written = ::write(descriptor, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    while (::fsync(descriptor) != 0) {
        if (errno != EINTR) return errno;
    }
    // A failed close can mean lost data on network file systems: not a success.
    handle_ = -1;
    return ::close(descriptor) == 0 ? 0 : errno;
}

}  // namespace lumo::base::platform

#endif  // _WIN32
