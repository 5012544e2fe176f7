#pragma once

// Owns a POSIX file descriptor and closes it when it goes out of scope.

#include <unistd.h>

namespace platform {

class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : FFd(fd) {}
    ~TFileDescriptor()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return FFd; }
    // Closes now and reports the result (close can report a failed delayed write).
    bool Close()
    {
        const int fd = FFd;
        FFd = -1;
        return fd >= 0 && ::close(fd) == 0;
    }

private:
    int FFd;
};

} // namespace platform
