// The platform layer on Windows. Paths are UTF-8 in the engine and UTF-16 in
// the system: they are converted here, at the boundary, and every call is the
// wide one. Windows error codes become the errno values the engine reports.
#ifdef _WIN32

#include "base/platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string_view>

namespace lumo::base::platform {
namespace {

std::wstring wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
    return out;
}

std::string narrow(const wchar_t* text, std::size_t size) {
    if (size == 0) return std::string();
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), out.data(), length, nullptr, nullptr);
    return out;
}

/// The errno value that stands for a Windows error code.
int errno_of(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_NAME: case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED: case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_FILE_EXISTS: case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_NOT_ENOUGH_MEMORY: case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_PRIVILEGE_NOT_HELD: return EPERM;
    case ERROR_NOT_SUPPORTED: case ERROR_INVALID_FUNCTION: return ENOSYS;
    default: return EIO;
    }
}

int last_errno() { return errno_of(::GetLastError()); }

bool usable(const std::string& path) { return path.find('\0') == std::string::npos; }

/// Seconds and nanoseconds since 1970 of a FILETIME (100 ns steps since 1601).
void unix_time(const FILETIME& time, std::int64_t& seconds, std::int64_t& nanoseconds) {
    constexpr std::int64_t kStepsFrom1601To1970 = 116444736000000000LL;
    const std::int64_t steps =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) -
        kStepsFrom1601To1970;
    seconds = steps >= 0 ? steps / 10'000'000 : -((-steps + 9'999'999) / 10'000'000);
    nanoseconds = (steps - seconds * 10'000'000) * 100;
}

FILETIME file_time(std::int64_t seconds, std::int64_t nanoseconds) {
    const std::uint64_t steps = static_cast<std::uint64_t>(seconds * 10'000'000 + nanoseconds / 100 +
                                                           116444736000000000LL);
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(steps);
    time.dwHighDateTime = static_cast<DWORD>(steps >> 32);
    return time;
}

int status_of_handle(HANDLE handle, FileStatus& status) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        status = FileStatus{};
        status.type = FileType::other;
        return 0;
    }
    if (!::GetFileInformationByHandle(handle, &info)) return last_errno();
    status.type = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? FileType::symbolic_link
                  : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)   ? FileType::directory
                                                                           : FileType::regular;
    status.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status.device = info.dwVolumeSerialNumber;
    status.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    unix_time(info.ftLastWriteTime, status.modified_seconds, status.modified_nanoseconds);
    return 0;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

/// Whether an error may be another process holding the file for a moment: an
/// antivirus scan, an indexer, a reader or writer of the index file replacing it.
bool is_transient(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED || code == ERROR_LOCK_VIOLATION;
}

/// Runs `attempt` (true on success) again while it fails with a transient
/// error, for up to about a second: Windows refuses to replace or open a file
/// in the middle of another process's replacement, where POSIX systems never do.
template <typename Attempt>
bool with_retries(Attempt attempt) {
    for (int tries = 0;; ++tries) {
        if (attempt()) return true;
        if (tries >= 200 || !is_transient(::GetLastError())) return false;
        ::Sleep(tries < 10 ? 0 : 5);
    }
}

HANDLE as_handle(long long value) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(value)); }
long long as_number(HANDLE handle) { return static_cast<long long>(reinterpret_cast<std::intptr_t>(handle)); }

}  // namespace

int file_status(const std::string& path, bool follow_links, FileStatus& status) {
    if (!usable(path)) return EINVAL;
    // Directories open only with backup semantics; a link itself with the reparse flag.
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow_links ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    HANDLE handle = ::CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, flags,
                                  nullptr);
    if (handle == INVALID_HANDLE_VALUE) return last_errno();
    const int error = status_of_handle(handle, status);
    ::CloseHandle(handle);
    if (error == 0 && follow_links && status.type == FileType::symbolic_link) status.type = FileType::other;
    return error;
}

int list_directory(const std::string& directory, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    if (!usable(directory)) return EINVAL;
    std::wstring pattern = wide(directory);
    if (!pattern.empty() && pattern.back() != L'/' && pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return last_errno();
    int error = 0;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const DWORD attributes = found.dwFileAttributes;
        const EntryType type = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryType::unknown
                               : (attributes & FILE_ATTRIBUTE_DIRECTORY)   ? EntryType::directory
                                                                           : EntryType::not_directory;
        entries.push_back({narrow(name.data(), name.size()), type});
    } while (::FindNextFileW(search, &found));
    if (::GetLastError() != ERROR_NO_MORE_FILES) error = last_errno();
    ::FindClose(search);
    return error;
}

int make_directory(const std::string& path) {
    if (!usable(path)) return EINVAL;
    if (::CreateDirectoryW(wide(path).c_str(), nullptr)) return 0;
    const int error = last_errno();
    if (error != ENOENT) return error;
    // A parent that is a file, not a missing one: ENOTDIR, as POSIX systems say.
    std::string parent = path;
    while (!parent.empty() && is_path_separator(parent.back())) parent.pop_back();
    while (!parent.empty() && !is_path_separator(parent.back())) parent.pop_back();
    while (!parent.empty() && is_path_separator(parent.back())) parent.pop_back();
    FileStatus status;
    if (!parent.empty() && file_status(parent, true, status) == 0 && status.type != FileType::directory) return ENOTDIR;
    return error;
}

