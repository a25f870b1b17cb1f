#include "app/input/controls_csv.h"

#include "app/input/csv_fields.h"
#include "app/input/input_keys.h"
#include "common/file_names.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

namespace kv::app {

namespace {

using csv::lineError;
using csv::parseDouble;
using csv::quoted;
using csv::trim;

constexpr std::string_view kHeader = "time,x,y,a,b,key";

struct KeyName {
    std::string_view name;
    int key;
    bool alt;
};

constexpr std::array<KeyName, 27> kKeyNames{{
    {"Q", 'Q', false},        {"C", 'C', false},          {"D", 'D', false},
    {"X", 'X', false},        {"S", 'S', false},          {"B", 'B', false},
    {"W", 'W', false},        {"G", 'G', false},          {"F", 'F', false},
    {"L", 'L', false},        {"K", 'K', false},          {"R", 'R', false},
    {"P", 'P', false},        {"ESC", kKeyEscape, false}, {"F1", kKeyF1, false},
    {"F2", kKeyF2, false},    {"F3", kKeyF3, false},      {"F4", kKeyF4, false},
    {"F5", kKeyF5, false},    {"F6", kKeyF6, false},      {"ALT+F2", kKeyF2, true},
    {"ALT+F3", kKeyF3, true}, {"ALT+F4", kKeyF4, true},   {"ALT+F5", kKeyF5, true},
    {"ALT+F6", kKeyF6, true}, {"F11", kKeyF11, false},    {"F12", kKeyF12, false},
}};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool parseRow(std::string_view text, ControlRow& row, std::string& what) {
    std::array<std::string_view, 6> fields{};
    std::size_t count = 0;
    if (!csv::splitFields(text, fields, count)) {
        what = "too many fields (expected time,x,y,a,b,key)";
        return false;
    }
    if (count < 5) {
        what = "too few fields (expected time,x,y,a,b,key)";
        return false;
    }
    if (!parseDouble(fields[0], row.time) || row.time < 0.0) {
        what = "time must be a number of seconds, 0 or more, not " + quoted(fields[0]);
        return false;
    }
    const char* axisNames[2] = {"x", "y"};
    float* axes[2] = {&row.x, &row.y};
    for (std::size_t i = 0; i < 2; ++i) {
        double v = 0.0;
        if (!parseDouble(fields[1 + i], v) || v < -1.0 || v > 1.0) {
            what = std::string(axisNames[i]) + " must be a number from -1 to 1, not " +
                   quoted(fields[1 + i]);
            return false;
        }
        *axes[i] = static_cast<float>(v);
    }
    const char* buttonNames[2] = {"a", "b"};
    int* buttons[2] = {&row.buttonA, &row.buttonB};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string_view f = fields[3 + i];
        if (f != "0" && f != "1") {
            what = std::string(buttonNames[i]) + " must be 0 or 1, not " + quoted(f);
            return false;
        }
        *buttons[i] = f == "1" ? 1 : 0;
    }
    row.key = kKeyNone;
    row.alt = false;
    if (count == 6 && !fields[5].empty() && !keyFromName(fields[5], row.key, row.alt)) {
        what = "unknown key " + quoted(fields[5]) +
               " (Q C D X S B W G F L K R, P, ESC, F1-F6, ALT+F2-ALT+F6, F11, F12)";
        return false;
    }
    return true;
}

} // namespace

bool keyFromName(std::string_view name, int& key, bool& alt) {
    for (const KeyName& k : kKeyNames) {
        if (equalsIgnoringCase(name, k.name)) {
            key = k.key;
            alt = k.alt;
            return true;
        }
    }
    return false;
}

bool parseControlsCsv(std::string_view text, ControlScript& script, std::string& error) {
    script.rows.clear();
    if (text.size() > kMaxControlScriptBytes) {
        error = "the control script is longer than " +
                std::to_string(kMaxControlScriptBytes / (1024u * 1024u)) + " MB";
        return false;
    }
    // A byte-order mark some editors put before the header.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::size_t lineNumber = 0;
    bool headerSeen = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!headerSeen) {
            std::string compact;
            for (char c : line) {
                if (c != ' ' && c != '\t')
                    compact += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            if (compact != kHeader) {
                error = lineError(lineNumber, "expected the header time,x,y,a,b,key");
                return false;
            }
            headerSeen = true;
            continue;
        }
        if (line.empty())
            continue;
        ControlRow row;
        std::string what;
        if (!parseRow(line, row, what)) {
            error = lineError(lineNumber, what);
            return false;
        }
        if (!script.rows.empty() && row.time < script.rows.back().time) {
            error = lineError(lineNumber, "time goes back (rows must be in time order)");
            return false;
        }
        script.rows.push_back(row);
    }
    if (!headerSeen) {
        error = lineError(1, "expected the header time,x,y,a,b,key");
        return false;
    }
    return true;
}

bool loadControlsCsv(const std::string& file, ControlScript& script, std::string& error) {
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> in(kv::openFile(pathFromUtf8(file), "rb"));
    if (!in) {
        error = "cannot open the control script " + file;
        return false;
    }
    std::string text;
    std::array<char, 65536> buffer{};
    while (true) {
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), in.get());
        text.append(buffer.data(), n);
        if (text.size() > kMaxControlScriptBytes) {
            error = file + ": the control script is longer than " +
                    std::to_string(kMaxControlScriptBytes / (1024u * 1024u)) + " MB";
            return false;
        }
        if (n < buffer.size())
            break;
    }
    if (std::ferror(in.get())) {
        error = "cannot read the control script " + file;
        return false;
    }
    if (!parseControlsCsv(text, script, error)) {
        error = file + ": " + error;
        return false;
    }
    return true;
}

} // namespace kv::app
