#ifndef KV_LW_INTERFACE_H
#define KV_LW_INTERFACE_H
/*
 * The part of the LightWave 3D plug-in interface that KestrovaneLoad and
 * KestrovaneSave use, bound the way the published SDK binds it: a module
 * descriptor with server records, an activation function per server, global
 * services looked up by name, and plain C records of function pointers.
 *
 * Everything the two plug-ins know of the host is declared here and nowhere
 * else. The file is deliberately not called lwhost.h, which is an SDK header.
 *
 * Binary layout is what matters: the host and the plug-in are built apart and
 * meet only through these records. Every record the plug-ins read or fill has
 * its member types and order as the SDK gives them for the platform, and the
 * end of this file checks sizes and offsets at compile time for the 64-bit
 * targets (Linux x86-64, Windows x86-64), so a change that would make a host
 * read the wrong word fails to build.
 *
 * Records the host allocates are declared only as far as the plug-ins read
 * them: hosts grow these records at their end, so a longer host-side record
 * is read correctly through the prefix declared here. Records the plug-in
 * hands to the host for it to write into (panel values, control
 * descriptions) are declared at their full SDK size.
 */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Calling convention and common types ------------------------------- */

/* Entry points the host calls. Each 64-bit platform has one C calling
 * convention, which is the one the SDK uses, so the marker adds nothing. */
#define XCALL_(t) t

typedef struct st_GCoreItem* LWItemID;
typedef int LWItemType;
typedef int LWFrame;
typedef double LWTime;

/* An error text owned by the plug-in; NULL means no error. */
typedef const char* LWError;

/* ---- Global services ---------------------------------------------------- */

/* Looks up a global service by name; NULL when the host has none. */
typedef void* GlobalFunc(const char* serviceName, int useType);

#define GFUSE_TRANSIENT 0
#define GFUSE_ACQUIRE 1
#define GFUSE_RELEASE 2

/* ---- Servers and the module descriptor ---------------------------------- */

/* Activation of one server: the class's interface version, the global lookup,
 * the class-specific local data and the server's own data. */
typedef int ActivateFunc(int version, GlobalFunc* global, void* local, void* serverData);

#define AFUNC_OK 0
#define AFUNC_BADVERSION 1
#define AFUNC_BADGLOBAL 2
#define AFUNC_BADLOCAL 3
#define AFUNC_BADAPP 4

typedef struct st_ServerTagInfo {
    const char* string;
    unsigned int tag;
} ServerTagInfo;

/* One server of a module; a list of them ends with a record whose class is NULL. */
typedef struct st_ServerRecord {
    const char* className;
    const char* name;
    ActivateFunc* activate;
    ServerTagInfo* tagInfo;
} ServerRecord;

/* The one symbol a module exports, under the name _mod_descrip. The host
 * checks the three words before it trusts the rest: they are 32 bits wide on
 * every platform (not `long`, which is 64 bits on 64-bit Linux and macOS). */
typedef struct st_ModuleDescriptor {
    unsigned int sysSync;    /* MOD_SYSSYNC */
    unsigned int sysVersion; /* MOD_SYSVER */
    unsigned int sysMachine; /* MOD_MACHINE of the platform the module runs on */
    void* (*startup)(void);
    void (*shutdown)(void* serverData);
    ServerRecord* serverDefs;
} ModuleDescriptor;

#define MOD_SYSSYNC 0x04121994u
#define MOD_SYSVER 3u

/* Platform word of the descriptor: a host refuses a module built for another. */
#define MOD_MACHINE_WINDOWS 0x300u
#define MOD_MACHINE_MACOS 0x400u
#define MOD_MACHINE_LINUX 0x500u
#if defined(_WIN32)
#define MOD_MACHINE MOD_MACHINE_WINDOWS
#elif defined(__APPLE__)
#define MOD_MACHINE MOD_MACHINE_MACOS
#elif defined(__linux__)
#define MOD_MACHINE MOD_MACHINE_LINUX
#else
#error "LightWave hosts exist for Windows, macOS and Linux only"
#endif

#define LW_MODULE_DESCRIPTOR_SYMBOL "_mod_descrip"

/* Marks the module descriptor as the one symbol the module exports. */
#if defined(_WIN32)
#define KV_LW_EXPORT __declspec(dllexport)
#else
#define KV_LW_EXPORT __attribute__((visibility("default")))
#endif

