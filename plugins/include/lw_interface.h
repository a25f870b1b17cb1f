#ifndef KV_LW_INTERFACE_H
#define KV_LW_INTERFACE_H
/*
 * The part of the LightWave 3D plug-in interface that KestrovaneLoad and
 * KestrovaneSave use, bound the way the published SDK binds it: a module
 * descriptor with server records, an activation function per server, global
 * services looked up by name, and plain C records of function pointers.
 *
 * Everything the two plug-ins know of the host is declared here and nowhere
 * else, so building against the real SDK means making this one header include
 * the SDK's own headers (lwmodule.h, lwserver.h, lwhost.h, lwrender.h,
 * lwscenecv.h, lwpanel.h, lwmeshedt.h) instead of declaring the records
 * itself. The file is deliberately not called lwhost.h, which is an SDK header.
 *
 * Records are declared only as far as the plug-ins read them: the host
 * allocates every one of them, so a host-side record that is longer than the
 * prefix declared here is read correctly.
 */

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Calling convention and common types ------------------------------- */

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

/* The one symbol a module exports, under the name _mod_descrip. */
typedef struct st_ModuleDescriptor {
    unsigned long sysSync;
    unsigned long sysVersion;
    unsigned long sysMachine;
    void* (*startup)(void);
    void (*shutdown)(void* serverData);
    ServerRecord* serverDefs;
} ModuleDescriptor;

#define MOD_SYSSYNC 0x04121994UL
#define MOD_SYSVER 3UL
#define MOD_MACHINE 0UL

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

#define LWITEMINFO_GLOBAL "LW Item Info"

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

/* Each function shows a first line of text and an optional second line. */
typedef struct st_LWMessageFuncs {
    void (*info)(const char* line1, const char* line2);
    void (*error)(const char* line1, const char* line2);
    void (*warning)(const char* line1, const char* line2);
} LWMessageFuncs;

#define LWFILEREQFUNC_GLOBAL "File Request"

/* Asks for a file: `name` and `path` carry the defaults in and the choice out,
 * `fullName` receives the full path; every buffer holds `buflen` characters.
 * Returns 1 on OK, 0 on Cancel, a negative value on an error. */
typedef int LWFileReqFunc(const char* hail, char* name, char* path, char* fullName, int buflen);

/* ---- Panels --------------------------------------------------------------- */

#define LWPANELFUNCS_GLOBAL "LWPanelServices"

typedef void* LWPanelID;

typedef enum en_LWType { LWT_NULL = 0, LWT_STRING, LWT_INTEGER, LWT_FLOAT } LWType;

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

typedef union un_LWValue {
    LWType type;
    LWValInt intv;
    LWValFloat flt;
} LWValue;

typedef union un_LWPanControlDesc {
    LWType type;
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

#endif /* KV_LW_INTERFACE_H */
