#include "lw_test_host.h"

#include <cstdint>
#include <cstring>
#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace kv::lwtest {
namespace {

TestHost* g_current = nullptr;

TestHost& host() {
    return *g_current;
}

// The platform's module loader, in the three calls the host needs.
#if defined(_WIN32)
void* openModule(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module)
        error = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
}
void* moduleSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void closeModule(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* openModule(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = why ? why : "dlopen failed";
    }
    return handle;
}
void* moduleSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}
void closeModule(void* handle) {
    dlclose(handle);
}
#endif

} // namespace

// ---- Plug-in module ----------------------------------------------------------

PluginModule::PluginModule(void* handle, ModuleDescriptor* descriptor)
    : handle_(handle), descriptor_(descriptor) {}

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
    void* handle = openModule(path, error);
    if (!handle)
        return nullptr;
    auto* descriptor =
        static_cast<ModuleDescriptor*>(moduleSymbol(handle, LW_MODULE_DESCRIPTOR_SYMBOL));
    if (!descriptor) {
        error = "no module descriptor " LW_MODULE_DESCRIPTOR_SYMBOL;
        closeModule(handle);
        return nullptr;
    }
    // A host checks the three words before it trusts anything else.
    if (descriptor->sysSync != MOD_SYSSYNC || descriptor->sysVersion != MOD_SYSVER ||
        descriptor->sysMachine != MOD_MACHINE || !descriptor->serverDefs) {
        error = "the module descriptor is not a LightWave module's for this platform";
        closeModule(handle);
        return nullptr;
    }
    std::unique_ptr<PluginModule> module(new PluginModule(handle, descriptor));
    if (descriptor->startup) {
        module->serverData_ = descriptor->startup();
        if (!module->serverData_) {
            error = "the module's startup failed";
            return nullptr;
        }
    }
    return module;
}

PluginModule::~PluginModule() {
    if (descriptor_->shutdown)
        descriptor_->shutdown(serverData_);
    closeModule(handle_);
}

const ServerRecord* PluginModule::findServer(std::string_view className,
                                             std::string_view name) const {
    for (const ServerRecord* s = descriptor_->serverDefs; s->className; ++s) {
        if (className == s->className && s->name && name == s->name)
            return s;
    }
    return nullptr;
}

std::vector<std::pair<std::string, std::string>> PluginModule::servers() const {
    std::vector<std::pair<std::string, std::string>> out;
    for (const ServerRecord* s = descriptor_->serverDefs; s->className; ++s) {
        out.emplace_back(s->className, s->name ? s->name : "");
    }
    return out;
}

// ---- Host services -------------------------------------------------------------

struct ControlState {
    LWControl control{};
    std::size_t panel = 0; ///< index into TestHost::panels
    std::size_t index = 0; ///< index into the panel's controls
    bool integer = false;
    double value = 0.0;
};

struct PanelState {
    std::size_t index = 0; ///< into TestHost::panels
    bool opened = false;
    std::vector<std::unique_ptr<ControlState>> controls;
};

struct TestHost::Impl {
    LWItemInfo itemInfo{};
    LWSceneInfo sceneInfo{};
    LWMessageFuncs messageFuncs{};
    LWPanelFuncs panelFuncs{};
    std::vector<std::unique_ptr<PanelState>> panels;

    MeshEditOp op{};
    int scans = 0;
    std::vector<EDPointInfo> pointInfos;
    std::vector<LWPntID> pointIds;

    static LWPntID pointId(std::size_t index) {
        return reinterpret_cast<LWPntID>(static_cast<std::uintptr_t>(index + 1));
    }
    static LWPolID polygonId(std::size_t index) {
        return reinterpret_cast<LWPolID>(static_cast<std::uintptr_t>(index + 1));
    }

    // Global lookup.
    static void* global(const char* name, int);

    // Messages.
    static void info(const char* line1, const char* line2) {
        std::string text = line1 ? line1 : "";
        if (line2)
            text += std::string("\n") + line2;
        host().messages.push_back(text);
    }

    // File request.
    static int fileRequest(const char* hail, char* name, char* path, char* fullName, int buflen) {
        TestHost& h = host();
        h.fileRequests.push_back({hail ? hail : "", name ? name : "", path ? path : "", buflen});
        if (h.fileRequestScripts.empty())
            return 0;
        const FileRequestScript script = h.fileRequestScripts.front();
        h.fileRequestScripts.pop_front();
        if (script.result == 1 && buflen > 0) {
            std::strncpy(fullName, script.fullName.c_str(), static_cast<std::size_t>(buflen) - 1);
            fullName[buflen - 1] = '\0';
        }
        return script.result;
    }

