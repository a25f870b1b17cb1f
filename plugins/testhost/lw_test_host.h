#pragma once
/// A stand-in for the LightWave host, enough to run KestrovaneLoad and
/// KestrovaneSave outside LightWave: it loads a plug-in module (dlopen, or
/// LoadLibrary on Windows),
/// finds its descriptor and servers, and answers the global services the
/// plug-ins look up (scene information, messages, panels, file requests,
/// mesh edits) from a script, recording what the plug-in asked.
///
/// The services are plain C function tables, so they reach the host through
/// one current instance: create one TestHost at a time.

#include "lw_interface.h"

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kv::lwtest {

/// A plug-in module loaded into the process; unloaded on destruction.
class PluginModule {
  public:
    /// nullptr with `error` set when the file is no loadable module.
    static std::unique_ptr<PluginModule> load(const std::string& path, std::string& error);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    const ModuleDescriptor& descriptor() const { return *descriptor_; }

    /// The server of `className` called `name`, or nullptr.
    const ServerRecord* findServer(std::string_view className, std::string_view name) const;

    /// Class and name of every server record, in order.
    std::vector<std::pair<std::string, std::string>> servers() const;

  private:
    PluginModule(void* handle, ModuleDescriptor* descriptor);
    void* handle_;
    ModuleDescriptor* descriptor_;
    void* serverData_ = nullptr; ///< what the module's startup returned
};

/// How the user answers the next panel.
struct PanelScript {
    bool ok = true;                       ///< OK, or Cancel
    std::map<std::string, double> values; ///< typed into controls, by label
};

struct ControlSeen {
    std::string type; ///< "NumControl", "FloatControl", ...
    std::string label;
    double preset = 0; ///< value the plug-in set before opening
};

struct PanelSeen {
    std::string title;
    int width = 0;
    std::vector<ControlSeen> controls;
    int openFlags = -1; ///< -1 when never opened
    bool destroyed = false;
};

/// How the user answers the next file request.
struct FileRequestScript {
    int result = 1;       ///< 1 OK, 0 Cancel, negative an error
    std::string fullName; ///< the chosen file on OK
};

struct FileRequestSeen {
    std::string hail;
    std::string name;
    std::string path;
    int bufferLength = 0;
};

/// A Modeler object: points (x right, y up, z forward) and polygons with
/// their flag words.
struct MeshFixture {
    struct Polygon {
        int flags = EDDF_SELECT;
        std::vector<int> points; ///< indices into `points`
    };
    std::vector<std::array<double, 3>> points;
    std::vector<Polygon> polygons;
};

/// What a mesh-edit command did to the host's mesh.
struct MeshEditLog {
    int begins = 0; ///< edits begun
    std::optional<EltOpSelect> select;
    std::vector<EltOpLayer> scanLayers; ///< one per polygon scan
    std::vector<EDError> scanResults;
    std::vector<EDError> doneErrors; ///< one per ended edit
    int pointLookups = 0;
};

/// The names a host publishes its item, scene and message services under.
enum class GlobalNames {
    Oldest,   ///< "LW Item Info", "LW Scene Info", "Info Messages", as the first SDKs name them
    Numbered, ///< only a current host's numbered names ("LW Item Info 9", ...)
};

struct ConversionRun {
    int result = -1;                    ///< the activation's return value
    std::optional<std::string> failure; ///< readFailure, when set
    std::optional<std::string> scene;   ///< tmpScene, when set
    bool deleteSet = false;             ///< deleteTmp was set
};

class TestHost {
  public:
    TestHost();
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // ---- The host as the plug-in finds it.
    double framesPerSecond = 30.0;
    GlobalNames globalNames = GlobalNames::Oldest;
    std::set<std::string> missingGlobals; ///< services the host lacks, by their oldest name
    std::deque<PanelScript> panelScripts; ///< an unscripted panel is cancelled
    std::deque<FileRequestScript> fileRequestScripts; ///< an unscripted request is cancelled
    MeshFixture mesh;
    bool canBeginEdit = true;            ///< false: there is nothing to edit
    int failingPoint = -1;               ///< index of a point whose lookup fails
    EDError firstScanError = EDERR_NONE; ///< what the first polygon scan reports

    // ---- What the plug-in did.
    std::vector<std::string> messages; ///< info lines ("line1" or "line1\nline2")
    std::vector<std::string> lookups;  ///< global service names asked for
    std::vector<PanelSeen> panels;
    std::vector<FileRequestSeen> fileRequests;
    MeshEditLog edit;

    /// Activates a scene converter on `motionFile` with interface `version`.
    ConversionRun convert(const ServerRecord& server, const std::string& motionFile,
                          int version = LWSCENECONVERTER_VERSION);

    /// Activates a mesh-edit command with interface `version`.
    int meshEdit(const ServerRecord& server, int version = LWMESHEDIT_VERSION);

    /// The instance the C service tables answer for.
    static TestHost* current();

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

} // namespace kv::lwtest
