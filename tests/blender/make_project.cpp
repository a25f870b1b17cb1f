// A project for the Blender tests, made as File > Add > DXF Terrain and
// File > Save Project As make it: the default car on the terrain of a DXF file.
// Usage: kv_blender_project TERRAIN.dxf OUT.kvp   Exit 0 when OUT.kvp was written.

#include "app/document/document.h"
#include "support/document_ports.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: kv_blender_project TERRAIN.dxf OUT.kvp\n", stderr);
        return 2;
    }
    try {
        kv::test::DocumentRig rig;
        if (!rig.doc->addTerrain(kv::app::DxfImport{argv[1]})) {
            std::fprintf(stderr, "the terrain %s was not added\n", argv[1]);
            return 1;
        }
        rig.files.answers.push_back(argv[2]);
        if (!rig.doc->saveProject(true)) {
            std::fprintf(stderr, "the project %s was not saved\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
