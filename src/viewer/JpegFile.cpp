#include "viewer/JpegFile.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "viewer/RegularFile.h"

namespace pictaria {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle openForReading(std::string_view pathText) {
    const int fd = openRegularFile(pathText);
    if (fd < 0) {
        return nullptr;
    }
    FileHandle file(::fdopen(fd, "rb"));
    if (!file) {
        ::close(fd);
    }
    return file;
}

}  // namespace

LoadedPicture loadJpegFile(std::string_view pathText, const ScaleChooser& scaleFor, bool palette) {
    const FileHandle file = openForReading(pathText);
    if (!file) {
        return {};
    }
    JpegDecoder decoder;
    return decoder.decodeFile(file.get(), scaleFor, palette);
}

}  // namespace pictaria
