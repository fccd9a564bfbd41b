// An open file descriptor owned by one scope.
#pragma once

#include <unistd.h>

#include <cerrno>

namespace lumo::base {

/// Closes a descriptor when it goes out of scope, unless closed before.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    /// Closes now and reports close's errno (0 when it succeeded): a write is
    /// only known to have reached the file once close has said so.
    int close_now() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

}  // namespace lumo::base
