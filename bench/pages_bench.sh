#!/usr/bin/env bash
# Whole-process timing of the page generator on a large catalogue, against
# Hugo building the same catalogue:
#
#   bench/pages_bench.sh [WORKDIR]        (default /tmp/gamarium-pages-bench)
#
# The catalogue: 30,000 games over 27 letter groups ("num" and a to z), a
# third of them with a patch (half Russian translations, half others), each
# with its own 640 x 480 JPEG first picture (one picture hard-linked under
# every name), written with examples/site.htd at 11 games a page.
#
# Timed with hyperfine, every run into a fresh empty folder on tmpfs
# (OUT, default /dev/shm/gamarium-pages-bench-out): on ext4, creating
# thousands of files right after the previous run's were deleted spends
# seconds in the kernel's inode search, whichever program writes them.
#   gamarium         gamarium-cli pages on that base
#   gamarium-nopics  the same base with every Image1 empty (no picture read),
#                    which gives the share of the time spent on pictures
#   hugo             Debian's hugo on one content file per game with the same
#                    fields, a list template doing what the example's game
#                    block does (picture size read with imageConfig) and
#                    pagination of 11 over the same 29 sets; per-game pages
#                    are not rendered.
# Goal: gamarium at most 1 s and at least 7 times faster than hugo.
#
# GAMARIUM_CLI names the gamarium-cli to time (default build/src/cli/gamarium-cli,
# built with the project's default RelWithDebInfo settings, -O2 -g); RUNS
# the number of timed runs of each command (default 10).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/gamarium-pages-bench}
cli=${GAMARIUM_CLI:-$root/build/src/cli/gamarium-cli}
runs=${RUNS:-10}

