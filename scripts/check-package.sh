#!/usr/bin/env bash
# Builds the .deb from the release build and checks it as a user would meet it: the files it
# holds, its desktop entry, and its programs run from a scratch root it was unpacked into.
set -euo pipefail
cd "$(dirname "$0")/.."

rm -rf build/release/package
cpack --preset release >/dev/null
deb=$(ls build/release/package/qrix-scope_*.deb)
echo "package: $deb"
dpkg-deb -f "$deb" Depends

# Every file a user expects, where they expect it.
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/qrix-scope ./usr/bin/qrix-sensor-sim \
    ./usr/share/qrix-scope/qrix-logo.bmp \
    ./usr/share/applications/qrix-scope.desktop \
    ./usr/share/icons/hicolor/scalable/apps/qrix-scope.svg \
    ./usr/share/man/man1/qrix-scope.1.gz ./usr/share/man/man1/qrix-sensor-sim.1.gz \
    ./usr/bin/qrix-cli ./usr/share/man/man1/qrix-cli.1.gz; do
  grep -qx -- "$file" <<<"$contents" || { echo "package lacks $file" >&2; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "no Qt dependency" >&2; exit 1; }

root=build/release/package/root
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/qrix-scope.desktop"

# The programs run from the unpacked tree, and each manual page names every option --help shows.
export QT_QPA_PLATFORM=offscreen
"$root/usr/bin/qrix-scope" --version
"$root/usr/bin/qrix-sensor-sim" --help >/dev/null
for program in qrix-scope qrix-sensor-sim qrix-cli; do
  page=$(zcat "$root/usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
  for option in $("$root/usr/bin/$program" --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -q -- "$option" <<<"$page" || { echo "$program.1 lacks $option" >&2; exit 1; }
  done
done
# A short batch recording from the built-in simulated pair: the installed window starts, finds
# the sensor and writes the file.
"$root/usr/bin/qrix-scope" --port sim --record "$root/check.dat" --rec-interval 0 --rec-samples 3
[[ $(wc -l <"$root/check.dat") -eq 7 ]] || { echo "the recording is not 7 lines" >&2; exit 1; }
echo "package checked"
