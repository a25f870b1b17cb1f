// Renders a glTF file written by Kestrovane from its own camera at one time,
// as the file says the scene looks: three.js reads the file, plays its
// animation to that time and gives every node's place and the camera's
// projection; a small software rasteriser (depth buffer, one sun, the
// materials' base colours) draws the triangles, so no graphics card is
// needed. Writes a PNG and prints one JSON line: the share of the image each
// named node covers and the pixel centre of each.
// Usage: node gltf_render.mjs FILE.glb TIME OUT.png [WIDTH]
import { readFileSync, writeFileSync } from 'node:fs';
import { deflateSync } from 'node:zlib';
import { AnimationMixer, Vector3, Matrix3 } from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';

const [file, timeText, out, widthText] = process.argv.slice(2);
if (!file || !timeText || !out) {
    console.error('usage: node gltf_render.mjs FILE.glb TIME OUT.png [WIDTH]');
    process.exit(2);
}
globalThis.ProgressEvent ??= class extends Event {
    constructor(type, init = {}) {
        super(type);
        Object.assign(this, init);
    }
};
const quiet = [];
console.warn = (...args) => quiet.push(args.join(' '));

const bytes = new Uint8Array(readFileSync(file));
const gltf = await new Promise((resolve, reject) => new GLTFLoader().parse(bytes.buffer, '', resolve, reject));
const time = Number(timeText);
const mixer = new AnimationMixer(gltf.scene);
for (const clip of gltf.animations) mixer.clipAction(clip).play();
mixer.setTime(time);
gltf.scene.updateMatrixWorld(true);

const camera = gltf.cameras[0];
if (!camera) {
    console.error('the file has no camera');
    process.exit(1);
}
const width = Number(widthText ?? 800);
const height = Math.round(width / camera.aspect);
camera.updateMatrixWorld(true);
camera.updateProjectionMatrix();

const colour = new Float32Array(width * height * 3);
const depth = new Float32Array(width * height).fill(Infinity);
const owner = new Int32Array(width * height).fill(-1);
// Sky: lighter towards the horizon.
for (let y = 0; y < height; ++y) {
    const t = y / height;
    for (let x = 0; x < width; ++x) {
        const i = (y * width + x) * 3;
        colour[i] = 0.45 + 0.35 * t;
        colour[i + 1] = 0.62 + 0.28 * t;
        colour[i + 2] = 0.85 + 0.1 * t;
    }
}

const json = gltf.parser.json;
const nodeName = (object) => {
    for (let o = object; o; o = o.parent) {
        const a = gltf.parser.associations.get(o);
        if (a && a.nodes !== undefined && json.nodes[a.nodes].name) return json.nodes[a.nodes].name;
    }
    return object.name;
};
const names = [];
const sun = new Vector3(0.35, 0.85, 0.4).normalize();
const n = new Vector3();
const normalMatrix = new Matrix3();

gltf.scene.traverse((mesh) => {
    if (!mesh.isMesh) return;
    const id = names.push(nodeName(mesh)) - 1;
    const position = mesh.geometry.attributes.position;
    const normal = mesh.geometry.attributes.normal;
    const base = mesh.material.color ?? { r: 0.6, g: 0.6, b: 0.6 };
    normalMatrix.getNormalMatrix(mesh.matrixWorld);
    for (let t = 0; t + 2 < position.count; t += 3) {
        // Corners in the camera's frame, the triangle cut at the near plane.
        let polygon = [];
        for (let k = 0; k < 3; ++k)
            polygon.push(new Vector3().fromBufferAttribute(position, t + k)
                .applyMatrix4(mesh.matrixWorld).applyMatrix4(camera.matrixWorldInverse));
        polygon = clipNear(polygon, -camera.near);
        if (polygon.length < 3) continue;
        // Flat light from the triangle's mean normal, both sides lit.
        n.set(0, 0, 0);
        for (let k = 0; k < 3; ++k) n.add(new Vector3().fromBufferAttribute(normal, t + k));
        n.applyMatrix3(normalMatrix).normalize();
        const light = 0.35 + 0.65 * Math.abs(n.dot(sun));
        const rgb = [base.r * light, base.g * light, base.b * light];
        const screen = polygon.map((v) => {
            const c = v.clone().applyMatrix4(camera.projectionMatrix);
            return [(c.x * 0.5 + 0.5) * width, (1 - (c.y * 0.5 + 0.5)) * height, c.z];
        });
        for (let k = 1; k + 1 < screen.length; ++k) fill(screen[0], screen[k], screen[k + 1], rgb, id);
    }
});

