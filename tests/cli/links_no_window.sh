#!/usr/bin/env bash
# The command line is a front end of the services alone: its binary holds no panel table, no
# callback of the window, no start-up of the window, and needs no widget library.
set -euo pipefail
binary=$1
symbols=$(nm -C "$binary")
for forbidden in 'qrix::panelTemplate' 'qrix::defaultListLabel' 'qrix::StartUp' 'qrix::SetPanelValues' \
  'qrix::GetPanelValues' 'qrix::CC_'; do
  if grep -F -- "$forbidden" <<<"$symbols" >/dev/null; then
    echo "qrix-cli holds $forbidden" >&2
    exit 1
  fi
done
if readelf -d "$binary" | grep -E 'NEEDED.*(Widgets|Gui)' >&2; then
  echo "qrix-cli needs a widget library" >&2
  exit 1
fi
echo "qrix-cli holds no window"
