#!/usr/bin/env bash
# Installs the build into a staging tree the way a package build does
# (DESTDIR + prefix) and checks what a user's system would then hold.
# Usage: check-install-layout.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1
source=$2
app_id=org.rivav.Rivav
prefix=/opt/rivav-test
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root=$stage$prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >"$stage/install.log" 2>&1; then
  cat "$stage/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

# Everything installed, and nothing else (no test programs, build files, libraries
# but the program's own browser module).
expected=(
  bin/rivav
  libexec/rivav/rivav libexec/rivav/loading.html libexec/rivav/bg.png
  libexec/rivav/bg@2x.png libexec/rivav/cong.gif libexec/rivav/cong@2x.gif libexec/rivav/city.txt
  libexec/rivav/librivav_webengine.so
  "share/applications/$app_id.desktop"
  "share/metainfo/$app_id.metainfo.xml"
  share/doc/rivav/copyright share/doc/rivav/changelog.gz
  share/man/man1/rivav.1.gz
  "share/icons/hicolor/scalable/apps/$app_id.svg"
)
for size in 16 24 32 48 64 72 96 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
# The vendor site (the rivav-site package); its price table goes to the
# configuration folder of the prefix the build was configured for.
expected+=(
  sbin/rivav-site
  lib/systemd/system/rivav-site.socket lib/systemd/system/rivav-site.service
  share/doc/rivav-site/copyright share/doc/rivav-site/changelog.gz
  share/man/man8/rivav-site.8.gz
)
while read -r page; do
  expected+=("share/rivav-site/pages/$page")
done < <(cd "$source/site/pages" && find . -type f | sed 's|^\./||')
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) ||
  fail "installed files differ from the expected list (< expected, > installed)"

# The link must be relative, so that it points into the same tree after
# DESTDIR staging, and must resolve to the real program.
link=$root/bin/rivav
if [ -L "$link" ]; then
  target=$(readlink "$link")
  [[ $target != /* ]] || fail "bin/rivav points to an absolute path: $target"
  [ "$(readlink -f "$link")" = "$(readlink -f "$root/libexec/rivav/rivav")" ] ||
    fail "bin/rivav resolves to $(readlink -f "$link"), not libexec/rivav/rivav"
else
  fail "bin/rivav is not a symbolic link"
fi
real=$(readlink -f "$link")
if [ ! -f "$real" ] || [ ! -x "$real" ]; then
  fail "the resolved program $real is not an executable file"
fi
# The program looks for these beside its resolved path.
for file in loading.html bg.png bg@2x.png cong.gif cong@2x.gif city.txt librivav_webengine.so; do
  [ -s "$(dirname "$real")/$file" ] || fail "$file is not beside the real program"
done

# The service starts the installed program on the installed pages and
# price table (paths of the configured prefix: compare what follows it).
exec_start=$(sed -n 's/^ExecStart=//p' "$root/lib/systemd/system/rivav-site.service")
[[ $exec_start == */sbin/rivav-site\ --pages\ */share/rivav-site/pages\ --prices\ */etc/rivav-site/prices.ini\ * ]] ||
  fail "rivav-site.service starts '$exec_start'"
prices=$(find "$stage" -path '*/etc/rivav-site/prices.ini')
[ -n "$prices" ] && cmp -s "$prices" "$source/site/prices.ini" || fail "etc/rivav-site/prices.ini is not installed"

# A reload as systemd runs it: the unit's ExecReload= lines in turn, each
# only if the one before succeeded, on the installed service (on a copy of
# the table and a port of its own). A good edit is taken, a broken one is
# refused before the service is signalled.
run_reload() {
  local line
  while read -r line; do
    line=${line//\$MAINPID/$site_pid}
    line=$(sed -e "s|[^ ]*/sbin/rivav-site|$root/sbin/rivav-site|" -e "s|[^ ]*/etc/rivav-site/prices.ini|$stage/prices.ini|" <<<"$line")
    eval "$line" 2>/dev/null || return 1
  done < <(sed -n 's/^ExecReload=//p' "$root/lib/systemd/system/rivav-site.service")
}
cp "$source/site/prices.ini" "$stage/prices.ini"
"$root/sbin/rivav-site" --pages "$root/share/rivav-site/pages" --prices "$stage/prices.ini" --port 0 \
  --state "$stage" >"$stage/site.out" 2>"$stage/site.err" &
site_pid=$!
for _ in $(seq 50); do grep -q '^listening on ' "$stage/site.out" && break; sleep 0.1; done
sed -i 's/^tax = .*/tax = 0.07/' "$stage/prices.ini"
run_reload || fail "a reload of a good table failed"
sed -i 's/^tax = .*/tax = lots/' "$stage/prices.ini"
run_reload && fail "a reload of a broken table succeeded"
sleep 0.5
kill "$site_pid" && wait "$site_pid"
[ "$(grep -c 'reloaded prices and templates' "$stage/site.err")" = 1 ] && ! grep -q 'reload failed' "$stage/site.err" ||
  fail "the service was not reloaded once: $(cat "$stage/site.err")"

# The socket listens where the program looks for the vendor by default.
web_host=$(sed -n 's/^RIVAV_WEB_HOST:STRING=//p' "$build/CMakeCache.txt")
listen=$(sed -n 's/^ListenStream=//p' "$root/lib/systemd/system/rivav-site.socket")
[ "$listen" = "$web_host" ] || fail "rivav-site.socket listens on '$listen', the program's vendor address is '$web_host'"

# The service's sandbox as systemd rates it: every measure it knows taken
# but a root directory of its own and the clock device ProtectClock= allows,
# and an exposure of at most 1.0 (of 10).
if command -v systemd-analyze >/dev/null; then
  report=$(systemd-analyze security --offline=true "$root/lib/systemd/system/rivav-site.service" 2>&1)
  missing=$(grep '^✗' <<<"$report" | grep -v -E '^✗ (RootDirectory=/RootImage=|DeviceAllow=) ')
  [ -z "$missing" ] || fail "rivav-site.service lacks sandbox measures: $missing"
  exposure=$(sed -n 's/.*Overall exposure level for rivav-site.service: \([0-9.]*\).*/\1/p' <<<"$report")
  awk -v e="$exposure" 'BEGIN { exit !(e != "" && e <= 1.0) }' ||
    fail "rivav-site.service exposure is '$exposure', above 1.0: $report"
fi

# The window names its desktop entry; the entry names the program and icon.
desktop_name=$(sed -n 's/.*setDesktopFileName(u"\([^"]*\)"_s).*/\1/p' "$source/app/main.cpp")
[ -f "$root/share/applications/$desktop_name.desktop" ] ||
  fail "main.cpp names desktop entry '$desktop_name', which is not installed"
entry=$root/share/applications/$app_id.desktop
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -e "$root/bin/$exec_name" ] || fail "desktop entry runs '$exec_name', which is not in bin/"
icon_name=$(sed -n 's/^Icon=//p' "$entry")
[ "$icon_name" = "$app_id" ] || fail "desktop entry names icon '$icon_name'"

# Each PNG icon must have the size of the folder it sits in.
for icon in "$root"/share/icons/hicolor/*x*/apps/"$app_id".png; do
  folder=$(basename "$(dirname "$(dirname "$icon")")")
  read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "${width}x${height}" = "$folder" ] || fail "icon in $folder is ${width}x${height}"
done
grep -q '<svg' "$root/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "scalable icon is not SVG"

# The metadata, desktop entry and icons as one installed tree.
if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
fi

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "install layout ok"
