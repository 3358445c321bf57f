#!/usr/bin/env bash
# The sample book as a Windows reader meets it: built on Linux from the x86_64 stub, run under Wine
# in a prefix of this test's own, its boxes answered and its window closed from outside.
#   whole-book.sh <linux builder> <linux stub> <windows stub> <window-driver.exe> <sample folder>
#                 <launching stub> <waiting program> [<in-i386-root> <32-bit root>]
# With the last two, the Windows programs are 32-bit ones: every Wine call then runs under the
# root's 32-bit Wine (scripts/in-i386-root); the Linux programs still run here.
# Passes only when it prints its last line, "whole book: all checks passed".
set -euo pipefail
builder=$1 linux_stub=$2 windows_stub=$3 driver=$4 pages=$5 launching_stub=$6 waiter=$7
in_root=${8:-} i386_root=${9:-}
for program in "$builder" "$linux_stub"; do
  if [ ! -x "$program" ]; then
    echo "missing $program: build the default preset first" >&2
    exit 1
  fi
done
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/whole-book.XXXXXX")
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
if [ -n "$in_root" ]; then
  export WINEARCH=win32
  # Inside the root: this test's folder (its prefix and books), the driver's build folder and the
  # sample's pages. The root's /tmp is one of this test's own, so its Wine server is its own too.
  mkdir "$work/root-tmp"
  export QUILLMERE_ROOT_SHARE="$work:$(dirname "${driver#Z:}"):$pages"
  export QUILLMERE_ROOT_TMP=$work/root-tmp
  wine() { "$in_root" "$i386_root" wine "$@"; }
  wineserver() { "$in_root" "$i386_root" wineserver "$@"; }
fi
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  # Safe under the 32-bit root too: its mounts (of /tmp/.X11-unix, of this folder) live only in
  # the runner's namespaces, so here the folders they sit on are empty and nothing is reached
  # through them. The root itself is never under this folder.
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
expect_line() {  # expect_line <output> <line>
  grep -qxF -- "$2" <<<"$1" || fail "expected '$2' in: $1"
}

title="Salt & Thyme"
files=("$pages/index.html" "$pages/sowing.html" "$pages/tending.html" "$pages/harvest.html"
       "$pages/tools.html" "$pages/style.css" "$pages/cover.svg" "$pages/Tool.exe")
build() {  # build <stub> <out> [more files]
  local stub=$1 out=$2
  shift 2
  "$builder" --stub "$stub" --out "$out" --title "$title" \
    --description "Growing herbs where the sea wind blows." \
    --reseller-id 100042 --reseller-name "Harbour Books" \
    --reseller-site "http://www.example.org/harbour-books" --update-seed 5150 "${files[@]}" "$@"
}
build "$windows_stub" "$work/book.exe"
build "$linux_stub" "$work/book"
# The same book from a stub that starts its packaged Waiter.exe once the window is open.
cp "$waiter" "$work/Waiter.exe"
build "$launching_stub" "$work/launching.exe" "$work/Waiter.exe"

# Waits for one Workspace with every page in it, and prints its path.
wait_for_pages() {  # wait_for_pages <temporary folder>
  for _ in $(seq 1 300); do
    for workspace in "$1"/vellumkit__*; do
      if [ -f "$workspace/tools.html" ] && [ -f "$workspace/index.html" ]; then
        sleep 1  # the last page may still be being written
        echo "$workspace"
        return 0
      fi
    done
    sleep 0.2
  done
  fail "no Workspace with the pages appeared in $1"
}
no_workspace() { ! compgen -G "$1/vellumkit__*" >/dev/null; }

# --- What the Linux stub writes for the same book, branding and advert store.
export XDG_CONFIG_HOME=$work/linux-config
mkdir -p "$XDG_CONFIG_HOME/tallowbrook" "$work/linux-tmp"
{
  cat "$pages/adverts.reg"
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Tallowbrook\\%s\\LU]\r\n"Terms"=dword:00000001\r\n' "$title"
} >"$XDG_CONFIG_HOME/tallowbrook/registry.reg"
TMPDIR=$work/linux-tmp "$work/book" & linux_pid=$!
linux_workspace=$(wait_for_pages "$work/linux-tmp")
cp -r "$linux_workspace" "$work/linux-pages"
kill -TERM "$linux_pid"
wait "$linux_pid" || fail "the Linux book ended with $?"