std::optional<std::string> current_directory() {
    const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
    if (length == 0) return std::nullopt;
    std::wstring buffer(length, L'\0');
    const DWORD written = ::GetCurrentDirectoryW(length, buffer.data());
    if (written == 0 || written >= length) return std::nullopt;
    return narrow(buffer.data(), written);
}

bool is_absolute_path(std::string_view path) {
    // "C:\\x" or "C:/x", and "\\\\server\\share"; "\\x" and "C:x" depend on the working drive.
    if (path.size() >= 3 && path[1] == ':' && is_path_separator(path[2])) return true;
    return path.size() >= 2 && is_path_separator(path[0]) && is_path_separator(path[1]);
}

namespace {

std::optional<std::string> environment(const wchar_t* name) {
    const DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return std::nullopt;
    std::wstring buffer(length, L'\0');
    const DWORD written = ::GetEnvironmentVariableW(name, buffer.data(), length);
    if (written >= length) return std::nullopt;
    return narrow(buffer.data(), written);
}

}  // namespace

std::optional<std::string> home_directory() {
    if (auto profile = environment(L"USERPROFILE")) return profile;
    auto drive = environment(L"HOMEDRIVE"), path = environment(L"HOMEPATH");
    if (!path) return std::nullopt;
    return drive.value_or(std::string()) + *path;
}

std::optional<std::string> link_target(const std::string& path) {
    if (!usable(path)) return std::nullopt;
    FileStatus status;
    if (file_status(path, false, status) != 0 || status.type != FileType::symbolic_link) return std::nullopt;
    HANDLE handle = ::CreateFileW(wide(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    ::CloseHandle(handle);
    if (length == 0 || length >= buffer.size()) return std::nullopt;
    std::wstring_view target(buffer.data(), length);
    if (target.substr(0, 4) == L"\\\\?\\") target.remove_prefix(4);
    return narrow(target.data(), target.size());
}

int make_symbolic_link(const std::string& target, const std::string& link) {
    // Symbolic links need a privilege or developer mode on Windows, and some
    // volumes (FAT, many shares) have none: the engine's folders hold copies.
    (void)target;
    (void)link;
    return ENOTSUP;
}

int replace_file(const std::string& from, const std::string& to) {
    if (!usable(from) || !usable(to)) return EINVAL;
    const std::wstring source = wide(from), target = wide(to);
    FileStatus status;
    if (file_status(to, false, status) == 0 && status.type == FileType::directory) return EISDIR;
    if (with_retries([&] {
            return ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        }))
        return 0;
    const int error = last_errno();
    return error;
}

int remove_file(const std::string& path) {
    if (!usable(path)) return EINVAL;
    return ::DeleteFileW(wide(path).c_str()) ? 0 : last_errno();
}

int set_file_times(const std::string& path, std::int64_t seconds, std::int64_t nanoseconds) {
    if (!usable(path)) return EINVAL;
    HANDLE handle = ::CreateFileW(wide(path).c_str(), FILE_WRITE_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return last_errno();
    const FILETIME time = file_time(seconds, nanoseconds);
    const int error = ::SetFileTime(handle, nullptr, &time, &time) ? 0 : last_errno();
    ::CloseHandle(handle);
    return error;
}

unsigned long process_id() { return static_cast<unsigned long>(::GetCurrentProcessId()); }

std::optional<std::string> library_file_of(const void* address) {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(address), &module))
        return std::nullopt;
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return narrow(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

ReadFile::~ReadFile() {
    if (handle_ >= 0) ::CloseHandle(as_handle(handle_));
}

int ReadFile::open(const std::string& path) {
    if (!usable(path)) return EINVAL;
    // Backup semantics let a directory open too, so status() can say what it is.
    const std::wstring name = wide(path);
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (!with_retries([&] {
            handle = ::CreateFileW(name.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
            return handle != INVALID_HANDLE_VALUE;
        }))
        return last_errno();
    if (handle_ >= 0) ::CloseHandle(as_handle(handle_));
    handle_ = as_number(handle);
    return 0;
}

int ReadFile::status(FileStatus& status) const { return status_of_handle(as_handle(handle_), status); }

long long ReadFile::read(std::uint8_t* buffer, std::size_t length) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
    if (!::ReadFile(as_handle(handle_), buffer, wanted, &got, nullptr)) return -last_errno();
    return got;
}

long long ReadFile::read_at(std::uint64_t offset, std::uint8_t* buffer, std::size_t length) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
    if (!::ReadFile(as_handle(handle_), buffer, wanted, &got, &at)) {
        if (::GetLastError() == ERROR_HANDLE_EOF) return 0;
        return -last_errno();
    }
    return got;
}

NewFile::~NewFile() {
    if (handle_ >= 0) ::CloseHandle(as_handle(handle_));
    if (!path_.empty()) ::DeleteFileW(wide(path_).c_str());
}

int NewFile::create(const std::string& path) {
    if (!usable(path)) return EINVAL;
    HANDLE handle = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
    if (handle == INVALID_HANDLE_VALUE) return last_errno();
    handle_ = as_number(handle);
    path_ = path;
    return 0;
}

int NewFile::write_and_close(std::string_view contents) {
    HANDLE handle = as_handle(handle_);
    while (!contents.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(contents.size(), 1u << 30));
        if (!::WriteFile(handle, contents.data(), chunk, &written, nullptr)) return last_errno();
        contents.remove_prefix(written);
    }
    if (!::FlushFileBuffers(handle)) return last_errno();
    handle_ = -1;
    return ::CloseHandle(handle) ? 0 : last_errno();
}

}  // namespace lumo::base::platform

#endif  // _WIN32
