// Checks a glTF file written by Kestrovane with two implementations
// independent of ours: the Khronos glTF validator, and the glTF loader of
// three.js, which reads the file as an application would. Prints one JSON
// object:
//   { "validator": { "errors": n, "warnings": n, "messages": [first errors] },
//     "nodes": { "<name>": "<parent name or null>" },
//     "meshes": n, "animations": [names], "duration": s,
//     "tracks": { "<node>.position": [[x, y, z] at each requested time],
//                 "<node>.quaternion": [[x, y, z, w] at each requested time] },
//     "cameras": [{ "node": name, "yfov": rad, "aspectRatio": r }],
//     "ground": [height (y) of the node "Terrain" under each --ground point, or null],
//     "problems": [anything the loader complained about] }
// Usage: node gltf_check.mjs FILE.glb|FILE.gltf [TIME ...] [--ground X,Z ...]
import { readFileSync } from 'node:fs';
import path from 'node:path';
import validator from 'gltf-validator';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { Raycaster, Vector3 } from 'three';

const [file, ...rest] = process.argv.slice(2);
const groundAt = rest.indexOf('--ground');
const timeArgs = groundAt < 0 ? rest : rest.slice(0, groundAt);
const groundPoints = groundAt < 0 ? [] : rest.slice(groundAt + 1).map((p) => p.split(',').map(Number));
if (!file) {
    console.error('usage: node gltf_check.mjs FILE.glb|FILE.gltf [TIME ...]');
    process.exit(2);
}
const times = timeArgs.map(Number);
// three.js reports download progress with the browser's ProgressEvent, which
// Node does not have; the buffers here come from memory.
globalThis.ProgressEvent ??= class extends Event {
    constructor(type, init = {}) {
        super(type);
        Object.assign(this, init);
    }
};
const problems = [];
console.error = (...args) => problems.push(args.join(' '));
console.warn = (...args) => problems.push(args.join(' '));

const bytes = new Uint8Array(readFileSync(file));
const folder = path.dirname(file);
const report = await validator.validateBytes(bytes, {
    uri: path.basename(file),
    maxIssues: 50,
    externalResourceFunction: (uri) =>
        Promise.resolve(new Uint8Array(readFileSync(path.join(folder, decodeURIComponent(uri))))),
});
const errors = report.issues.messages.filter((m) => m.severity === 0);
const result = {
    validator: {
        errors: report.issues.numErrors,
        warnings: report.issues.numWarnings,
        messages: errors.slice(0, 10).map((m) => `${m.code} ${m.pointer ?? ''}: ${m.message}`),
    },
    nodes: {},
    meshes: 0,
    animations: [],
    duration: 0,
    tracks: {},
    cameras: [],
    ground: [],
    problems,
};

// The loader resolves a .gltf's buffer through its path; hand it the folder's files.
const loader = new GLTFLoader();
const data = file.endsWith('.gltf') ? readFileSync(file, 'utf8') : bytes.buffer;
const gltf = await new Promise((resolve, reject) => {
    if (file.endsWith('.gltf')) {
        // Inline the external buffer so no fetch is needed under Node.
        const json = JSON.parse(data);
        for (const b of json.buffers ?? []) {
            if (b.uri && !b.uri.startsWith('data:')) {
                const bin = readFileSync(path.join(folder, decodeURIComponent(b.uri)));
                b.uri = 'data:application/octet-stream;base64,' + bin.toString('base64');
            }
        }
        loader.parse(JSON.stringify(json), '', resolve, reject);
    } else {
        loader.parse(data, '', resolve, reject);
    }
}).catch((e) => {
    problems.push(String(e));
    return null;
});

if (gltf) {
    const json = gltf.parser.json;
    // three.js renames nodes (it drops dots); map its names back to the file's.
    const original = new Map();
    gltf.scene.traverse((object) => {
        if (object.isMesh) result.meshes += 1;
        const assoc = gltf.parser.associations.get(object);
        if (assoc && assoc.nodes !== undefined) {
            const name = json.nodes[assoc.nodes].name;
            original.set(object.name, name);
            const parent = object.parent;
            const parentAssoc = parent ? gltf.parser.associations.get(parent) : undefined;
            result.nodes[name] =
                parentAssoc && parentAssoc.nodes !== undefined ? json.nodes[parentAssoc.nodes].name : null;
        }
    });
    for (const camera of gltf.cameras ?? []) {
        const assoc = gltf.parser.associations.get(camera);
        const name = assoc && assoc.nodes !== undefined ? json.nodes[assoc.nodes].name : camera.name;
        const nodeDef = assoc && assoc.nodes !== undefined ? json.nodes[assoc.nodes] : null;
        const def = nodeDef && nodeDef.camera !== undefined ? json.cameras[nodeDef.camera] : null;
        result.cameras.push({
            node: name,
            yfov: def ? def.perspective.yfov : null,
            aspectRatio: def ? def.perspective.aspectRatio : null,
        });
    }
    // The ground straight below a point, on the terrain as the file places it.
    gltf.scene.updateMatrixWorld(true);
    let terrain = null;
    gltf.scene.traverse((object) => {
        const assoc = gltf.parser.associations.get(object);
        if (object.isMesh && assoc && assoc.nodes !== undefined && json.nodes[assoc.nodes].name === 'Terrain')
            terrain = object;
    });
    for (const [x, z] of groundPoints) {
        if (!terrain) {
            result.ground.push(null);
            continue;
        }
        const ray = new Raycaster(new Vector3(x, 1e5, z), new Vector3(0, -1, 0), 0, 2e5);
        const hits = ray.intersectObject(terrain, false);
        result.ground.push(hits.length ? hits[0].point.y : null);
    }
    for (const clip of gltf.animations) {
        result.animations.push(clip.name);
        result.duration = Math.max(result.duration, clip.duration);
        for (const track of clip.tracks) {
            const dot = track.name.lastIndexOf('.');
            const node = original.get(track.name.slice(0, dot)) ?? track.name.slice(0, dot);
            const interpolant = track.createInterpolant();
            result.tracks[`${node}.${track.name.slice(dot + 1)}`] = times.map((t) =>
                Array.from(interpolant.evaluate(t)),
            );
        }
    }
}
process.stdout.write(JSON.stringify(result) + '\n');
