#!/usr/bin/env bash
# The demo: installs a test installation of the product into a throwaway Wine prefix, starts
# Uninstall.exe the way the list of installed programs does, and reports what happened.
#   tools/demo.sh BUILD_DIR        (make demo)
#   DEMO_VISIBLE=1 with DISPLAY set shows the windows on that display instead of a private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=$(realpath "${1:-$here/build}")/bin
work=$(mktemp -d /tmp/uninst-demo.XXXXXX)
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$here/tests/harness/new-prefix" "$WINEPREFIX"

if [ "${DEMO_VISIBLE:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  echo "Showing windows on $DISPLAY"
else
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -n1 "$work/display")
  exec 3>&-
fi

# The local test service on the port of the build's default hosts receives the reports and requests.
journal=$work/service-journal.jsonl
python3 "$here/tests/service/test_service.py" --port 18080 --journal "$journal" \
  --replies "$here/tests/service/demo-replies.json" 2>/dev/null &
service=$!

# A persistent server, so that Wine does not treat the end of the copy as a restart.
wineserver -p
trap 'wineserver -k 2>/dev/null || true; kill ${xvfb:-} ${service:-} 2>/dev/null || true' EXIT

section() { printf '\n== %s ==\n' "$*"; }
drive_c=$WINEPREFIX/drive_c
install_win='C:\Program Files\Kelvo Papyr'
install=$drive_c/Program\ Files/Kelvo\ Papyr
temp=$drive_c/users/$(id -un)/Temp
app_paths='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\dovirad.exe'

section "Installing the demo product into $install_win"
wine "$bin/demo/demo_install.exe" "/dir=$install_win"
echo "  top level:"
(cd "$install" && ls -1p | sed 's/^/    /')
echo "  $(cd "$install" && find . -type f | wc -l) files"
echo "  registry: $app_paths  path = $install_win"

section "Starting \"$install_win\\Uninstall.exe\" as the uninstall entry does"
before=$(ls -d "$temp"/{*}.tmp 2>/dev/null || true)
wine cmd.exe /c "$install_win\\Uninstall.exe"
echo "first launch ended; waiting for the copy it started"
for _ in $(seq 600); do pgrep -f 'Temp.*Uninstall\.exe' >/dev/null || break; sleep 0.1; done

section "Work directory"
made=$(comm -13 <(printf '%s\n' "$before" | sort) <(ls -d "$temp"/{*}.tmp 2>/dev/null | sort) || true)
if [ -z "$made" ]; then
  echo "  none was made"
else
  for dir in $made; do
    echo "  made: ${dir#"$drive_c"/}"
    echo "  left after the copy ended:"
    (cd "$dir" && find . -type f | sed 's|^\./|    |' | sort)
  done
fi

section "Scheduled for the next start of Windows"
pending=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations \
  2>/dev/null | { sed -n 's/.*REG_MULTI_SZ *//p' | tr -d '\r' | sed 's/\\0/\n/g' | sed '/^$/d'; } || true)
if [ -n "$pending" ]; then printf '%s\n' "$pending" | sed 's/^/  delete /'; else echo "  nothing"; fi

section "Simulated restart"
wineboot -r >/dev/null 2>&1
for dir in $made; do
  if [ -e "$dir" ]; then echo "  still there: ${dir#"$drive_c"/}"; else echo "  removed: ${dir#"$drive_c"/}"; fi
done

section "Requests the test service received"
if [ -s "$journal" ]; then
  python3 -c 'import json,sys
for line in open(sys.argv[1], encoding="utf-8"):
    r = json.loads(line)
    print("  %s %s%s%s" % (r["method"], r["path"], "?" + r["query"] if r["query"] else "",
                          "  " + r["body"] if r["body"] else ""))' "$journal"
else
  echo "  none (is port 18080 taken?)"
fi

section "Journal of the product's components"
component_journal=$drive_c/ProgramData/KelvoDemo/journal.txt
if [ -s "$component_journal" ]; then tr -d '\r' <"$component_journal" | sed 's/^/  /'; else echo "  no component was called"; fi

section "Log ($temp/papyr_uninst.log)"
iconv -f GBK -t UTF-8 "$temp/papyr_uninst.log" | tr -d '\r'

echo
echo "The prefix stays for inspection: $WINEPREFIX"
