#include "viewer/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DriveTable.h"

namespace pictaria {

int openRegularFile(std::string_view pathText) {
    const auto host = hostPathOf(pathText);
    if (!host || pathText.empty()) {
        return -1;
    }
    const int fd = ::open(host->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const int flags = ::fcntl(fd, F_GETFL);
    if (!regular || flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace pictaria