/* ---- Layout: scene converter -------------------------------------------- */

#define LWSCENECONVERTER_CLASS "SceneConverter"
#define LWSCENECONVERTER_VERSION 1
/* The newest version known to hand over this same record: version 2 (current
 * hosts) passes the same four members, its file names in UTF-8. */
#define LWSCENECONVERTER_VERSION_LATEST 2

/* Handed to a scene converter: the file to convert in, the failure text and
 * the converted scene's name out, and the function that deletes that scene
 * once the host has loaded it. */
typedef struct st_LWSceneConverter {
    const char* filename;
    LWError readFailure;
    const char* tmpScene;
    void (*deleteTmp)(const char* tmpScene);
} LWSceneConverter;

/* ---- Layout: item and scene information ---------------------------------- */

/* Hosts publish their services under the oldest name and, as a record grows,
 * under numbered names; a record grows only at its end, so every numbered
 * form below starts with the members declared here. A plug-in asks for the
 * oldest name first and then for the numbered ones (the *_LATER lists). */
#define LWITEMINFO_GLOBAL "LW Item Info"
#define LWITEMINFO_GLOBAL_LATER                                                                    \
    "LW Item Info 2", "LW Item Info 3", "LW Item Info 4", "LW Item Info 5", "LW Item Info 6",      \
        "LW Item Info 7", "LW Item Info 8", "LW Item Info 9"

typedef struct st_LWItemInfo {
    LWItemID (*first)(LWItemType type, LWItemID parent);
    LWItemID (*next)(LWItemID item);
    LWItemID (*firstChild)(LWItemID parent);
    LWItemID (*nextChild)(LWItemID parent, LWItemID prevChild);
    LWItemID (*parent)(LWItemID item);
    LWItemID (*target)(LWItemID item);
    LWItemID (*goal)(LWItemID item);
    LWItemType (*type)(LWItemID item);
    const char* (*name)(LWItemID item);
} LWItemInfo;

#define LWSCENEINFO_GLOBAL "LW Scene Info"
#define LWSCENEINFO_GLOBAL_LATER                                                                   \
    "LW Scene Info 2", "LW Scene Info 3", "LW Scene Info 4", "LW Scene Info 5", "LW Scene Info 6", \
        "LW Scene Info 7", "LW Scene Info 8", "LW Scene Info 9", "LW Scene Info 10",               \
        "LW Scene Info 11", "LW Scene Info 12"

typedef struct st_LWSceneInfo {
    const char* name;
    const char* filename;
    int numPoints;
    int numPolygons;
    int renderType;
    int renderOpts;
    LWFrame frameStart;
    LWFrame frameEnd;
    LWFrame frameStep;
    double framesPerSecond; /* frames per second of the current scene */
    int frameWidth;
    int frameHeight;
    double pixelAspect;
} LWSceneInfo;

/* ---- Host services shared by Layout and Modeler -------------------------- */

#define LWMESSAGEFUNCS_GLOBAL "Info Messages"
#define LWMESSAGEFUNCS_GLOBAL_LATER "Info Messages 2", "Info Messages 3"

/* Each function shows a first line of text and an optional second line. */
typedef struct st_LWMessageFuncs {
    void (*info)(const char* line1, const char* line2);
    void (*error)(const char* line1, const char* line2);
    void (*warning)(const char* line1, const char* line2);
} LWMessageFuncs;

/* "File Request 2" is a different function (it takes a request record), so
 * this service has no later name the plug-ins could use in its place. */
#define LWFILEREQFUNC_GLOBAL "File Request"

/* Asks for a file: `name` and `path` carry the defaults in and the choice out,
 * `fullName` receives the full path; every buffer holds `buflen` characters.
 * Returns 1 on OK, 0 on Cancel, a negative value on an error. */
typedef int LWFileReqFunc(const char* hail, char* name, char* path, char* fullName, int buflen);

/* ---- Panels --------------------------------------------------------------- */

/* Panel services keep one name and report their revision through the panel
 * attribute PAN_VERSION instead. */
#define LWPANELFUNCS_GLOBAL "LWPanelServices"

typedef void* LWPanelID;

