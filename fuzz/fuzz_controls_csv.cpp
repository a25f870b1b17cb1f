// Feeds arbitrary text to the control script parser: it either fails with a
// line-numbered message or gives rows that hold only what a script may say.

#include "app/input/controls_csv.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kv::app::ControlScript script;
    std::string error;
    if (!kv::app::parseControlsCsv(text, script, error)) {
        if (error.rfind("line ", 0) != 0 && error.find("longer than") == std::string::npos)
            __builtin_trap();
        return 0;
    }
    double previous = 0.0;
    for (const kv::app::ControlRow& row : script.rows) {
        if (!(row.time >= previous) || !(row.x >= -1.0f && row.x <= 1.0f) ||
            !(row.y >= -1.0f && row.y <= 1.0f) || (row.buttonA & ~1) != 0 ||
            (row.buttonB & ~1) != 0 || row.key < 0 || row.key >= 256)
            __builtin_trap();
        previous = row.time;
    }
    return 0;
}
