// Every-byte fault injection of a save on the Windows implementation: for
// each byte count a full disk could stop at, and for a crash before each
// step, the folder holds the old file or the new one, never neither, and no
// temporary file is left unless a crash left it. Runs under Wine; prints
// "N passed, N failed".
#include "common/atomic_file.h"
#include "common/file_names.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const std::string& what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL %s\n", what.c_str());
    }
}

std::string contents(const fs::path& file) {
    std::string out;
    std::FILE* in = kv::openFile(file, "rb");
    if (in == nullptr)
        return "<missing>";
    char buffer[256];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        out.append(buffer, n);
    std::fclose(in);
    return out;
}

std::size_t entries(const fs::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++n;
    return n;
}

bool save(const fs::path& target, const std::string& text) {
    return kv::writeFileAtomically(target, [&](std::FILE* out) {
        // Byte by byte, as the savers' many small writes reach the stream.
        for (const char c : text) {
            if (std::fputc(c, out) == EOF)
                return false;
        }
        return true;
    });
}

struct Crash {};

} // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / kv::pathFromUtf8("kv-faults-Straße-東京");
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path target = folder / kv::pathFromUtf8("Straße 東京.kvm");
    const std::string oldText = "the old take\n";
    std::string newText;
    for (int i = 0; i < 40; ++i)
        newText += "frame " + std::to_string(i) + " of the new take\n";

    check(save(target, oldText) && contents(target) == oldText, "first save");

    for (std::size_t limit = 0; limit < newText.size(); ++limit) {
        kv::AtomicWriteFaults faults;
        faults.byteLimit = limit;
        kv::setAtomicWriteFaults(&faults);
        const bool saved = save(target, newText);
        kv::setAtomicWriteFaults(nullptr);
        const std::string now = contents(target);
        check(!saved && now == oldText && entries(folder) == 1,
              "disk full after " + std::to_string(limit) + " bytes: saved " +
                  std::to_string(saved) + ", " + std::to_string(entries(folder)) + " files");
    }

    for (const auto step : {kv::AtomicWriteStep::CreateTemporary, kv::AtomicWriteStep::WriteBody,
                            kv::AtomicWriteStep::Sync, kv::AtomicWriteStep::Rename}) {
        kv::AtomicWriteFaults faults;
        faults.beforeStep = [step](kv::AtomicWriteStep s) {
            if (s == step)
                throw Crash{};
        };
        kv::setAtomicWriteFaults(&faults);
        bool crashed = false;
        try {
            save(target, newText);
        } catch (const Crash&) {
            crashed = true;
        }
        kv::setAtomicWriteFaults(nullptr);
        const std::string now = contents(target);
        check(crashed && (now == oldText || now == newText),
              "crash before step " + std::to_string(static_cast<int>(step)));
        // What a crash leaves is only ever a hidden temporary beside the target.
        for (const auto& e : fs::directory_iterator(folder)) {
            if (e.path() != target) {
                check(kv::utf8Name(e.path().filename()).rfind(".Straße 東京.kvm.", 0) == 0,
                      "left over: " + kv::utf8Name(e.path().filename()));
                fs::remove(e.path());
            }
        }
    }

    check(save(target, newText) && contents(target) == newText && entries(folder) == 1,
          "a save without faults replaces the file");

    const fs::path second = folder / kv::pathFromUtf8("相机.kvm");
    for (std::size_t limit = 0; limit < 2 * newText.size(); limit += 7) {
        kv::AtomicWriteFaults faults;
        faults.byteLimit = limit;
        kv::setAtomicWriteFaults(&faults);
        const bool saved = kv::writeFilesAtomically(
            {{target, [&](std::FILE* out) { return std::fputs(oldText.c_str(), out) >= 0; }},
             {second, [&](std::FILE* out) { return std::fputs(newText.c_str(), out) >= 0; }}});
        kv::setAtomicWriteFaults(nullptr);
        if (limit < oldText.size() + newText.size()) {
            check(!saved && contents(target) == newText && !fs::exists(second) &&
                      entries(folder) == 1,
                  "pair with disk full after " + std::to_string(limit) + " bytes");
        }
    }

    fs::remove_all(folder);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