    // Panels.
    static PanelState* panel(LWPanelID id) { return static_cast<PanelState*>(id); }
    static LWPanelID create(const char* title, void*) {
        TestHost& h = host();
        auto state = std::make_unique<PanelState>();
        state->index = h.panels.size();
        h.panels.push_back(PanelSeen{title ? title : "", 0, {}, -1, false});
        h.impl_->panels.push_back(std::move(state));
        return h.impl_->panels.back().get();
    }
    static void destroy(LWPanelID id) { host().panels[panel(id)->index].destroyed = true; }
    static int open(LWPanelID id, int flags) {
        TestHost& h = host();
        PanelState* p = panel(id);
        p->opened = true;
        h.panels[p->index].openFlags = flags;
        if (h.panelScripts.empty())
            return 0;
        const PanelScript script = h.panelScripts.front();
        h.panelScripts.pop_front();
        for (auto& c : p->controls) {
            const auto& label = h.panels[p->index].controls[c->index].label;
            if (auto it = script.values.find(label); it != script.values.end()) {
                c->value = it->second;
            }
        }
        return script.ok ? 1 : 0;
    }
    static int handle(LWPanelID, int) { return 0; }
    static void draw(LWPanelID, DrMode) {}
    static void close(LWPanelID) {}
    static void get(LWPanelID id, pTag tag, void* value) {
        if (tag == PAN_W)
            *static_cast<int*>(value) = host().panels[panel(id)->index].width;
    }
    static void set(LWPanelID id, pTag tag, void* value) {
        if (tag == PAN_W)
            host().panels[panel(id)->index].width = *static_cast<int*>(value);
    }
    static LWControl* addControl(LWPanelID id, const char* type, LWPanControlDesc*,
                                 const char* label) {
        TestHost& h = host();
        PanelState* p = panel(id);
        auto c = std::make_unique<ControlState>();
        c->panel = p->index;
        c->index = p->controls.size();
        c->integer = std::strcmp(type, "NumControl") == 0;
        c->control.draw = controlDraw;
        c->control.get = controlGet;
        c->control.set = controlSet;
        c->control.priv_data = c.get();
        h.panels[p->index].controls.push_back({type, label ? label : "", 0.0});
        p->controls.push_back(std::move(c));
        return &p->controls.back()->control;
    }
    static LWControl* nextControl(LWPanelID, LWControl*) { return nullptr; }

    static ControlState* control(LWControl* c) { return static_cast<ControlState*>(c->priv_data); }
    static void controlDraw(LWControl*, DrMode) {}
    static void controlGet(LWControl* ctl, cTag tag, LWValue* v) {
        if (tag != CTL_VALUE)
            return;
        const ControlState* c = control(ctl);
        if (c->integer) {
            v->intv.type = LWT_INTEGER;
            v->intv.value = static_cast<int>(c->value);
        } else {
            v->flt.type = LWT_FLOAT;
            v->flt.value = c->value;
        }
    }
    static void controlSet(LWControl* ctl, cTag tag, LWValue* v) {
        if (tag != CTL_VALUE)
            return;
        ControlState* c = control(ctl);
        c->value = c->integer ? v->intv.value : v->flt.value;
        TestHost& h = host();
        if (!h.impl_->panels[c->panel]->opened)
            h.panels[c->panel].controls[c->index].preset = c->value;
    }

    // Mesh edit.
    static MeshEditOp* begin(int, int, EltOpSelect select) {
        TestHost& h = host();
        ++h.edit.begins;
        h.edit.select = select;
        if (!h.canBeginEdit)
            return nullptr;
        Impl& impl = *h.impl_;
        impl.scans = 0;
        impl.op = MeshEditOp{};
        impl.op.state = reinterpret_cast<EDStateRef>(&impl);
        impl.op.layerNum = 1;
        impl.op.done = done;
        impl.op.pointCount = pointCount;
        impl.op.polyCount = polyCount;
        impl.op.pointScan = pointScan;
        impl.op.polyScan = polyScan;
        impl.op.pointInfo = pointInfo;
        impl.op.polyInfo = polyInfo;
        impl.pointInfos.assign(h.mesh.points.size(), EDPointInfo{});
        impl.pointIds.clear();
        for (std::size_t i = 0; i < h.mesh.points.size(); ++i)
            impl.pointIds.push_back(pointId(i));
        return &impl.op;
    }
    static void done(EDStateRef, EDError error, int) { host().edit.doneErrors.push_back(error); }
    static int pointCount(EDStateRef, EltOpLayer, int) {
        return static_cast<int>(host().mesh.points.size());
    }
    static int polyCount(EDStateRef, EltOpLayer, int) {
        return static_cast<int>(host().mesh.polygons.size());
    }
    static EDError pointScan(EDStateRef, EDPointScanFunc*, void*, EltOpLayer) {
        return EDERR_BADARGS; // the plug-ins never scan points
    }
    static EDPolygonInfo* polyInfo(EDStateRef, LWPolID) { return nullptr; }
    static EDError polyScan(EDStateRef, EDPolyScanFunc* scan, void* data, EltOpLayer layer) {
        TestHost& h = host();
        Impl& impl = *h.impl_;
        h.edit.scanLayers.push_back(layer);
        EDError result = EDERR_NONE;
        if (impl.scans++ == 0 && h.firstScanError != EDERR_NONE) {
            result = h.firstScanError;
        } else {
            for (std::size_t i = 0; i < h.mesh.polygons.size() && result == EDERR_NONE; ++i) {
                const auto& polygon = h.mesh.polygons[i];
                std::vector<LWPntID> ids;
                for (int p : polygon.points)
                    ids.push_back(pointId(static_cast<std::size_t>(p)));
                EDPolygonInfo info{};
                info.pol = polygonId(i);
                info.layer = 1;
                info.flags = polygon.flags;
                info.numPnts = static_cast<int>(ids.size());
                info.points = ids.data();
                info.surface = "Default";
                result = scan(data, &info);
            }
        }
        h.edit.scanResults.push_back(result);
        return result;
    }
    static EDPointInfo* pointInfo(EDStateRef, LWPntID id) {
        TestHost& h = host();
        Impl& impl = *h.impl_;
        ++h.edit.pointLookups;
        const auto raw = reinterpret_cast<std::uintptr_t>(id);
        if (raw == 0 || raw > h.mesh.points.size())
            return nullptr;
        const std::size_t index = raw - 1;
        if (static_cast<int>(index) == h.failingPoint)
            return nullptr;
        EDPointInfo& info = impl.pointInfos[index];
        info.pnt = id;
        info.layer = 1;
        info.flags = 0;
        for (std::size_t k = 0; k < 3; ++k)
            info.position[k] = h.mesh.points[index][k];
        return &info;
    }
};

