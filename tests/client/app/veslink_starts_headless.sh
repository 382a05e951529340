#!/bin/sh
# The real veslink program starts without a display, reads its settings from
# the registry and an INI file, writes the host list and waits for the user.
set -eu
VESLINK=$1
VESREG=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export VESTRA_REGISTRY_DIR="$dir/reg" QT_QPA_PLATFORM=offscreen
"$VESREG" set 'HKCU\Software\VESTRA\Settings' interface 'telnet,reghost'
"$VESREG" set 'HKCU\Software\VESTRA\Settings' host_list 'older,'
printf 'host=inihost\n' > "$dir/site.INI"

rc=0
timeout 5 "$VESLINK" "$dir/site" > "$dir/out" 2>&1 || rc=$?
if [ "$rc" != 124 ]; then
  cat "$dir/out"
  echo "veslink ended by itself with exit code $rc"
  exit 1
fi
if ! "$VESREG" query 'HKCU\Software\VESTRA\Settings' host_list | grep -q "	inihost,older,\$"; then
  "$VESREG" export HKCU
  echo "host list not updated at start-up"
  exit 1
fi
echo "veslink started, read registry and INI file, and kept running"
