#!/usr/bin/env bash
# The Debian package as a user gets it: unpacked into a throw-away root, the
# installed trevolinctl answers on the simulated keyboard, the installed
# window draws itself offscreen, lintian finds no error and the metainfo
# validates.
# usage: PackageTest.sh PACKAGE.deb
set -euo pipefail
deb=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg -x "$deb" "$root"

# Nothing is looked up beside the build tree: the programs run from the
# unpacked root alone, with fresh user folders.
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config TREVOLIN_SIM_STATE=$work/sim
mkdir -m 700 "$XDG_RUNTIME_DIR"
info=$("$root/usr/bin/trevolinctl" --simulate info)
echo "$info" | grep -qi firmware || { echo "FAILED: trevolinctl --simulate info said: $info" >&2; exit 1; }
echo "installed trevolinctl --simulate info: ok"

QT_QPA_PLATFORM=offscreen TREVOLIN_SCREENSHOT=$work/window.png timeout 60 "$root/usr/bin/trevolin" --simulate >/dev/null
[ -s "$work/window.png" ] || { echo "FAILED: the installed trevolin drew no window" >&2; exit 1; }
echo "installed trevolin drew its window offscreen"

appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null
echo "metainfo validates"

# Errors fail; warnings are listed.
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
cat "$work/lintian"
if grep -q '^E:' "$work/lintian"; then
    echo "FAILED: lintian reports errors" >&2
    exit 1
fi
echo "lintian: no errors ($(grep -c '^W:' "$work/lintian" || true) warnings)"
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, $(dpkg -c "$deb" | grep -vc '/$') files"
