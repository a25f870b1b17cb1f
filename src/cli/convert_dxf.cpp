// kestrovane-cli convert dxf: writes the geometry of an object or motion file
// as a DXF file of 3DFACE entities, in the chosen units and axes.

#include "app/settings/memory_settings.h"
#include "cli/command.h"
#include "cli/convert_args.h"
#include "cli/convert_motion.h"
#include "cli/stderr_messages.h"
#include "cli/terminal_progress.h"
#include "common/atomic_file.h"
#include "common/file_names.h"
#include "geometry/dxf_writer.h"
#include "model/motion_file.h"
#include "model/motion_store.h"
#include "model/object_file.h"
#include "model/object_file_convert.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kv::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDxfUsage =
    "usage: kestrovane-cli convert dxf IN.kvo|IN.kvm -o OUT.dxf [--units U]\n"
    "       [--axes right|left|zup]\n"
    "\n"
    "Writes the geometry of an object or motion file as a DXF file of 3DFACE\n"
    "entities on the layer \"Kestrovane\", one face per stored triangle.\n"
    "\n"
    "  -o, --output OUT.dxf  file to write\n"
    "  --units U             length unit: mm, cm, m, in, ft or yd (default m)\n"
    "  --axes right|left|zup right-hand (x forward, y right, z down), left-hand\n"
    "                        (LightWave: x right, y up, z forward) or z-up\n"
    "                        (Blender, CAD: x west, y south, z up, as our glTF\n"
    "                        shows in Blender) coordinates (default left)\n";

/// Faces between two progress reports.
constexpr std::size_t kFacesPerReport = 1024;

using Face = std::array<double, 12>;

/// Collects the faces a reader hands over, as stored (metres, body axes).
model::GeometryIntake collectFaces(std::vector<Face>& faces) {
    return model::GeometryIntake{[&faces] { faces.clear(); },
                                 [&faces](const Face& corners) {
                                     faces.push_back(corners);
                                     return 1;
                                 }};
}

bool readObjectFaces(const fs::path& file, std::vector<Face>& faces, MessagePort& messages) {
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> in(kv::openFile(file, "rb"));
    if (!in) {
        messages.showMessage(model::kNoValidFileMessage);
        return false;
    }
    model::ObjectRecord record;
    switch (model::checkFileVersion(in.get(), messages)) {
    case model::kVersionCurrent:
        return model::readObjectFile(in.get(), model::MotionTarget{0, &record, collectFaces(faces)},
                                     false, messages);
    case model::kVersionPrevious: {
        // Converted in memory: a conversion never rewrites the file it reads.
        const auto converted = model::readPreviousObject(in.get(), utf8Name(file.stem()),
                                                         model::kRoleInteractive, messages);
        if (!converted)
            return false;
        faces.clear();
        for (const auto& t : converted->triangles) {
            Face f{};
            for (std::size_t k = 0; k < 9; ++k)
                f[k] = t[k];
            for (std::size_t k = 0; k < 3; ++k)
                f[9 + k] = t[6 + k];
            faces.push_back(f);
        }
        return true;
    }
    default:
        return false;
    }
}

bool readMotionFaces(const fs::path& file, std::vector<Face>& faces, MessagePort& messages) {
    model::MotionStore store;
    // One place more than the longest recording, for its end marker.
    if (!store.allocate(1, app::kMaxRecordFrames + 1)) {
        messages.showMessage("There is not enough memory to load the motion file.");
        return false;
    }
    model::ObjectRecord record;
    bool reportErrors = true;
    return model::loadMotion(file, model::MotionTarget{0, &record, collectFaces(faces)}, store,
                             reportErrors, messages);
}

} // namespace

int convertDxf(const std::vector<std::string>& args) {
    ConvertRequest request;
    if (const auto done = parseConvertArgs(args, "dxf", kDxfUsage, "no object or motion file given",
                                           request, true))
        return *done;
    const auto usageError = [](const std::string& why) {
        std::fprintf(stderr, "kestrovane-cli convert dxf: %s\n%s", why.c_str(), kDxfUsage);
        return kExitUsage;
    };
    if (request.output.empty())
        return usageError("no output file given (-o OUT.dxf)");
    const std::string ext = lowerExtension(request.input);
    if (ext != ".kvo" && ext != ".kvm")
        return usageError("the input must be an object (.kvo) or motion (.kvm) file");
    std::error_code ec;
    if (request.output == request.input || fs::equivalent(request.output, request.input, ec))
        return usageError("the output would replace the input file");

    StderrMessages messages("kestrovane-cli convert dxf");
    std::vector<Face> faces;
    const bool read = ext == ".kvo" ? readObjectFaces(request.input, faces, messages)
                                    : readMotionFaces(request.input, faces, messages);
    if (!read)
        return kExitFailure;
    if (faces.empty()) {
        messages.showMessage(utf8Name(request.input) + " holds no geometry to write");
        return kExitFailure;
    }

    const geom::DxfOutputUnits units{request.unit->feetPerUnit, request.axes};
    const std::unique_ptr<ProgressPort> progress = makeProgress();
    progress->start("Writing DXF");
    const bool written = writeFileAtomically(request.output, [&](std::FILE* out) {
        if (!geom::writeDxfHeader(out, units))
            return false;
        for (std::size_t i = 0; i < faces.size(); ++i) {
            if (!geom::writeDxfFace(out, faces[i], units))
                return false;
            if (i % kFacesPerReport == 0)
                progress->update(static_cast<double>(i) / static_cast<double>(faces.size()));
        }
        return geom::writeDxfTrailer(out);
    });
    progress->finish();
    if (!written) {
        messages.showMessage(model::saveFailedMessage(request.output));
        return kExitFailure;
    }
    std::printf("%s\n", utf8Name(request.output).c_str());
    return kExitOk;
}

} // namespace kv::cli