# PREPARE_ONLY=1 only makes the catalogue (bench/publish_bench.sh reuses it).
prepare_only=${PREPARE_ONLY:-}
need=()
command -v hyperfine >/dev/null || need+=(hyperfine)
[ -n "$prepare_only" ] || command -v hugo >/dev/null || need+=(hugo)
command -v convert >/dev/null || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
if [ ! -x "$cli" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" --target gamarium-cli
fi

home=$work/home
hugosite=$work/hugo
if [ ! -e "$work/.ready" ]; then
  echo "Making the catalogue in $work ..."
  rm -rf "$work"
  mkdir -p "$home" "$hugosite/content/games" "$hugosite/layouts/_default" "$hugosite/layouts/partials"
  convert -size 640x480 plasma:steelblue-orange -seed 7 -quality 85 "$work/picture.jpg"

  # Both tables as CSV, the same games as Hugo content files, and the list of
  # picture names to link.
  python3 - "$work" <<'EOF'
import csv, os, sys
work = sys.argv[1]
GAMES, GROUPS = 30000, ["num"] + [chr(c) for c in range(ord("a"), ord("z") + 1)]
REGIONS = ["u", "j", "e", "ju", "eu", "jue"]
CODES = ["ur", "ju", "jr", "je"]  # half Russian translations, half others
TYPES = [("Platform", "Fantasy"), ("RPG", "Fantasy"), ("Sport", "Hockey"), ("Race/Driving", "Formula-1"),
         ("Fighting", ""), ("Shoot'em Up", "Science Fiction")]
TEXT = ("Описание игры номер {n}: герой проходит двенадцать уровней, собирает бонусы и сражается с боссами. "
        "Графика яркая, музыка запоминается, а управление отзывчивое.\rВторой абзац описания с подробностями.")
WORDS = {"e": "Европе", "j": "Японии", "u": "США"}
games, patches, pictures = [], [], []
n = 0
for g, sid in enumerate(GROUPS):
    size = GAMES // len(GROUPS) + (1 if g < GAMES % len(GROUPS) else 0)
    label = "1" if sid == "num" else sid.upper()
    for j in range(size):
        n += 1
        typ, genre = TYPES[n % len(TYPES)]
        game = {
            "N": n, "Sid": sid, "Name": f"{label} Game {j:05d}" + (" Deluxe Edition of the Long Name" if n % 17 == 0 else ""),
            "Region": REGIONS[n % len(REGIONS)], "Publisher": "Vertex Media", "Developer": "" if n % 5 == 0 else "Skyline Works",
            "Year": 1990 + n % 8, "Ngamers": 1 + n % 4, "Type": typ, "Genre": genre,
            "File": f"roms/game{n}.zip" if n % 2 else "", "Size": 512 * (1 + n % 8),
            "Image1": f"{sid}{n:05d}.jpg", "Text1": TEXT.format(n=n),
            "Analog": "Other Name (e)" if n % 10 == 0 else "", "Drname": "Alt Name" if n % 7 == 0 else "",
            "Rating": "" if n % 13 == 0 else n % 101, "Patch": "",
        }
        if n % 3 == 0:
            patches.append({"N": len(patches) + 1, "Patch": f"game{n}_patch.zip", "Size": 40 + n % 200,
                            "Proc": 100 if n % 4 else 75, "Text": CODES[len(patches) % len(CODES)],
                            "Autor": "Translator Team", "Year": 2000 + n % 20})
            game["Patch"] = len(patches)
        games.append(game)
        pictures.append(f"{sid}/{game['Image1']}")

def write_csv(name, rows):
    with open(os.path.join(work, name), "w", encoding="cp1251", newline="") as f:
        out = csv.DictWriter(f, fieldnames=list(rows[0]), delimiter=";", lineterminator="\r\n")
        out.writeheader()
        out.writerows(rows)
write_csv("games.csv", games)
write_csv("games-nopics.csv", [dict(game, Image1="") for game in games])
write_csv("patches.csv", patches)
with open(os.path.join(work, "pictures.txt"), "w") as f:
    f.write("\n".join(pictures) + "\n")

def toml(value):
    return '"' + str(value).replace("\\", "\\\\").replace('"', '\\"') + '"'
for game in games:
    groups = [game["Sid"]]
    lines = ["+++", f"title = {toml(game['Name'])}"]
    for key in ("Sid", "Region", "Publisher", "Developer", "Year", "Ngamers", "Type", "Genre", "File", "Size",
                "Image1", "Analog", "Drname", "Rating"):
        lines.append(f"{key.lower()} = {toml(game[key])}")
    patch = patches[game["Patch"] - 1] if game["Patch"] else None
    if patch:
        groups.append("ru" if patch["Text"][1] == "r" else "dejap")
    lines.append("groups = [" + ", ".join(toml(g) for g in groups) + "]")
    if patch:
        lines.append("[patch]")
        for key in ("Patch", "Size", "Proc", "Text", "Autor", "Year"):
            lines.append(f"{key.lower()} = {toml(patch[key])}")
    lines += ["[_build]", 'render = "never"', 'list = "always"', "+++", game["Text1"]]
    with open(os.path.join(work, "hugo", "content", "games", f"{game['N']:05d}.md"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
EOF

  for base in Bench BenchNoPics; do
    "$cli" --home "$home" create "$base"
    "$cli" --home "$home" import "$base" "$work/patches.csv" --patches --encoding cp1251 --delimiter ';'
  done
  "$cli" --home "$home" import Bench "$work/games.csv" --encoding cp1251 --delimiter ';'
  "$cli" --home "$home" import BenchNoPics "$work/games-nopics.csv" --encoding cp1251 --delimiter ';'
  # Every game's picture, each a name of its own for the same JPEG; Hugo reads
  # the same files.
  python3 - "$work" "$home/images/Bench" <<'EOF'
import os, sys
work, folder = sys.argv[1:]
for name in open(os.path.join(work, "pictures.txt")).read().split():
    os.makedirs(os.path.join(folder, os.path.dirname(name)), exist_ok=True)
    os.link(os.path.join(work, "picture.jpg"), os.path.join(folder, name))
EOF
  ln -s "$home/images/Bench" "$hugosite/images"

  # The Hugo site: the example's page head and style, the game block in Go templates.
  cat > "$hugosite/config.toml" <<'EOF'
baseURL = "http://example.org/"
disableKinds = ["home", "section", "taxonomy", "RSS", "sitemap", "robotsTXT", "404"]
ignoreErrors = ["error-disable-taxonomy"]
paginate = 11
[taxonomies]
group = "groups"
EOF
  iconv -f cp1251 -t utf-8 "$root/examples/site.htd" | tr -d '\r' | sed -n '/<style>/,/<\/style>/p' \
    > "$hugosite/layouts/partials/style.html"
  cat > "$hugosite/layouts/_default/term.html" <<'EOF'
<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<title>Игры SNES: каталог с описаниями</title>
{{ partial "style.html" . }}
</head>
<body>
{{- $pager := .Paginator }}
{{- define "pages" }}{{ range .Pagers }}{{ if eq .PageNumber $.PageNumber }}<b>[{{ .PageNumber }}]</b>{{ else }}<a href="{{ .URL }}"><b>{{ .PageNumber }}</b></a>{{ end }}&nbsp;&nbsp;{{ if eq .PageNumber 20 }}<br>{{ end }}{{ end }}{{ end }}
<div class="top"><div class="wrap"><h1>Игры <span>SNES</span></h1></div></div>
<div class="letters"><div class="wrap">{{ range $name, $terms := site.Taxonomies.groups }}<a href="/groups/{{ $name }}/">{{ if eq $name "num" }}#{{ else }}{{ upper $name }}{{ end }}</a>&nbsp;&nbsp;{{ end }}</div></div>
<div class="wrap main">
<div class="section"><h2>Раздел: {{ upper .Title }}</h2><div class="pages">Страницы: {{ template "pages" $pager }}</div></div>
{{- range $pager.Pages }}
{{- $p := .Params }}
{{- $room := sub 55 (mul 3 (len $p.region)) }}
{{- $name := .Title }}{{ $long := gt (len $name) $room }}
{{- if $long }}{{ $name = printf "%s..." (substr .Title 0 (sub $room 3)) }}{{ end }}
{{- $text := .RawContent }}
{{- if $long }}{{ $text = printf "Полное название РОМа:<br><b>%s</b><br><br>%s" .Title $text }}{{ end }}
{{- $text = replace $text "\r" "<br>" }}
{{- with $p.drname }}{{ $text = printf "%s<br><br>По-другому эта игра называлась <b>%s</b>" $text . }}{{ end }}
{{- with $p.analog }}{{ $text = printf "%s<br><br>В %s эта игра увидела свет как <b>%s</b>" $text (index (dict "e" "Европе" "j" "Японии" "u" "США") (substr . -2 1)) (substr . 0 -3) }}{{ end }}
{{- $img := imageConfig (printf "images/%s/%s" $p.sid $p.image1) }}
{{- $w := $img.Width }}{{ if gt $w 400 }}{{ $w = div $w 2 }}{{ end }}
{{- $h := $img.Height }}{{ if gt $h 300 }}{{ $h = div $h 2 }}{{ end }}
{{- $w1 := 36 }}{{ $w2 := 36 }}
{{- with $p.rating }}{{ $w1 = div (mul 6 (int .)) 5 }}{{ $w2 = sub 120 $w1 }}{{ end }}
<div class="game">
<table class="head"><tr><td class="name">{{ $name }}</td><td align="right">{{ range split $p.region "" }}&nbsp<img src="{{ . }}.gif" width="27" height="21" align="absmiddle">{{ end }}</td></tr></table>
<div class="body">
<div class="shot"><img src="i/{{ $p.sid }}/{{ $p.image1 }}" width="{{ $w }}" height="{{ $h }}" alt=""></div>
<div class="info">
<p class="copy">&copy; {{ $p.publisher }}{{ with $p.developer }}, {{ . }}{{ end }}, {{ $p.year }}<br>{{ with $p.patch }}&copy; {{ .autor }}, {{ .year }}<br>{{ end }}</p>
<table class="facts">
<tr><th>Жанр</th><td>{{ $p.type }}{{ with $p.genre }}, {{ . }}{{ end }}</td></tr>
<tr><th>Игроков</th><td>{{ $p.ngamers }}</td></tr>
<tr><th>Размер</th><td>{{ $p.size }} Кб</td></tr>
<tr><th>Рейтинг</th><td><span class="bar"><img src="rv.gif" width="1" height="12"><img src="rt1.gif" width="{{ $w1 }}" height="12"><img src="rt2.gif" width="{{ $w2 }}" height="12"><img src="rv.gif" width="1" height="12"></span><span class="score">{{ with $p.rating }}{{ . }}{{ else }}--{{ end }}</span></td></tr>
</table>
<div class="text">{{ $text | safeHTML }}</div>
<div class="patch">{{ with $p.patch }}<p><a href="{{ if eq (substr .text 1 1) "r" }}../../patch/snes/{{ else }}../../patch/snes/ext/{{ end }}{{ .patch }}"><img src="t{{ .text }}.gif" width="65" height="21" align="absmiddle" border="0"></a><b> ( {{ .size }} Кб )</b>{{ if ne .proc "100" }} - {{ .proc }}%{{ end }}</p>{{ end }}</div>
<a class="rom rom-{{ if $p.file }}s{{ else }}d{{ end }}" href="{{ with $p.file }}{{ . }}{{ else }}../../disk.htm{{ end }}"><span class="download">Скачать РОМ</span><span class="on-disk">РОМ на диске</span></a>
</div>
</div>
</div>
{{- end }}
<div class="section"><span></span><div class="pages">Страницы: {{ template "pages" $pager }}</div></div>
</div>
</body>
</html>
EOF
  touch "$work/.ready"
fi
[ -z "$prepare_only" ] || exit 0

template=$root/examples/site.htd
out=${OUT:-/dev/shm/gamarium-pages-bench-out}
echo "gamarium-cli: $cli"
rm -rf "$out" && mkdir -p "$out"
"$cli" --home "$home" pages Bench "$template" "$out" | tee "$work/pages.txt"
rm -rf "$out" && mkdir "$out" && hugo --quiet -s "$hugosite" -d "$out" && echo "hugo wrote $(find "$out" -name '*.html' | wc -l) pages"
rm -rf "$out"

hyperfine --warmup 1 --runs "$runs" --export-json "$work/gamarium.json" \
  --prepare "rm -rf '$out' && mkdir '$out'" \
  -n gamarium "'$cli' --home '$home' pages Bench '$template' '$out'" \
  -n gamarium-nopics "'$cli' --home '$home' pages BenchNoPics '$template' '$out'"
hyperfine --warmup 1 --runs "$(( runs < 5 ? runs : 5 ))" --export-json "$work/hugo.json" \
  --prepare "rm -rf '$out' && mkdir '$out'" \
  -n hugo "hugo --quiet -s '$hugosite' -d '$out'"

python3 - "$work" <<'EOF'
import json, re, sys
work = sys.argv[1]
median = {}
for name in ("gamarium", "hugo"):
    for result in json.load(open(f"{work}/{name}.json"))["results"]:
        median[result["command"]] = result["median"]
pages = int(re.search(r"(\d+)", open(f"{work}/pages.txt", encoding="utf-8").read()).group(1))
g, n, h = median["gamarium"], median["gamarium-nopics"], median["hugo"]
print(f"median wall time: gamarium {g:.3f} s (goal <= 1 s), without pictures {n:.3f} s, hugo {h:.3f} s")
print(f"hugo / gamarium: {h / g:.1f}x (goal >= 7x)")
print(f"pages: {pages}, {pages / g:.0f} pages/s")
print(f"pictures: {(g - n) / g * 100:.0f}% of gamarium's time")
EOF
rm -rf "$out"