/// The part of a polygon (camera frame) in front of the plane z = limit.
function clipNear(polygon, limit) {
    const out = [];
    for (let i = 0; i < polygon.length; ++i) {
        const a = polygon[i], b = polygon[(i + 1) % polygon.length];
        const aIn = a.z <= limit, bIn = b.z <= limit;
        if (aIn) out.push(a);
        if (aIn !== bIn) out.push(a.clone().lerp(b, (limit - a.z) / (b.z - a.z)));
    }
    return out;
}

function fill(s0, s1, s2, rgb, id) {
    const s = [s0, s1, s2];
    const minX = Math.max(0, Math.floor(Math.min(s0[0], s1[0], s2[0])));
    const maxX = Math.min(width - 1, Math.ceil(Math.max(s0[0], s1[0], s2[0])));
    const minY = Math.max(0, Math.floor(Math.min(s0[1], s1[1], s2[1])));
    const maxY = Math.min(height - 1, Math.ceil(Math.max(s0[1], s1[1], s2[1])));
    const area = (s[1][0] - s[0][0]) * (s[2][1] - s[0][1]) - (s[2][0] - s[0][0]) * (s[1][1] - s[0][1]);
    if (Math.abs(area) < 1e-12) return;
    for (let y = minY; y <= maxY; ++y) {
        for (let x = minX; x <= maxX; ++x) {
            const px = x + 0.5, py = y + 0.5;
            const w0 = ((s[1][0] - px) * (s[2][1] - py) - (s[2][0] - px) * (s[1][1] - py)) / area;
            const w1 = ((s[2][0] - px) * (s[0][1] - py) - (s[0][0] - px) * (s[2][1] - py)) / area;
            const w2 = 1 - w0 - w1;
            if (w0 < 0 || w1 < 0 || w2 < 0) continue;
            const z = w0 * s[0][2] + w1 * s[1][2] + w2 * s[2][2];
            const i = y * width + x;
            if (z >= depth[i] || z < -1 || z > 1) continue;
            depth[i] = z;
            owner[i] = id;
            colour[3 * i] = rgb[0];
            colour[3 * i + 1] = rgb[1];
            colour[3 * i + 2] = rgb[2];
        }
    }
}

// PNG: 8-bit RGB, sRGB-encoded from the linear colours.
const crcTable = Array.from({ length: 256 }, (_, c) => {
    for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
});
const crc = (buf) => {
    let c = 0xffffffff;
    for (const b of buf) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
};
const chunk = (type, data) => {
    const head = Buffer.alloc(8);
    head.writeUInt32BE(data.length, 0);
    head.write(type, 4, 'ascii');
    const tail = Buffer.alloc(4);
    tail.writeUInt32BE(crc(Buffer.concat([head.subarray(4), data])), 0);
    return Buffer.concat([head, data, tail]);
};
const raw = Buffer.alloc((width * 3 + 1) * height);
const encode = (v) => Math.round(255 * (v <= 0.0031308 ? 12.92 * v : 1.055 * Math.pow(v, 1 / 2.4) - 0.055));
for (let y = 0; y < height; ++y) {
    raw[y * (width * 3 + 1)] = 0;
    for (let x = 0; x < width * 3; ++x)
        raw[y * (width * 3 + 1) + 1 + x] = Math.max(0, Math.min(255, encode(colour[y * width * 3 + x])));
}
const ihdr = Buffer.alloc(13);
ihdr.writeUInt32BE(width, 0);
ihdr.writeUInt32BE(height, 4);
ihdr[8] = 8;
ihdr[9] = 2;
writeFileSync(out, Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', ihdr),
    chunk('IDAT', deflateSync(raw)),
    chunk('IEND', Buffer.alloc(0)),
]));

// What each node covers: its share of the image and its pixel centre.
const cover = {};
for (let i = 0; i < owner.length; ++i) {
    if (owner[i] < 0) continue;
    const name = names[owner[i]];
    const c = (cover[name] ??= { share: 0, x: 0, y: 0 });
    c.share += 1;
    c.x += i % width;
    c.y += Math.floor(i / width);
}
for (const c of Object.values(cover)) {
    c.x /= c.share;
    c.y /= c.share;
    c.share /= owner.length;
}
process.stdout.write(JSON.stringify({ width, height, cover }) + '\n');
