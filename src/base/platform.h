// The operating system as the engine uses it: files, directories, links, the
// process and the loaded libraries. Every native call lives behind this
// header, in one implementation per platform family (platform_posix.cpp);
// nothing else includes a system header. Errors are errno values everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumo::base::platform {

enum class FileType : std::uint8_t { regular, directory, symbolic_link, other };

struct FileStatus {
    FileType type = FileType::other;
    std::uint64_t size = 0;
    std::int64_t modified_seconds = 0;
    std::int64_t modified_nanoseconds = 0;  // 0 to 999,999,999 within the second
    std::uint64_t device = 0;
    std::uint64_t inode = 0;  // with the device, what tells one file from another
};

/// The status of `path`, following links or of the link itself; 0 or an errno.
int file_status(const std::string& path, bool follow_links, FileStatus& status);

/// What a directory listing says of an entry without looking further: a
/// directory, something else, or not known (a link, or a file system that
/// does not say).
enum class EntryType : std::uint8_t { directory, not_directory, unknown };

struct DirectoryEntry {
    std::string name;
    EntryType type = EntryType::unknown;
};

/// The entries of `directory` ("." and ".." left out) in the order the file
/// system lists them, which is the order the host's own walk visits; 0 or an errno.
int list_directory(const std::string& directory, std::vector<DirectoryEntry>& entries);

/// Creates one directory; 0 or an errno (EEXIST when something is there).
int make_directory(const std::string& path);

/// The separator the host joins paths with, and the characters it reads as
/// separators: its own path spelling (posixpath, or ntpath on Windows).
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
constexpr bool is_path_separator(char c) { return c == '\\' || c == '/'; }
#else
inline constexpr char kPathSeparator = '/';
constexpr bool is_path_separator(char c) { return c == '/'; }
#endif

/// Whether `path` needs no working directory to be found.
bool is_absolute_path(std::string_view path);

/// The working directory; nullopt when it cannot be found.
std::optional<std::string> current_directory();

/// The home directory as the host's expanduser finds it: $HOME, else the
/// account's (POSIX); %USERPROFILE%, else %HOMEDRIVE%%HOMEPATH% (Windows).
std::optional<std::string> home_directory();

/// What the symbolic link at `path` points to; nullopt when it is none.
std::optional<std::string> link_target(const std::string& path);

/// Makes a symbolic link at `link` to `target`; 0 or an errno (EEXIST when taken).
int make_symbolic_link(const std::string& target, const std::string& link);

/// Moves `from` over `to` in one step: a reader sees the old file or the new.
int replace_file(const std::string& from, const std::string& to);

int remove_file(const std::string& path);

/// Sets the access and modification times of `path`.
int set_file_times(const std::string& path, std::int64_t seconds, std::int64_t nanoseconds);

/// A number that tells this process from the others running now.
unsigned long process_id();

/// The file of the loaded library that holds the code at `address`; nullopt
/// when the platform cannot say.
std::optional<std::string> library_file_of(const void* address);

/// A file open for reading. Opening never blocks on a FIFO or device; what it
/// is can be checked with status() before reading. Closed with the object.
class ReadFile {
public:
    ReadFile() = default;
    ~ReadFile();
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;
    ReadFile(ReadFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}
    /// Takes the other's file; the other closes this one's.
    ReadFile& operator=(ReadFile&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }

    /// 0 or an errno.
    int open(const std::string& path);
    bool is_open() const { return handle_ >= 0; }
    int status(FileStatus& status) const;
    /// Up to `length` bytes from the current position, or from `offset`:
    /// the count read (0 at the end), or minus an errno.
    long long read(std::uint8_t* buffer, std::size_t length);
    long long read_at(std::uint64_t offset, std::uint8_t* buffer, std::size_t length);

private:
    long long handle_ = -1;
};

/// A file created for writing; removed again unless commit() keeps it.
class NewFile {
public:
    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    /// Creates `path`, which must not exist yet (EEXIST otherwise), with the
    /// permissions a plain new file gets; 0 or an errno.
    int create(const std::string& path);
    /// Writes all of `contents`, flushes them to the disk and closes the file:
    /// a write is only known to have reached it once closing has said so.
    int write_and_close(std::string_view contents);
    /// Keeps the file when the object goes.
    void commit() { path_.clear(); }

private:
    long long handle_ = -1;
    std::string path_;  // removed on destruction unless committed
};

}  // namespace lumo::base::platform
