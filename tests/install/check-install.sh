#!/usr/bin/env bash
# Installs the build into a temporary prefix with `cmake --install`, checks the
# installed tree, validates the desktop entry and the AppStream metadata (when
# desktop-file-utils and appstream are there), and starts the installed program
# offscreen on a file: it must take its data from <prefix>/share/pelm (its
# settings start as a copy of the shipped pelm.ini in the user's folder) and keep
# running until it is stopped.
# Usage: check-install.sh BUILD_DIR [run|validate]
#   run       the installed tree and the installed program (the default)
#   validate  desktop-file-validate and appstreamcli; exits 77 (skipped) when
#             either tool is missing
set -u
build=$1
mode=${2:-run}
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
"${CMAKE:-cmake}" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }

for f in bin/pelm share/pelm/pelm.ini share/pelm/Library/Tags/tags.pel share/pelm/Library/Templates/HTML.pel \
         share/pelm/Help/Readme.txt share/applications/ru.pelm.Pelm.desktop share/metainfo/ru.pelm.Pelm.metainfo.xml \
         share/icons/hicolor/scalable/apps/ru.pelm.Pelm.svg share/man/man1/pelm.1 share/man/ru/man1/pelm.1; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
[ -x "$prefix/bin/pelm" ] || fail "bin/pelm is not executable"
[ -d "$prefix/bin/Library" ] && fail "data installed beside the program instead of share/pelm"
templates=$(ls "$prefix/share/pelm/Library/Templates" | wc -l)
[ "$templates" -ge 6 ] || fail "only $templates templates installed"
if command -v rsvg-convert >/dev/null; then
  for s in 16 32 48 256; do
    [ -s "$prefix/share/icons/hicolor/${s}x${s}/apps/ru.pelm.Pelm.png" ] || fail "missing ${s}x${s} icon"
  done
fi

if [ "$mode" = validate ]; then
  for tool in desktop-file-validate appstreamcli; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  desktop-file-validate "$prefix/share/applications/ru.pelm.Pelm.desktop" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$prefix/share/metainfo/ru.pelm.Pelm.metainfo.xml" >"$work/as.log" 2>&1 \
    || { cat "$work/as.log"; fail "appstreamcli validate"; }
  echo "desktop entry and AppStream metadata valid"
  exit 0
fi

# The installed program, started from elsewhere with an empty config folder.
printf '<html>\r\n<body>\r\n</body>\r\n</html>\r\n' >"$work/page.html"
export XDG_CONFIG_HOME=$work/config HOME=$work/home QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_CONFIG_HOME" "$HOME"
(cd "$work" && exec "$prefix/bin/pelm" "$work/page.html") >"$work/run.log" 2>&1 &
pid=$!
settings=$XDG_CONFIG_HOME/pelm/pelm.ini
for _ in $(seq 1 100); do
  [ -s "$settings" ] && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/run.log"; fail "the installed program stopped at start-up"; }
  sleep 0.2
done
[ -s "$settings" ] || fail "no settings in the user's folder"
cmp -s "$settings" "$prefix/share/pelm/pelm.ini" || fail "the user's settings are not the shipped pelm.ini"
[ -e "$prefix/bin/pelm.ini" ] && fail "settings written beside the installed program"
sleep 1
kill -0 "$pid" 2>/dev/null || { cat "$work/run.log"; fail "the installed program stopped after start-up"; }

echo "install check passed"
