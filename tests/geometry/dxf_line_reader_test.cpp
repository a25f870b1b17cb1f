#include "geometry/dxf_line_reader.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace kv::geom {
namespace {

struct Lines {
    std::vector<std::string> lines;
    DxfLineReader::Status last;
    std::uint64_t characters;
};

Lines readLines(std::string_view bytes, std::size_t blockBytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    DxfLineReader reader(file.get(), blockBytes);
    Lines out;
    std::string_view line;
    while ((out.last = reader.next(line)) == DxfLineReader::Status::Line) {
        out.lines.emplace_back(line);
    }
    out.characters = reader.charactersRead();
    return out;
}

using V = std::vector<std::string>;

TEST(DxfLineReader, LineEnds) {
    struct Case {
        std::string bytes;
        V lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        // A lone CR ends a line; the CRLF pair after it ends an empty one.
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\r\n", {"a", ""}},
        {"a\r", {"a"}},
        {"\r\n\r\n", {"", ""}},
        // A NUL ends the line as a C string sees it; the rest is skipped.
        {std::string("ab\0cd\nef", 8), {"ab", "ef"}},
    };
    for (const Case& c : cases) {
        for (std::size_t block :
             {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{64}}) {
            const Lines got = readLines(c.bytes, block);
            EXPECT_EQ(got.lines, c.lines) << "block " << block;
            EXPECT_EQ(got.last, DxfLineReader::Status::End);
            EXPECT_EQ(got.characters, c.bytes.size());
        }
    }
}

TEST(DxfLineReader, LongestLineIs255Characters) {
    for (std::size_t block : {std::size_t{7}, std::size_t{256}, std::size_t{1} << 20}) {
        const std::string line255(255, 'x');
        const Lines ok = readLines("a\n" + line255 + "\r\nb", block);
        EXPECT_EQ(ok.lines, (V{"a", line255, "b"}));
        EXPECT_EQ(ok.last, DxfLineReader::Status::End);

        for (const std::string& bad :
             {"a\n" + std::string(256, 'x') + "\nb\n", "a\n" + std::string(256, 'x'),
              "a\n" + std::string(5000, 'x') + "\n"}) {
            const Lines got = readLines(bad, block);
            EXPECT_EQ(got.lines, V{"a"});
            EXPECT_EQ(got.last, DxfLineReader::Status::TooLong);
        }
    }
}

TEST(DxfLineReader, BlockSizeDoesNotChangeTheLines) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', '1', ' ', '\r', '\n', '\0'};
    std::uniform_int_distribution<int> pick(0, 5);
    for (int trial = 0; trial < 50; ++trial) {
        std::string bytes;
        for (int i = 0; i < 600; ++i) {
            bytes.push_back(alphabet[pick(random)]);
        }
        const Lines whole = readLines(bytes, 1 << 16);
        for (std::size_t block :
             {std::size_t{1}, std::size_t{2}, std::size_t{5}, std::size_t{17}}) {
            const Lines got = readLines(bytes, block);
            EXPECT_EQ(got.lines, whole.lines);
            EXPECT_EQ(got.characters, whole.characters);
        }
    }
}

} // namespace
} // namespace kv::geom
