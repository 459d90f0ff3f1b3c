#!/usr/bin/env python3
"""Seeds for the fuzz targets, from the generated asset tree.

Usage: make_seeds.py ASSET_DIR RUN_DIR OUT_DIR

Each target gets the game's own files of its kind, and each of them broken
the ways the tour of broken files breaks them: cut to half, and replaced by
as many random bytes (seeded by the file's name, as the tour seeds them).
"""
import pathlib
import random
import shutil
import sys
import zlib


def noise(size, name):
    random.seed(name)
    return random.randbytes(size)


def put(out, target, name, data):
    folder = out / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def put_broken(out, target, name, data, tour_name):
    put(out, target, name, data)
    put(out, target, name + ".cut", data[: len(data) // 2])
    put(out, target, name + ".noise", noise(len(data), tour_name))


def records_text():
    lines = ["frostmoor records 1", "best 41.25", "played 7", "won 3", "path 3"]
    lines += ["%g %g %g %g %g" % (i * 0.5, -i * 1.5, 0.25 * i, 0.1, 1 - 0.01 * i) for i in range(3)]
    body = "\n".join(lines) + "\n"
    return (body + "checksum %x\n" % zlib.crc32(body.encode())).encode()


def main():
    assets, run, out = (pathlib.Path(a) for a in sys.argv[1:4])
    if out.exists():
        shutil.rmtree(out)
    for file in sorted(assets.rglob("*")):
        relative = "../assets/" + str(file.relative_to(assets))
        name = file.name
        kind = file.suffix.lower()
        if kind == ".obj":
            data = file.read_bytes()
            mtl = file.with_suffix(".mtl")
            if mtl.exists():
                put(out, "model", name + "+mtl", data + b"\n#mtl\n" + mtl.read_bytes())
            put_broken(out, "model", name, data, relative)
        elif kind in (".png", ".jpg", ".tga"):
            put_broken(out, "image", name, file.read_bytes(), relative)
        elif kind == ".ttf":
            put_broken(out, "font", name, file.read_bytes(), relative)
        elif kind == ".wav":
            put_broken(out, "sound", name, file.read_bytes(), relative)
    settings = (run / "settings.ini").read_bytes()
    put_broken(out, "settings", "settings.ini", settings, "settings.ini")
    for key, value in (("volume", "7"), ("width", "-5"), ("height", "0"), ("width", "99999")):
        lines = [
            key + " = " + value if line.split("=")[0].strip() == key else line
            for line in settings.decode().splitlines()
        ]
        put(out, "settings", "settings-%s-%s.ini" % (key, value), "\n".join(lines).encode())
    put_broken(out, "records", "records.txt", records_text(), "records.txt")
    for target in ("model", "image", "font", "sound", "settings", "records"):
        put(out, target, "empty", b"")


if __name__ == "__main__":
    main()
