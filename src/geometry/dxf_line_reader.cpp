#include "geometry/dxf_line_reader.h"

#include <cstring>

namespace kv::geom {

DxfLineReader::DxfLineReader(std::FILE* file, std::size_t blockBytes)
    : file_(file), capacity_(blockBytes + kDxfMaxLineChars + 1),
      buffer_(new char[blockBytes + kDxfMaxLineChars + 1]) {}

bool DxfLineReader::refill() {
    if (atEof_) {
        return false;
    }
    const std::size_t pending = end_ - pos_;
    if (pos_ != 0 && pending != 0) {
        std::memmove(buffer_.get(), buffer_.get() + pos_, pending);
    }
    pos_ = 0;
    end_ = pending;
    const std::size_t got = std::fread(buffer_.get() + end_, 1, capacity_ - end_, file_);
    if (got == 0) {
        atEof_ = true;
        failed_ = std::ferror(file_) != 0;
        return false;
    }
    end_ += got;
    bufferHasNul_ = std::memchr(buffer_.get(), '\0', end_) != nullptr;
    return true;
}

DxfLineReader::Status DxfLineReader::next(std::string_view& line) {
    for (;;) {
        const char* const begin = buffer_.get() + pos_;
        const char* const stop = buffer_.get() + end_;
        const char* p = begin + searched_;
        while (p < stop && *p != '\n' && *p != '\r') {
            ++p;
        }
        const std::size_t length = static_cast<std::size_t>(p - begin);
        if (length > kDxfMaxLineChars) {
            return Status::TooLong;
        }
        if (p < stop) {
            std::size_t terminator = 1;
            if (*p == '\r') {
                if (p + 1 == stop && !atEof_) {
                    // The pair may straddle the block boundary: look at the
                    // next block before deciding.
                    searched_ = length;
                    if (refill()) {
                        continue;
                    }
                    if (failed_) {
                        return Status::Failed;
                    }
                } else if (p + 1 < stop && p[1] == '\n') {
                    terminator = 2;
                }
            }
            line = std::string_view(buffer_.get() + pos_, length);
            pos_ += length + terminator;
            charactersRead_ += length + terminator;
            searched_ = 0;
            break;
        }
        searched_ = length;
        if (!refill()) {
            if (failed_) {
                return Status::Failed;
            }
            if (length == 0) {
                return Status::End;
            }
            line = std::string_view(buffer_.get() + pos_, length);
            pos_ += length;
            charactersRead_ += length;
            searched_ = 0;
            break;
        }
    }
    if (bufferHasNul_) {
        const void* nul = std::memchr(line.data(), '\0', line.size());
        if (nul != nullptr) {
            line = line.substr(
                0, static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));
        }
    }
    return Status::Line;
}

} // namespace kv::geom
