#pragma once
/// Buffered line reader of DXF text: large block reads, lines handed out as
/// views into the block.
///
/// The file is read as a text-mode stream: each "\r\n" pair of the file is
/// first taken as a single "\n". A line then ends at "\n", at "\r" or at the
/// end of the file, and the terminator is not part of it, so a lone "\r"
/// followed by a (translated) "\n" yields an empty line, while a file with
/// CRLF line ends reads the same as one with LF ends. Every byte consumed,
/// terminators included, is counted: the count drives the progress display.
/// Memory stays one block however large the file is.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

namespace kv::geom {

/// Longest line the reader accepts (characters, terminator excluded).
inline constexpr std::size_t kDxfMaxLineChars = 255;

class DxfLineReader {
  public:
    enum class Status {
        Line,    ///< a line was read
        End,     ///< the end of the file, nothing more to read
        TooLong, ///< a line of more than kDxfMaxLineChars characters
        Failed,  ///< the system reported a read error
    };

    /// Reads from `file` (owned by the caller) in blocks of `blockBytes`.
    explicit DxfLineReader(std::FILE* file, std::size_t blockBytes = kDefaultBlockBytes);

    /// The next line. The view stays valid until the next call and ends at
    /// the line's first NUL character, if any (as a C string would).
    Status next(std::string_view& line);

    /// Characters consumed so far, terminators included.
    std::uint64_t charactersRead() const { return charactersRead_; }

    static constexpr std::size_t kDefaultBlockBytes = std::size_t{1} << 20;

  private:
    /// Moves the unfinished line to the front and appends the next block.
    /// Returns false at the end of the file or on a read error.
    bool refill();

    std::FILE* file_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    /// Offset from pos_ already searched for a terminator.
    std::size_t searched_ = 0;
    bool atEof_ = false;
    bool failed_ = false;
    /// Whether the buffered bytes hold a NUL character.
    bool bufferHasNul_ = false;
    std::uint64_t charactersRead_ = 0;
};

} // namespace kv::geom
