// KestrovaneSave: the Modeler mesh-edit command "Kestrovane-SaveDXF". It saves
// the selected polygons of the current object as a DXF file that the simulator
// imports as terrain, scenery or vehicle geometry, optionally keeping only
// every n-th polygon. The mesh itself is never changed.

#include "common/host_globals.h"
#include "common/module_descriptor.h"
#include "common/panel_controls.h"
#include "common/utf8_files.h"
#include "dxf_faces.h"
#include "lw_interface.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

using kv::lwsave::Face;
using kv::lwsave::PolygonFan;

constexpr int kNameBuffer = 256; ///< characters of each file-request buffer

void show(LWMessageFuncs* messages, const std::string& text) {
    messages->info(text.c_str(), nullptr);
}

/// Selected, not hidden, and with an area: one- and two-point polygons are
/// neither written nor counted.
bool qualifies(const EDPolygonInfo* polygon) {
    return polygon && (polygon->flags & EDDF_SELECT) != 0 &&
           (polygon->flags & KV_EDPF_HIDDEN) == 0 && polygon->numPnts > 2 &&
           polygon->points != nullptr;
}

/// State of one save shared with the scan callbacks.
struct SaveScan {
    MeshEditOp* op = nullptr;
    std::FILE* file = nullptr;
    int skip = 1;        ///< write every n-th qualifying polygon
    long qualifying = 0; ///< qualifying polygons seen in this scan
    bool writeFailed = false;
};

EDError countPolygon(void* data, const EDPolygonInfo* polygon) {
    auto* scan = static_cast<SaveScan*>(data);
    if (qualifies(polygon))
        ++scan->qualifying;
    return EDERR_NONE;
}

void writeText(SaveScan& scan, const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), scan.file) != text.size())
        scan.writeFailed = true;
}

EDError writePolygon(void* data, const EDPolygonInfo* polygon) {
    auto* scan = static_cast<SaveScan*>(data);
    if (!qualifies(polygon))
        return EDERR_NONE;
    const bool write = scan->qualifying % scan->skip == 0;
    ++scan->qualifying;
    if (!write)
        return EDERR_NONE;
    PolygonFan fan([scan](const Face& face) { writeText(*scan, kv::lwsave::dxfFace(face)); });
    for (int i = 0; i < polygon->numPnts; ++i) {
        const EDPointInfo* point = scan->op->pointInfo(scan->op->state, polygon->points[i]);
        if (!point)
            return EDERR_BADARGS;
        fan.addPoint({point->position[0], point->position[1], point->position[2]});
    }
    fan.finish();
    return EDERR_NONE;
}

/// Asks for "Skip Polygons"; false when the user cancels.
bool askSkip(LWPanelFuncs* panels, int& skip) {
    using namespace kv::lwplug;
    LWPanelID panel = createKestrovanePanel(panels);
    if (!panel)
        return true; // no panel to show: keep every polygon
    LWControl* control = addNumControl(panels, panel, "Skip Polygons");
    if (!control) {
        panels->destroy(panel);
        return true;
    }
    setInt(control, skip);
    const bool ok = runPanel(panels, panel);
    if (ok)
        skip = getInt(control);
    panels->destroy(panel);
    return ok;
}

void removeQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(kv::plugin::utf8Path(path), ec);
}

void save(MeshEditBegin* begin, LWMessageFuncs* messages, LWPanelFuncs* panels,
          LWFileReqFunc* fileRequest) {
    int skip = 1;
    if (panels && !askSkip(panels, skip))
        return;
    if (skip < 1)
        return show(messages, "Skip polygons must be greater than 0");

    char name[kNameBuffer] = ">Kestrovane.dxf";
    char path[kNameBuffer] = "\\";
    char fullName[kNameBuffer] = "";
    if (fileRequest("Select the DXF filename:", name, path, fullName, kNameBuffer) != 1)
        return;
    fullName[kNameBuffer - 1] = '\0';
    const std::string target = fullName;
    if (target.empty())
        return;

    // Written beside the target and renamed into place, so a save that stops
    // early never replaces an earlier file.
    const std::string temp = target + ".kvtmp";
    SaveScan scan;
    scan.skip = skip;
    scan.file = kv::plugin::openUtf8(temp, "w");
    if (!scan.file)
        return show(messages, "The DXF file \"" + target + "\" could not be created.");

    scan.op = begin(0, 0, OPSEL_USER);
    if (!scan.op) {
        std::fclose(scan.file);
        removeQuietly(temp);
        return show(messages, "Nothing selected.");
    }
    if (const EDError error = scan.op->polyScan(scan.op->state, countPolygon, &scan, OPLYR_FG);
        error != EDERR_NONE) {
        scan.op->done(scan.op->state, error, 0);
        std::fclose(scan.file);
        removeQuietly(temp);
        return show(messages, "The selected polygons could not be read.");
    }
    if (scan.qualifying == 0) {
        // A file without faces would replace an earlier one with nothing the
        // simulator can import.
        scan.op->done(scan.op->state, EDERR_NONE, 0);
        std::fclose(scan.file);
        removeQuietly(temp);
        return show(messages, "Nothing selected.");
    }

    writeText(scan, kv::lwsave::dxfHeader());
    scan.qualifying = 0;
    const EDError error = scan.op->polyScan(scan.op->state, writePolygon, &scan, OPLYR_FG);
    writeText(scan, kv::lwsave::dxfTrailer());
    scan.op->done(scan.op->state, EDERR_NONE, 0);

    bool ok = !scan.writeFailed && std::ferror(scan.file) == 0;
    ok = std::fclose(scan.file) == 0 && ok;
    if (ok) {
        std::error_code ec;
        std::filesystem::rename(kv::plugin::utf8Path(temp), kv::plugin::utf8Path(target), ec);
        ok = !ec;
    }
    if (!ok) {
        removeQuietly(temp);
        return show(messages, "The DXF file \"" + target + "\" could not be written.");
    }
    if (error != EDERR_NONE) {
        return show(messages, "Object saved to \"" + target +
                                  "\", but a polygon whose points could not be read ended it.");
    }
    show(messages, "Object saved to \"" + target + "\"");
}

XCALL_(int) activateSave(int version, GlobalFunc* global, void* local, void*) {
    // A later host numbers the class higher; it is taken while its records are
    // known to begin with the members used here.
    if (version < LWMESHEDIT_VERSION || version > LWMESHEDIT_VERSION_LATEST)
        return AFUNC_BADVERSION;
    using namespace kv::lwplug;
    auto* messages = static_cast<LWMessageFuncs*>(findGlobal(global, kMessageNames));
    if (!messages)
        return AFUNC_BADGLOBAL;
    auto* panels = static_cast<LWPanelFuncs*>(findGlobal(global, kPanelNames));
    auto* fileRequest = reinterpret_cast<LWFileReqFunc*>(findGlobal(global, kFileRequestNames));
    if (!fileRequest)
        return AFUNC_BADGLOBAL;
    auto* begin = reinterpret_cast<MeshEditBegin*>(local);
    if (!begin)
        return AFUNC_BADLOCAL;
    save(begin, messages, panels, fileRequest);
    return AFUNC_OK;
}

} // namespace

KV_LW_SINGLE_SERVER_MODULE(LWMESHEDIT_CLASS, "Kestrovane-SaveDXF", activateSave)