/* Type codes of panel values and control descriptions (an int in the SDK). */
typedef int LWType;
enum { LWT_NULL = 0, LWT_STRING = 1, LWT_INTEGER = 2, LWT_FLOAT = 3 };

typedef struct st_LWValString {
    LWType type;
    char* buf;
    int bufLen;
} LWValString;

typedef struct st_LWValInt {
    LWType type;
    int value;
    int defVal;
} LWValInt;

typedef struct st_LWValFloat {
    LWType type;
    double value;
    double defVal;
} LWValFloat;

typedef struct st_LWValIVector {
    LWType type;
    int val[3];
    int defVal;
} LWValIVector;

typedef struct st_LWValFVector {
    LWType type;
    double val[3];
    double defVal;
} LWValFVector;

typedef struct st_LWValPointer {
    LWType type;
    void* ptr;
} LWValPointer;

typedef struct st_LWValCustom {
    LWType type;
    int val[4];
} LWValCustom;

/* A value exchanged with a control. The host writes the form of the
 * control's own type, so the union has every form and the SDK's full size. */
typedef union un_LWValue {
    LWType type;
    LWValString str;
    LWValInt intv;
    LWValFloat flt;
    LWValIVector ivec;
    LWValFVector fvec;
    LWValPointer ptr;
    LWValCustom cust;
} LWValue;

/* The widest control description of the SDK (a tree control: a type, a size
 * and four callbacks). Only its size is used here: the host may read the
 * whole union whatever the control type. */
typedef struct st_KvLWPanWidestDesc {
    LWType type;
    int width;
    int height;
    void* callbacks[4];
} KvLWPanWidestDesc;

/* Description of a control being added; number controls need only the type. */
typedef union un_LWPanControlDesc {
    LWType type;
    KvLWPanWidestDesc widest;
} LWPanControlDesc;

typedef enum en_DrMode { DR_ERASE, DR_RENDER, DR_GHOST, DR_REFRESH } DrMode;

/* Panel attributes for get and set. */
typedef enum en_pTag { PAN_X, PAN_Y, PAN_W, PAN_H } pTag;

/* Control attributes for get and set. */
typedef enum en_cTag { CTL_X, CTL_Y, CTL_W, CTL_H, CTL_VALUE } cTag;

typedef struct st_LWControl LWControl;
struct st_LWControl {
    void (*draw)(LWControl* control, DrMode mode);
    void (*get)(LWControl* control, cTag tag, LWValue* value);
    void (*set)(LWControl* control, cTag tag, LWValue* value);
    void* priv_data;
};

/* Flags of open(): wait for the panel to close, and give it a Cancel button. */
#define PANF_BLOCKING (1 << 0)
#define PANF_CANCEL (1 << 1)

typedef struct st_LWPanelFuncs {
    LWPanelID (*create)(const char* title, void* panelFuncs);
    void (*destroy)(LWPanelID panel);
    /* With PANF_BLOCKING | PANF_CANCEL: 1 when closed with OK, 0 with Cancel. */
    int (*open)(LWPanelID panel, int flags);
    int (*handle)(LWPanelID panel, int flags);
    void (*draw)(LWPanelID panel, DrMode mode);
    void (*close)(LWPanelID panel);
    void (*get)(LWPanelID panel, pTag tag, void* value);
    void (*set)(LWPanelID panel, pTag tag, void* value);
    /* Adds a control by type name ("NumControl", "FloatControl", ...). */
    LWControl* (*addControl)(LWPanelID panel, const char* type, LWPanControlDesc* desc,
                             const char* label);
    LWControl* (*nextControl)(LWPanelID panel, LWControl* control);
    void* drawFuncs;
    void* user_data;
    GlobalFunc* globalFun;
} LWPanelFuncs;

/* ---- Modeler: mesh data edit ---------------------------------------------- */

#define LWMESHEDIT_CLASS "MeshDataEdit"
#define LWMESHEDIT_VERSION 1
/* The newest version known to begin its edit record with the members declared
 * here: versions 2 to 9 only append functions (edges, layers and vertex maps
 * from version 5 on), and the point and polygon records they hand over keep
 * their leading members. */
#define LWMESHEDIT_VERSION_LATEST 9

typedef struct st_GCoreVertex* LWPntID;
typedef struct st_GCorePolygon* LWPolID;
typedef struct st_MeshEditState* EDStateRef;