void* TestHost::Impl::global(const char* name, int) {
    TestHost& h = host();
    const std::string n = name ? name : "";
    h.lookups.push_back(n);
    // A current host answers these three only under its numbered names.
    static const std::pair<const char*, const char*> numbered[] = {
        {LWITEMINFO_GLOBAL, "LW Item Info 9"},
        {LWSCENEINFO_GLOBAL, "LW Scene Info 12"},
        {LWMESSAGEFUNCS_GLOBAL, "Info Messages 3"},
    };
    std::string service = n;
    if (h.globalNames == GlobalNames::Numbered) {
        for (const auto& [oldest, current] : numbered) {
            if (n == oldest)
                return nullptr;
            if (n == current)
                service = oldest;
        }
    }
    if (h.missingGlobals.count(service))
        return nullptr;
    Impl& impl = *h.impl_;
    if (service == LWITEMINFO_GLOBAL)
        return &impl.itemInfo;
    if (service == LWSCENEINFO_GLOBAL) {
        impl.sceneInfo.framesPerSecond = h.framesPerSecond;
        return &impl.sceneInfo;
    }
    if (service == LWMESSAGEFUNCS_GLOBAL)
        return &impl.messageFuncs;
    if (service == LWPANELFUNCS_GLOBAL)
        return &impl.panelFuncs;
    if (service == LWFILEREQFUNC_GLOBAL)
        return reinterpret_cast<void*>(&fileRequest);
    return nullptr;
}

TestHost::TestHost() : impl_(std::make_unique<Impl>()) {
    g_current = this;
    impl_->sceneInfo.name = "Test Scene";
    impl_->sceneInfo.frameStart = 1;
    impl_->sceneInfo.frameEnd = 60;
    impl_->sceneInfo.frameStep = 1;
    impl_->messageFuncs.info = Impl::info;
    impl_->messageFuncs.error = Impl::info;
    impl_->messageFuncs.warning = Impl::info;
    LWPanelFuncs& p = impl_->panelFuncs;
    p.create = Impl::create;
    p.destroy = Impl::destroy;
    p.open = Impl::open;
    p.handle = Impl::handle;
    p.draw = Impl::draw;
    p.close = Impl::close;
    p.get = Impl::get;
    p.set = Impl::set;
    p.addControl = Impl::addControl;
    p.nextControl = Impl::nextControl;
    p.globalFun = Impl::global;
}

TestHost::~TestHost() {
    if (g_current == this)
        g_current = nullptr;
}

TestHost* TestHost::current() {
    return g_current;
}

ConversionRun TestHost::convert(const ServerRecord& server, const std::string& motionFile,
                                int version) {
    g_current = this;
    LWSceneConverter record{};
    record.filename = motionFile.c_str();
    // What a host leaves in the record before the call must not survive it.
    record.readFailure = "stale failure";
    record.tmpScene = "stale scene";
    ConversionRun run;
    run.result = server.activate(version, Impl::global, &record, nullptr);
    if (run.result != AFUNC_OK)
        return run;
    if (record.readFailure)
        run.failure = record.readFailure;
    if (record.tmpScene)
        run.scene = record.tmpScene;
    run.deleteSet = record.deleteTmp != nullptr;
    // The host deletes the converted scene through the plug-in once loaded.
    if (record.deleteTmp && record.tmpScene)
        record.deleteTmp(record.tmpScene);
    return run;
}

int TestHost::meshEdit(const ServerRecord& server, int version) {
    g_current = this;
    return server.activate(version, Impl::global, reinterpret_cast<void*>(&Impl::begin), nullptr);
}

} // namespace kv::lwtest
