// An open file descriptor with one owner, closed when the owner goes.
#pragma once

#include <utility>

#include <unistd.h>

namespace tresk {

struct Descriptor {
    int fd = -1;  // -1: none

    explicit Descriptor(int fd) : fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace tresk
