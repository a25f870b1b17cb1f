#include "app/follow/path_csv.h"

#include "app/input/csv_fields.h"
#include "app/settings/units_convert.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace kv::app {

namespace {

using csv::lineError;
using csv::parseDouble;
using csv::quoted;
using csv::splitFields;
using csv::trim;

constexpr const char* kHeaderHelp = "expected the header north,east[,up][,speed|,time]";

/// Largest coordinate accepted (ft): far beyond any scene, small enough to
/// stay exact in single precision steps of a foot.
constexpr double kMaxCoordinateFt = 1.0e7;

/// Largest speed or time accepted (working speed unit, s): the speeds are
/// converted in single precision and the run's frame times are singles, so a
/// larger figure (a typo of many digits) would become infinity there.
constexpr double kMaxTiming = static_cast<double>(std::numeric_limits<float>::max());

/// Speeds of the points without one, linear in distance along the path
/// between the nearest points that give one (the nearest one past either end).
void fillSpeeds(FollowPath& path) {
    auto& p = path.points;
    std::vector<double> s(p.size(), 0.0);
    for (std::size_t i = 1; i < p.size(); ++i)
        s[i] = s[i - 1] + std::hypot(p[i].north - p[i - 1].north, p[i].east - p[i - 1].east);
    std::size_t before = p.size(); // last timed point seen
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i].timed) {
            before = i;
            continue;
        }
        std::size_t after = i + 1;
        while (after < p.size() && !p[after].timed)
            ++after;
        if (before == p.size()) {
            p[i].speed = p[after].speed;
        } else if (after == p.size()) {
            p[i].speed = p[before].speed;
        } else {
            const double span = s[after] - s[before];
            const double f = span > 0.0 ? (s[i] - s[before]) / span : 0.0;
            p[i].speed = p[before].speed + f * (p[after].speed - p[before].speed);
        }
    }
}

} // namespace

bool parsePathCsv(std::string_view text, float lengthUnitFactor, FollowPath& path,
                  std::string& error) {
    path = FollowPath{};
    if (text.size() > kMaxPathCsvBytes) {
        error =
            "the path is longer than " + std::to_string(kMaxPathCsvBytes / (1024u * 1024u)) + " MB";
        return false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const double feetPerUnit = static_cast<double>(lengthUnitFactor);
    std::size_t lineNumber = 0;
    bool headerSeen = false;
    std::size_t columns = 0;
    int upColumn = -1;
    int timingColumn = -1;
    double lastMark = -1.0; ///< time of the last mark read (s)
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!headerSeen) {
            std::array<std::string_view, 4> names{};
            std::string lower[4];
            if (!splitFields(line, names, columns) || columns < 2) {
                error = lineError(lineNumber, kHeaderHelp);
                return false;
            }
            for (std::size_t i = 0; i < columns; ++i) {
                for (char c : names[i])
                    lower[i] += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            bool ok = lower[0] == "north" && lower[1] == "east";
            for (std::size_t i = 2; ok && i < columns; ++i) {
                if (lower[i] == "up" && i == 2) {
                    upColumn = 2;
                } else if ((lower[i] == "speed" || lower[i] == "time") && timingColumn < 0) {
                    timingColumn = static_cast<int>(i);
                    path.timing = lower[i] == "speed" ? PathTiming::Speeds : PathTiming::Times;
                } else {
                    ok = false;
                }
            }
            if (!ok ||
                (timingColumn >= 0 && static_cast<std::size_t>(timingColumn) + 1 != columns)) {
                error = lineError(lineNumber, kHeaderHelp);
                return false;
            }
            path.hasHeights = upColumn >= 0;
            headerSeen = true;
            continue;
        }
        if (line.empty())
            continue;
        std::array<std::string_view, 4> fields{};
        std::size_t count = 0;
        if (!splitFields(line, fields, count) || count != columns) {
            error = lineError(lineNumber, "expected " + std::to_string(columns) +
                                              " numbers as the header names, found " +
                                              std::to_string(count));
            return false;
        }
        static constexpr const char* kNames[4] = {"north", "east", "up", ""};
        std::array<double, 4> v{};
        for (std::size_t i = 0; i < count; ++i) {
            if (static_cast<int>(i) == timingColumn && fields[i].empty())
                continue; // no speed or time at this point
            const bool lengthColumn = static_cast<int>(i) != timingColumn;
            if (!parseDouble(fields[i], v[i]) ||
                (lengthColumn && std::fabs(v[i] * feetPerUnit) > kMaxCoordinateFt)) {
                const std::string name = lengthColumn                        ? kNames[i]
                                         : path.timing == PathTiming::Speeds ? "speed"
                                                                             : "time";
                error = lineError(lineNumber, name + " must be a number, not " + quoted(fields[i]));
                return false;
            }
        }
        PathPoint p;
        p.north = v[0] * feetPerUnit;
        p.east = v[1] * feetPerUnit;
        if (upColumn >= 0)
            p.up = v[2] * feetPerUnit;
        if (timingColumn >= 0 && !fields[static_cast<std::size_t>(timingColumn)].empty()) {
            const double t = v[static_cast<std::size_t>(timingColumn)];
            p.timed = true;
            if (t > kMaxTiming) {
                error = lineError(
                    lineNumber, std::string(path.timing == PathTiming::Speeds ? "speed" : "time") +
                                    " is too large: " + quoted(fields[timingColumn]));
                return false;
            }
            if (path.timing == PathTiming::Speeds) {
                if (t < 0.0) {
                    error = lineError(lineNumber, "speed must be 0 or more, not " +
                                                      quoted(fields[timingColumn]));
                    return false;
                }
                p.speed =
                    static_cast<double>(fromDisplaySpeed(static_cast<float>(t), lengthUnitFactor));
                if (!std::isfinite(p.speed)) {
                    error = lineError(lineNumber,
                                      "speed is too large: " + quoted(fields[timingColumn]));
                    return false;
                }
            } else {
                if (t < 0.0 || (lastMark >= 0.0 && t <= lastMark)) {
                    error = lineError(lineNumber, "time must be 0 or more and later than the "
                                                  "time of the mark before, not " +
                                                      quoted(fields[timingColumn]));
                    return false;
                }
                p.time = t;
                lastMark = t;
            }
        }
        if (path.points.size() >= kMaxPathPoints) {
            error = lineError(lineNumber,
                              "too many points (at most " + std::to_string(kMaxPathPoints) + ")");
            return false;
        }
        path.points.push_back(p);
    }
    if (!headerSeen) {
        error = lineError(1, kHeaderHelp);
        return false;
    }
    if (path.points.size() < kMinPathPoints) {
        error =
            "a path needs at least two points, this one has " + std::to_string(path.points.size());
        return false;
    }
    if (path.timing != PathTiming::None) {
        bool any = false;
        for (const PathPoint& p : path.points)
            any = any || p.timed;
        if (!any) {
            error = path.timing == PathTiming::Speeds ? "no point gives a speed"
                                                      : "no point gives a time";
            return false;
        }
    }
    if (path.timing == PathTiming::Speeds)
        fillSpeeds(path);
    return true;
}

} // namespace kv::app