# --- The Windows book under Wine.
WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot --init >/dev/null 2>&1 || true
wineserver --wait || true
wine regedit /S "Z:$pages/adverts.reg" || fail "advert store not imported"
temp_dirs=("$WINEPREFIX"/drive_c/users/*/Temp)
temp=${temp_dirs[0]}
[ -d "$temp" ] || fail "no Temp folder in the prefix"
key="HKCU\\Software\\Tallowbrook\\$title\\LU"

drive() {  # drive <driver arguments>: its report, without the console's carriage returns
  wine "$driver" "$@" | tr -d '\r'
}
run_book() {  # run_book: starts the book, its pid in $book_pid
  wine "Z:$work/book.exe" & book_pid=$!
}
finish() {  # finish <expected exit code>
  local code=0
  wait "$book_pid" || code=$?
  [ "$code" = "$1" ] || fail "the book ended with $code, not $1"
}

# First start, terms declined: exit code 1, nothing written.
run_book
answer=$(drive answer "$title" no) || fail "no terms box: $answer"
expect_line "$answer" "yes=1"
expect_line "$answer" "no=1"
expect_line "$answer" "ok=0"
expect_line "$answer" "default=7"  # No
expect_line "$answer" "owned=0"    # no window yet
finish 1
no_workspace "$temp" || fail "a Workspace was left after the terms were declined"
if wine reg query "$key" /v Terms >/dev/null 2>&1; then fail "declined terms were remembered"; fi

# First start, terms accepted: remembered, the pages written as on Linux, closing removes them.
run_book
answer=$(drive answer "$title" yes) || fail "no terms box: $answer"
workspace=$(wait_for_pages "$temp")
query=$(wine reg query "$key" /v Terms | tr -d '\r')
grep -Eq 'Terms[[:space:]]+REG_DWORD[[:space:]]+0x1$' <<<"$query" || fail "Terms not 1: $query"
for page in index.html sowing.html tending.html harvest.html tools.html style.css cover.svg; do
  cmp "$work/linux-pages/$page" "$workspace/$page" || fail "$page differs from the Linux stub's"
done
[ ! -e "$workspace/Tool.exe" ] || fail "a packaged program was written before it was asked for"
closed=$(drive close "$title") || fail "no main window: $closed"
expect_line "$closed" "zoomed=1"
finish 0
no_workspace "$temp" || fail "the Workspace was left after the window closed"

# A signed copy, made by the builder with a certificate of this test's own: its signature lies
# after the package, so the reader gets the same pages.
certs=$work/certs
mkdir "$certs"
printf 'whole-book\n' >"$certs/password"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$certs/key.pem" -out "$certs/cert.pem" \
  -subj "/CN=Whole Book Test" -days 2 -addext extendedKeyUsage=codeSigning >/dev/null 2>&1 ||
  fail "no test certificate"
openssl pkcs12 -export -in "$certs/cert.pem" -inkey "$certs/key.pem" -out "$certs/signer.p12" \
  -passout "file:$certs/password" || fail "no test certificate"
build "$windows_stub" "$work/signed.exe" --quiet --sign "$certs/signer.p12" \
  --sign-password-file "$certs/password" || fail "the signed book was not built"
osslsigncode verify -CAfile "$certs/cert.pem" -in "$work/signed.exe" >/dev/null ||
  fail "the signed book does not verify"
wine "Z:$work/signed.exe" & book_pid=$!
workspace=$(wait_for_pages "$temp")
for page in index.html sowing.html tending.html harvest.html tools.html style.css cover.svg; do
  cmp "$work/linux-pages/$page" "$workspace/$page" || fail "signed: $page differs from the Linux stub's"
done
closed=$(drive close "$title") || fail "no main window: $closed"
finish 0
no_workspace "$temp" || fail "the signed book left its Workspace"
echo "signed book: verifies, writes the same pages as the unsigned one, exit 0"

# Terms remembered: no box; the session's end cleans up before the process goes.
run_book
workspace=$(wait_for_pages "$temp")
ended=$(drive endsession "$title") || fail "no main window: $ended"
expect_line "$ended" "query=1"
finish 0
[ ! -e "$workspace" ] || fail "the Workspace was left after the session ended"

# A started program keeps the process after the window closes; the Workspace goes when it ends.
gate=$work/gate
mkdir "$gate"
export QUILLMERE_GATE="Z:${gate//\//\\}"
run_launching() {  # run_launching: starts the launching book, its pid in $book_pid
  rm -f "$gate"/*
  wine "Z:$work/launching.exe" Waiter.exe & book_pid=$!
}
# After the session's end: the book ended at once, leaving only what Windows keeps of its running
# program (the file and the folder's lock); then the program is let go and must end.
ended_without_waiting() {  # ended_without_waiting <when>
  finish 0
  [ ! -e "$gate/ended" ] || fail "the session's end $1 waited for the started program"
  local left
  left=$(ls -A "$workspace" | tr '\n' ' ')
  [ "$left" = "Waiter.exe lock. " ] || fail "the session's end $1 left '$left' in the Workspace"
  touch "$gate/release"
  for _ in $(seq 1 100); do
    [ -f "$gate/ended" ] && ! pgrep -f 'Waiter\.exe' >/dev/null && break
    sleep 0.2
  done
  [ -f "$gate/ended" ] || fail "the started program did not end"
}
wait_until_started() {
  for _ in $(seq 1 300); do
    [ -f "$gate/started" ] && return 0
    sleep 0.2
  done
  fail "the packaged program did not start"
}
run_launching
workspace=$(wait_for_pages "$temp")
wait_until_started
[ -f "$workspace/Waiter.exe" ] || fail "the started program was not written into the Workspace"
closed=$(drive close "$title") || fail "no main window: $closed"
hidden=$(drive hidden "$title") || fail "the window stayed after it was closed: $hidden"
sleep 2
kill -0 "$book_pid" 2>/dev/null || fail "the book ended while its started program ran"
[ -d "$workspace" ] || fail "the Workspace went while the started program ran"
touch "$gate/release"
finish 0
[ -f "$gate/ended" ] || fail "the book ended before its started program"
no_workspace "$temp" || fail "the Workspace was left after the started program ended"
echo "closed while a program ran: window hidden, process waited for it, Workspace removed, exit 0"

# The session ends while the closed book waits for its started program: the wait hears it, cleans
# up what it can and ends the process without waiting further.
run_launching
workspace=$(wait_for_pages "$temp")
wait_until_started
closed=$(drive close "$title") || fail "no main window: $closed"
hidden=$(drive hidden "$title") || fail "the window stayed after it was closed: $hidden"
ended=$(drive endwait "$title") || fail "nothing heard the session's end during the wait: $ended"
expect_line "$ended" "query=1"
ended_without_waiting "during the exit wait"
echo "session ended during the exit wait: heard, no further wait, all but the running program removed"

# The session's end does not wait for the started program. Windows keeps a running program's file,
# so that file and the folder's lock stay until the next run, which sweeps them away.
run_launching
workspace=$(wait_for_pages "$temp")
wait_until_started
ended=$(drive endsession "$title") || fail "no main window: $ended"
expect_line "$ended" "query=1"
ended_without_waiting "with the window open"
run_book
next=$(wait_for_pages "$temp")
[ ! -e "$workspace" ] || fail "the next run ($next) left the earlier Workspace $workspace behind: $(ls -A "$workspace")"
closed=$(drive close "$title") || fail "no main window: $closed"
finish 0
no_workspace "$temp" || fail "the Workspace was left after the window closed"
echo "session ended while a program ran: no wait, all but the running program removed, swept by the next run"

echo "whole book: all checks passed"
