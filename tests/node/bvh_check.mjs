// Reads a BVH file with the BVH loader of three.js, an implementation
// independent of ours, and prints what it understood as one JSON object:
//   { "bones": [names in file order], "frameCount": n, "frameTime": s,
//     "tracks": { "<bone>.position": [[x, y, z] per requested frame],
//                 "<bone>.quaternion": [[x, y, z, w] per requested frame] },
//     "problems": [anything the loader complained about] }
// Usage: node bvh_check.mjs FILE.bvh [FRAME ...]
import { readFileSync } from 'node:fs';
import { BVHLoader } from 'three/examples/jsm/loaders/BVHLoader.js';

const [file, ...frameArgs] = process.argv.slice(2);
if (!file) {
    console.error('usage: node bvh_check.mjs FILE.bvh [FRAME ...]');
    process.exit(2);
}
const frames = frameArgs.map((f) => Number.parseInt(f, 10));

// The loader reports malformed input on the console and carries on; collect
// those reports so the caller can refuse a file the loader only half read.
const problems = [];
console.error = (...args) => problems.push(args.join(' '));
console.warn = (...args) => problems.push(args.join(' '));

let result;
try {
    result = new BVHLoader().parse(readFileSync(file, 'utf8'));
} catch (e) {
    process.stdout.write(JSON.stringify({ problems: [...problems, String(e)] }) + '\n');
    process.exit(1);
}

const tracks = {};
let frameCount = 0;
for (const track of result.clip.tracks) {
    const stride = track.getValueSize();
    frameCount = Math.max(frameCount, track.times.length);
    tracks[track.name] = frames.map((f) =>
        f >= 0 && f < track.times.length
            ? Array.from(track.values.slice(f * stride, (f + 1) * stride))
            : null
    );
}
const times = result.clip.tracks.length > 0 ? result.clip.tracks[0].times : [];
const frameTime = times.length > 1 ? times[1] - times[0] : 0;

process.stdout.write(
    JSON.stringify({
        bones: result.skeleton.bones.map((b) => b.name),
        frameCount,
        frameTime,
        tracks,
        problems,
    }) + '\n'
);