typedef int EDError;
#define EDERR_NONE 0
#define EDERR_NOMEMORY 1
#define EDERR_BADLAYER 2
#define EDERR_BADSURF 3
#define EDERR_USERABORT 4
#define EDERR_BADARGS 5

typedef enum en_EltOpLayer {
    OPLYR_PRIMARY,
    OPLYR_FG,
    OPLYR_BG,
    OPLYR_SELECT,
    OPLYR_ALL
} EltOpLayer;

typedef enum en_EltOpSelect { OPSEL_GLOBAL, OPSEL_USER, OPSEL_DIRECT } EltOpSelect;

/* Flag word of points and polygons. */
#define EDDF_SELECT (1 << 0)
#define EDDF_DELETE (1 << 1)
#define EDPF_CCEND (1 << 2)
#define EDPF_CCSTART (1 << 3)
/* Bit 4 of a polygon's flag word. This binding reads it as "hidden from the
 * user": a hidden polygon is never written, even when it is selected. */
#define KV_EDPF_HIDDEN (1 << 4)

typedef struct st_EDPointInfo {
    LWPntID pnt;
    void* userData;
    int layer;
    int flags;
    double position[3]; /* x right, y up, z forward */
} EDPointInfo;

typedef struct st_EDPolygonInfo {
    LWPolID pol;
    void* userData;
    int layer;
    int flags;
    int numPnts;
    const LWPntID* points;
    const char* surface;
} EDPolygonInfo;

/* Called once per polygon of a scan; a non-zero result stops the scan, which
 * then returns it. */
typedef EDError EDPolyScanFunc(void* userData, const EDPolygonInfo* polygon);
typedef EDError EDPointScanFunc(void* userData, const EDPointInfo* point);

typedef struct st_MeshEditOp {
    EDStateRef state;
    int layerNum;
    /* Ends the edit: EDERR_NONE keeps the changes made, any other code drops them. */
    void (*done)(EDStateRef state, EDError error, int selm);
    int (*pointCount)(EDStateRef state, EltOpLayer layer, int mode);
    int (*polyCount)(EDStateRef state, EltOpLayer layer, int mode);
    EDError (*pointScan)(EDStateRef state, EDPointScanFunc* scan, void* userData, EltOpLayer layer);
    EDError (*polyScan)(EDStateRef state, EDPolyScanFunc* scan, void* userData, EltOpLayer layer);
    /* NULL when the point cannot be found. */
    EDPointInfo* (*pointInfo)(EDStateRef state, LWPntID point);
    EDPolygonInfo* (*polyInfo)(EDStateRef state, LWPolID polygon);
} MeshEditOp;

/* The local data of a MeshDataEdit activation: begins an edit, NULL when none
 * can be begun (nothing to edit in the user's selection). */
typedef MeshEditOp* MeshEditBegin(int pointBuffer, int polygonBuffer, EltOpSelect select);

#ifdef __cplusplus
}
#endif

/* ---- Layout checks ---------------------------------------------------------
 * Sizes and offsets (bytes) of every record the plug-ins read or fill, as the
 * SDK lays them out on each 64-bit target. On Linux x86-64 (LP64) and Windows
 * x86-64 (LLP64) pointers are 8 bytes and int 4, and no record here holds a
 * `long`, so the two targets agree; each is still checked on its own. */

#if defined(__cplusplus)
#define KV_LW_ASSERT(cond, what) static_assert(cond, what)
#else
#define KV_LW_ASSERT(cond, what) _Static_assert(cond, what)
#endif

