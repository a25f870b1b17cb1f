#include "app/follow/follow_command.h"

#include "app/follow/path_file.h"
#include "common/unit_constants.h"

namespace kv::app {

FileRequest followPathRequest() {
    FileRequest r;
    r.title = "Follow Path:";
    r.filter = "Paths (*.csv;*.dxf);;CSV Files (*.csv);;DXF Files (*.dxf)";
    return r;
}

bool readPathToFollow(const std::filesystem::path& file, float lengthUnitFactor, FollowPath& path,
                      std::string& error) {
    return loadFollowPath(file, lengthUnitFactor, model::GeometryTransform{}, path, error);
}

std::vector<Vec3> pathLineOf(const FollowPath& path) {
    std::vector<Vec3> line;
    line.reserve(path.points.size());
    for (const PathPoint& p : path.points) {
        const double down =
            path.hasHeights ? -p.up * kMetresPerFootD : -static_cast<double>(kGroundPathLift);
        line.push_back(Vec3{static_cast<float>(p.north * kMetresPerFootD),
                            static_cast<float>(p.east * kMetresPerFootD),
                            static_cast<float>(down)});
    }
    return line;
}

} // namespace kv::app
