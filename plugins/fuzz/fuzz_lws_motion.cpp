// Fuzzes the scene converter's motion-file reading: any bytes must either be
// refused with a message or give a scene, never read outside what was read.
#include "load/lws_convert.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path dir = [] {
        auto d =
            std::filesystem::temp_directory_path() / ("kv-fuzz-lws-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    const std::string motion = (dir / "input.kvm").string();
    const std::string scene = (dir / "input.lws").string();
    std::FILE* f = std::fopen(motion.c_str(), "wb");
    if (!f)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
    // A tiny time scale and a large skip keep the scene a few keys long
    // whatever the motion's length, while sampling still walks every frame.
    kv::lws::SceneSettings settings;
    settings.frameSkip = 100000;
    settings.timeScalePercent = 1e-30;
    kv::lws::convertMotionToScene(motion, scene, 1.0, settings);
    std::filesystem::remove(scene);
    return 0;
}