#if (defined(__x86_64__) || defined(_M_X64)) && (defined(__linux__) || defined(_WIN32))
#define KV_LW_OFFSET(type, member, bytes)                                                          \
    KV_LW_ASSERT(offsetof(type, member) == (bytes), #type "." #member " is at byte " #bytes)
#define KV_LW_SIZE(type, bytes) KV_LW_ASSERT(sizeof(type) == (bytes), #type " has " #bytes " bytes")

KV_LW_SIZE(ModuleDescriptor, 40);
KV_LW_OFFSET(ModuleDescriptor, sysSync, 0);
KV_LW_OFFSET(ModuleDescriptor, sysVersion, 4);
KV_LW_OFFSET(ModuleDescriptor, sysMachine, 8);
KV_LW_OFFSET(ModuleDescriptor, startup, 16);
KV_LW_OFFSET(ModuleDescriptor, shutdown, 24);
KV_LW_OFFSET(ModuleDescriptor, serverDefs, 32);

KV_LW_SIZE(ServerTagInfo, 16);
KV_LW_OFFSET(ServerTagInfo, tag, 8);
KV_LW_SIZE(ServerRecord, 32);
KV_LW_OFFSET(ServerRecord, name, 8);
KV_LW_OFFSET(ServerRecord, activate, 16);
KV_LW_OFFSET(ServerRecord, tagInfo, 24);

KV_LW_SIZE(LWSceneConverter, 32);
KV_LW_OFFSET(LWSceneConverter, readFailure, 8);
KV_LW_OFFSET(LWSceneConverter, tmpScene, 16);
KV_LW_OFFSET(LWSceneConverter, deleteTmp, 24);

KV_LW_SIZE(LWItemInfo, 72);
KV_LW_OFFSET(LWItemInfo, name, 64);

KV_LW_SIZE(LWSceneInfo, 72);
KV_LW_OFFSET(LWSceneInfo, numPoints, 16);
KV_LW_OFFSET(LWSceneInfo, frameStart, 32);
KV_LW_OFFSET(LWSceneInfo, frameStep, 40);
KV_LW_OFFSET(LWSceneInfo, framesPerSecond, 48);
KV_LW_OFFSET(LWSceneInfo, frameWidth, 56);
KV_LW_OFFSET(LWSceneInfo, pixelAspect, 64);

KV_LW_SIZE(LWMessageFuncs, 24);
KV_LW_OFFSET(LWMessageFuncs, info, 0);

KV_LW_SIZE(LWType, 4);
KV_LW_SIZE(LWValInt, 12);
KV_LW_OFFSET(LWValInt, value, 4);
KV_LW_SIZE(LWValFloat, 24);
KV_LW_OFFSET(LWValFloat, value, 8);
KV_LW_OFFSET(LWValFloat, defVal, 16);
KV_LW_SIZE(LWValue, 40);
KV_LW_SIZE(LWPanControlDesc, 48);
KV_LW_SIZE(pTag, 4);
KV_LW_SIZE(cTag, 4);
KV_LW_SIZE(DrMode, 4);
KV_LW_ASSERT(PAN_W == 2 && CTL_VALUE == 4, "panel and control tags have the SDK's values");
KV_LW_ASSERT(PANF_BLOCKING == 1 && PANF_CANCEL == 2, "panel open flags have the SDK's values");

KV_LW_SIZE(LWControl, 32);
KV_LW_OFFSET(LWControl, get, 8);
KV_LW_OFFSET(LWControl, set, 16);
KV_LW_SIZE(LWPanelFuncs, 104);
KV_LW_OFFSET(LWPanelFuncs, open, 16);
KV_LW_OFFSET(LWPanelFuncs, set, 56);
KV_LW_OFFSET(LWPanelFuncs, addControl, 64);
KV_LW_OFFSET(LWPanelFuncs, globalFun, 96);

KV_LW_SIZE(EDPointInfo, 48);
KV_LW_OFFSET(EDPointInfo, flags, 20);
KV_LW_OFFSET(EDPointInfo, position, 24);
KV_LW_SIZE(EDPolygonInfo, 48);
KV_LW_OFFSET(EDPolygonInfo, flags, 20);
KV_LW_OFFSET(EDPolygonInfo, numPnts, 24);
KV_LW_OFFSET(EDPolygonInfo, points, 32);
KV_LW_OFFSET(EDPolygonInfo, surface, 40);
KV_LW_SIZE(MeshEditOp, 72);
KV_LW_OFFSET(MeshEditOp, layerNum, 8);
KV_LW_OFFSET(MeshEditOp, done, 16);
KV_LW_OFFSET(MeshEditOp, polyScan, 48);
KV_LW_OFFSET(MeshEditOp, pointInfo, 56);
KV_LW_SIZE(EltOpLayer, 4);
KV_LW_SIZE(EltOpSelect, 4);
KV_LW_ASSERT(OPLYR_FG == 1 && OPSEL_USER == 1, "mesh-edit layer and selection codes");

#undef KV_LW_OFFSET
#undef KV_LW_SIZE
#endif

#endif /* KV_LW_INTERFACE_H */
