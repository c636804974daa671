#!/usr/bin/env python3
"""Draws the example's pictures with ImageMagick's `convert`.

    examples/make-pictures.py

- images/<Sid>/<Image1>: one 256 x 224 "screenshot" for every game of
  base/games.csv, a simple scene in the game's own colours with its name;
- site/: the small pictures that generated pages name literally: region
  flags (<letter>.gif, 27 x 21), the rating bar pieces (rv.gif, rt1.gif,
  rt2.gif, 12 pixels high) and the patch badges (t<code>.gif, 65 x 21).

The pictures are kept in the repository; run this again only to change them.
"""
import csv
import hashlib
import math
import pathlib
import subprocess

HERE = pathlib.Path(__file__).resolve().parent
FONT = "DejaVu-Sans-Bold"

# Sky, ground and accent colours; each game takes one set by its name.
PALETTES = [
    ("#1d2b64", "#f8cdda", "#2e7d32", "#ffd54f"),
    ("#0f2027", "#2c5364", "#5d4037", "#ff7043"),
    ("#4568dc", "#b06ab3", "#37474f", "#fff176"),
    ("#ff9966", "#ff5e62", "#6d4c41", "#fffde7"),
    ("#00b4db", "#83e0ff", "#33691e", "#ffeb3b"),
    ("#134e5e", "#71b280", "#3e2723", "#ffcc80"),
    ("#232526", "#414345", "#880e4f", "#80deea"),
    ("#3a1c71", "#d76d77", "#1b5e20", "#ffaf7b"),
    ("#0b486b", "#f56217", "#263238", "#fff59d"),
    ("#141e30", "#243b55", "#4a148c", "#e1f5fe"),
]


def convert(*args):
    subprocess.run(["convert", *map(str, args)], check=True)


def read_games():
    with open(HERE / "base" / "games.csv", encoding="cp1251", newline="") as f:
        return list(csv.DictReader(f, delimiter=";"))


def screenshot(game, target):
    digest = hashlib.sha1(game["Name"].encode()).digest()
    sky_top, sky_bottom, ground, accent = PALETTES[digest[0] % len(PALETTES)]
    horizon = 150 + digest[1] % 30
    sun_x, sun_y = 40 + digest[2] % 176, 30 + digest[3] % 60
    draw = [
        "-fill", accent, "-draw", f"circle {sun_x},{sun_y} {sun_x + 14},{sun_y}",
        "-fill", ground, "-draw", f"rectangle 0,{horizon} 255,223",
    ]
    # A few platforms and blocks, placed by the name's digest.
    for i in range(4):
        x = digest[4 + i] % 220
        y = horizon - 20 - digest[8 + i] % 80
        w = 24 + digest[12 + i] % 40
        draw += ["-fill", "#00000055", "-draw", f"rectangle {x + 3},{y + 3} {x + w + 3},{y + 11}",
                 "-fill", accent if i % 2 else "#ffffff", "-draw", f"rectangle {x},{y} {x + w},{y + 8}"]
    # The hero: a small figure standing on the ground.
    hx = 30 + digest[16] % 190
    draw += ["-fill", "#ffffff", "-draw", f"rectangle {hx},{horizon - 18} {hx + 10},{horizon}",
             "-fill", accent, "-draw", f"rectangle {hx + 2},{horizon - 26} {hx + 8},{horizon - 19}"]
    # A dark band under the title keeps it readable on any scene.
    draw += ["-fill", "#00000080", "-draw", "rectangle 0,176 255,223"]
    target.parent.mkdir(parents=True, exist_ok=True)
    convert("-size", "256x224", f"gradient:{sky_top}-{sky_bottom}", *draw,
            "(", "-size", "236x", "-background", "none", "-fill", "#ffffff", "-stroke", "#000000",
            "-strokewidth", "1", "-font", FONT, "-pointsize", "20", "-gravity", "center",
            f"caption:{game['Name']}", ")",
            "-gravity", "south", "-geometry", "+0+8", "-composite",
            "-colors", "64", "-strip", f"PNG8:{target}")


def flag(letter, draw, target):
    convert("-size", "27x21", "xc:#ffffff", *draw, "-fill", "none", "-stroke", "#9e9e9e",
            "-draw", "rectangle 0,0 26,20", "-strip", target)


def flags(site):
    stars = []
    for i in range(12):
        a = 2 * math.pi * i / 12
        x, y = 13 + 6 * math.cos(a), 10 + 6 * math.sin(a)
        stars += ["-draw", f"point {round(x)},{round(y)}"]
    flag("e", ["-fill", "#003399", "-draw", "rectangle 0,0 26,20", "-fill", "#ffcc00", *stars], site / "e.gif")
    flag("j", ["-fill", "#bc002d", "-draw", "circle 13,10 13,4"], site / "j.gif")
    stripes = []
    for i in range(0, 21, 3):
        stripes += ["-draw", f"rectangle 0,{i} 26,{i + 1}"]
    flag("u", ["-fill", "#b22234", *stripes, "-fill", "#3c3b6e", "-draw", "rectangle 0,0 11,10"], site / "u.gif")

def rating_bar(site):
    convert("-size", "1x12", "xc:#455a64", "-strip", site / "rv.gif")
    convert("-size", "4x12", "gradient:#ffca28-#f57c00", "-colors", "16", "-strip", site / "rt1.gif")
    convert("-size", "4x12", "gradient:#eceff1-#cfd8dc", "-colors", "16", "-strip", site / "rt2.gif")


# Patch language codes: where from and into.
BADGES = {"ur": ("EN", "RU"), "jr": ("JP", "RU"), "er": ("EU", "RU"), "ju": ("JP", "EN"), "je": ("JP", "EN")}


def badges(site):
    for code, (source, into) in BADGES.items():
        colour = "#c62828" if code[1] == "r" else "#1565c0"
        convert("-size", "65x21", "xc:none", "-fill", colour, "-draw", "roundrectangle 0,0 64,20 5,5",
                "-fill", "#ffffff", "-font", FONT, "-pointsize", "10", "-gravity", "center",
                "-annotate", "+0+0", f"{source} > {into}", "-strip", site / f"t{code}.gif")


def main():
    for game in read_games():
        screenshot(game, HERE / "images" / game["Sid"] / game["Image1"])
    site = HERE / "site"
    site.mkdir(exist_ok=True)
    flags(site)
    rating_bar(site)
    badges(site)


if __name__ == "__main__":
    main()
