#pragma once
/// Control scripts: a CSV text with the header `time,x,y,a,b,key` that drives
/// a headless run. Each row's stick and buttons hold from its time until the
/// next row; its key, when given, is pressed once at its time.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

/// One row of a control script.
struct ControlRow {
    double time = 0.0; ///< s since the start of the run, rows in time order
    float x = 0.0f;    ///< stick horizontal axis -1..1, positive right
    float y = 0.0f;    ///< stick vertical axis -1..1, positive toward the user
    int buttonA = 0;   ///< 0 or 1
    int buttonB = 0;   ///< 0 or 1
    int key = 0;       ///< key code pressed at `time` (input_keys.h), 0 for none
    bool alt = false;  ///< the key is pressed with Alt (camera modes Alt+F2..Alt+F6)
};

struct ControlScript {
    std::vector<ControlRow> rows;
};

/// Longest control script read (bytes): far beyond any hand-written or
/// generated take, small enough to hold in memory.
inline constexpr std::size_t kMaxControlScriptBytes = 64u * 1024u * 1024u;

/// The key code and Alt state of a key name: Q C D X S B W G F L K R, P, ESC,
/// F1..F6, ALT+F2..ALT+F6, F11, F12 (upper or lower case). False for any other.
bool keyFromName(std::string_view name, int& key, bool& alt);

/// Parses `text`. On failure returns false and sets `error` to
/// "line N: what is wrong"; `script` is then unspecified.
bool parseControlsCsv(std::string_view text, ControlScript& script, std::string& error);

/// Reads and parses `file`; a file that cannot be read or is too long fails
/// with a message naming it.
bool loadControlsCsv(const std::string& file, ControlScript& script, std::string& error);

} // namespace kv::app
