// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/JpegFile.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "viewer/RegularFile.h"
#include "work/JobContext.h"

namespace pictaria {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::atomic<PictureFileReader> fileReader{nullptr};

// A stream read through the installed reader, with a buffer of its own of the size the decoder
// asks for: without one, the C library would ask the reader 8 KiB at a time, where it reads a
// file of the disk 64 KiB at a call.
struct ReaderStream {
    int fd;
    char buffer[64 * 1024];
};

FileHandle throughReader(int fd) {
    cookie_io_functions_t functions{};
    functions.read = [](void* cookie, char* buffer, std::size_t size) -> ssize_t {
        return fileReader.load()(static_cast<ReaderStream*>(cookie)->fd, buffer, size);
    };
    functions.close = [](void* cookie) {
        const auto* stream = static_cast<ReaderStream*>(cookie);
        const int closed = ::close(stream->fd);
        delete stream;
        return closed;
    };
    auto* stream = new ReaderStream{fd, {}};
    FileHandle file(::fopencookie(stream, "rb", functions));
    if (!file) {
        delete stream;
        return nullptr;
    }
    std::setvbuf(file.get(), stream->buffer, _IOFBF, sizeof stream->buffer);
    return file;
}

FileHandle openForReading(std::string_view pathText) {
    const int fd = openRegularFile(pathText);
    if (fd < 0) {
        return nullptr;
    }
    FileHandle file(fileReader.load() ? throughReader(fd) : FileHandle(::fdopen(fd, "rb")));
    if (!file) {
        ::close(fd);
    }
    return file;
}

}  // namespace

void setPictureFileReader(PictureFileReader reader) {
    fileReader = reader;
}

LoadedPicture loadJpegFile(std::string_view pathText, const ScaleChooser& scaleFor, bool palette,
                           const std::atomic<bool>* cancelled, const ColourProfile& output) {
    const FileHandle file = openForReading(pathText);
    if (!file) {
        return {};
    }
    JpegLimits limits = defaultJpegLimits();
    // Asked before each read of the file: the read before it has returned, so the file's
    // volume answers (a job waiting on a card is told apart from one on a card that hangs).
    limits.cancelled = [](void* flag) {
        noteVolumeAnswered();
        return flag && static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
    };
    limits.cancelContext = const_cast<std::atomic<bool>*>(cancelled);
    JpegDecoder decoder(limits);
    decoder.setOutputProfile(output);
    return decoder.decodeFile(file.get(), scaleFor, palette);
}

}  // namespace pictaria
