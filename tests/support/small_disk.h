#pragma once

// A small file system of its own, to run operations into a full disk. Mounting needs
// privileges that not every test machine grants; tests skip when it cannot be had.

#include "support/temp_folder.h"

#include <string>
#include <sys/mount.h>

namespace quillet::test {

class SmallDisk {
public:
    explicit SmallDisk(int kilobytes) {
        const std::string options = "size=" + std::to_string(kilobytes) + "k";
        mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const NativePath& path() const { return dir_.path(); }

private:
    TempFolder dir_;
    bool mounted_ = false;
};

} // namespace quillet::test

#define QUILLET_SKIP_WITHOUT(disk)                                                                 \
    if (!(disk).mounted())                                                                         \
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root and CAP_SYS_ADMIN); "             \
                    "the full-disk case is not checked"
