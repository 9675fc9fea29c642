#!/usr/bin/env bash
# Runs the end-to-end tests of a host build against the Windows programs of a
# MinGW-w64 build, under Wine, with the same cases and expectations (CR LF
# line ends aside) as on Linux.
#
#   tests/run-cli-tests-under-wine.sh HOST_BUILD_DIR WINDOWS_BUILD_DIR [ctest args...]
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 HOST_BUILD_DIR WINDOWS_BUILD_DIR [ctest args...]" >&2
  exit 2
fi
host_build=$(cd "$1" && pwd)
windows_build=$(cd "$2" && pwd)
shift 2

find_tool() {
  for candidate in "$@"; do
    if command -v "$candidate" >/dev/null 2>&1; then
      command -v "$candidate"
      return 0
    fi
  done
  echo "none of these was found: $*" >&2
  return 1
}
wine=$(find_tool wine64 /usr/lib/wine/wine64 wine)
wineserver=$(find_tool wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver)

for program in zor1remap zor2remap; do
  if [ ! -f "$windows_build/$program/$program.exe" ]; then
    echo "missing $windows_build/$program/$program.exe: build the windows preset first" >&2
    exit 1
  fi
done

# A prefix of its own, made anew, and one wine server kept alive for the
# whole run, so that each case starts in well under a second.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zorremap-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

"$wineserver" -p
echo "creating the Wine prefix in $WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1

export ZOR_LAUNCHER=$wine
export ZOR1REMAP_PROGRAM=$windows_build/zor1remap/zor1remap.exe
export ZOR2REMAP_PROGRAM=$windows_build/zor2remap/zor2remap.exe
ctest --test-dir "$host_build" --output-on-failure -R '^cli\.' "$@"
