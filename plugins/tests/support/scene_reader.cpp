#include "support/scene_reader.h"

#include <sstream>

namespace kv::plugtest {
namespace {

class Lines {
  public:
    explicit Lines(const std::string& text) {
        std::size_t start = 0;
        while (start < text.size()) {
            const auto end = text.find('\n', start);
            if (end == std::string::npos) {
                lines_.push_back(text.substr(start));
                unterminated_ = true;
                break;
            }
            lines_.push_back(text.substr(start, end - start));
            start = end + 1;
        }
    }
    bool done() const { return next_ >= lines_.size(); }
    bool unterminated() const { return unterminated_; }
    std::string take() { return done() ? std::string("<end>") : lines_[next_++]; }
    std::string peek() const { return done() ? std::string("<end>") : lines_[next_]; }
    std::size_t lineNumber() const { return next_; }

  private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    bool unterminated_ = false;
};

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

Scene parseScene(const std::string& text) {
    Scene scene;
    Lines lines(text);
    auto fail = [&](const std::string& why) {
        scene.error = "line " + std::to_string(lines.lineNumber()) + ": " + why;
        return scene;
    };
    auto expect = [&](const std::string& want) {
        const std::string got = lines.take();
        if (got != want)
            scene.error = "line " + std::to_string(lines.lineNumber()) + ": expected '" + want +
                          "', got '" + got + "'";
        return got == want;
    };
    if (lines.unterminated())
        return fail("text does not end with a line end");
    if (!expect("LWSC") || !expect("1") || !expect("") || !expect("FirstFrame 1"))
        return scene;
    std::string l = lines.take();
    if (!startsWith(l, "LastFrame "))
        return fail("expected LastFrame");
    scene.lastFrame = std::stoi(l.substr(10));
    if (!expect("FrameStep 1"))
        return scene;
    l = lines.take();
    if (!startsWith(l, "FramesPerSecond "))
        return fail("expected FramesPerSecond");
    scene.framesPerSecond = l.substr(16);
    if (!expect(""))
        return scene;

    while (!lines.done()) {
        SceneObject object;
        l = lines.take();
        if (!startsWith(l, "AddNullObject "))
            return fail("expected AddNullObject, got '" + l + "'");
        object.name = l.substr(14);
        if (!expect("ShowObject 4 7") || !expect("ObjectMotion (unnamed)") || !expect("9"))
            return scene;
        object.keyCount = std::stoi(lines.take());
        while (!startsWith(lines.peek(), "EndBehavior")) {
            if (lines.done())
                return fail("keys run to the end of the file");
            SceneKey key;
            std::istringstream values(lines.take());
            for (auto& v : key.values)
                values >> v;
            for (auto& s : key.scale)
                values >> s;
            std::string rest;
            if (!values || (values >> rest))
                return fail("a key's value line is not nine numbers");
            std::istringstream spline(lines.take());
            std::string linear, tension, continuity, bias;
            spline >> key.frame >> linear >> tension >> continuity >> bias;
            if (!spline || linear != "0" || tension != "1.0" || continuity != "0" || bias != "0") {
                return fail("a key's frame line is not 'frame 0 1.0 0 0'");
            }
            object.keys.push_back(key);
        }
        if (!expect("EndBehavior 2"))
            return scene;
        if (startsWith(lines.peek(), "ParentObject "))
            object.parent = std::stoi(lines.take().substr(13));
        if (!expect("ShadowOptions 7") || !expect(""))
            return scene;
        scene.objects.push_back(object);
    }
    return scene;
}

std::vector<int> keyFrames(const SceneObject& object) {
    std::vector<int> frames;
    for (const auto& k : object.keys)
        frames.push_back(k.frame);
    return frames;
}

} // namespace kv::plugtest
