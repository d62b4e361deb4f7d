#!/usr/bin/env bash
# Checks a Debian package of Telvane without installing it: its control data must declare the
# libraries it needs, and the programs unpacked from it must run from there.
#   bash scripts/check-package.sh PACKAGE.deb WORK_FOLDER
#   bash scripts/check-package.sh --build BUILD_FOLDER WORK_FOLDER   (makes the package first)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

if [ "$1" = "--build" ]; then
  build="$(cd "$2" && pwd)"; work="$3"
  rm -rf "$work"; mkdir -p "$work"
  (cd "$build" && cpack -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log"; exit 1; }
  deb="$(ls "$work"/cpack/telvane_*.deb)"
else
  deb="$1"; work="$2"
  rm -rf "$work"; mkdir -p "$work"
fi
work="$(cd "$work" && pwd)"
fail() { echo "check-package: $*" >&2; exit 1; }

echo "== $deb"
dpkg-deb -I "$deb"
depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 \
           qt6-qpa-plugins; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

contents="$(dpkg-deb -c "$deb")"
for f in ./usr/bin/telvane ./usr/bin/telvane-cli ./usr/share/telvane/Language.cfg \
         ./usr/share/applications/telvane.desktop ./usr/share/mime/packages/telvane.xml \
         ./usr/share/icons/hicolor/scalable/apps/telvane.svg \
         ./usr/share/icons/hicolor/48x48/apps/telvane.png \
         ./usr/share/man/man1/telvane.1.gz ./usr/share/man/man1/telvane-cli.1.gz; do
  grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
if grep -qE ' \./usr/(lib|include)/' <<<"$contents"; then
  fail "the package holds libraries or headers: $(grep -E ' \./usr/(lib|include)/' <<<"$contents")"
fi

root="$work/root"
dpkg -x "$deb" "$root"
export QT_QPA_PLATFORM=offscreen HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"

[ "$("$root/usr/bin/telvane-cli" --version)" = "telvane-cli 1.6" ] || fail "telvane-cli --version"
[ "$("$root/usr/bin/telvane" --version)" = "telvane 1.6" ] || fail "telvane --version"
started="$("$root/usr/bin/telvane" --check)" || fail "telvane --check failed: $started"
grep -qF "language files in $root/usr/share/telvane" <<<"$started" ||
  fail "telvane did not find its language files under share/telvane: $started"

# A conversion with the unpacked tool: the example job with Chinese names, to points and back.
"$root/usr/bin/telvane-cli" convert "$here/examples/job-gbk.txt" "$work/points.csv" --as points
"$root/usr/bin/telvane-cli" convert "$work/points.csv" "$work/points.dxf"
info="$("$root/usr/bin/telvane-cli" info "$here/examples/job-gbk.txt")"
grep -q "^job " <<<"$info" || fail "info: $info"
echo "check-package: $deb is fine"
