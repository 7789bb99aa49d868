#!/usr/bin/env bash
# Tries the two commands of the README as a new user would: makes a minimal Debian 12 with
# debootstrap in a temporary folder, copies the working tree in, runs ./run.sh there without a
# display and then ./test.sh, and reports the last line of each. Needs root; slow (the whole test
# suite runs inside). The folder and everything mounted in it go away whatever happens.
#
#   scripts/fresh-debian-check.sh [--run-only] [--mirror URL]
#
#   --run-only    only ./run.sh (installs the packages, builds, and must stop for want of a display)
#   --mirror URL  the Debian archive to use instead of the first one in the machine's apt sources
set -euo pipefail

suite=bookworm
run_only=0
mirror=""
while [ $# -gt 0 ]; do
  case $1 in
    --run-only) run_only=1 ;;
    --mirror) mirror=${2:?--mirror needs a URL}; shift ;;
    -h|--help) sed -n '2,10s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "fresh-debian-check: unknown argument $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done

say() { printf '\n== %s\n' "$*"; }
die() { echo "fresh-debian-check: $*" >&2; exit 2; }

[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot and mounts); try: sudo $0 $*"
src=$(cd "$(dirname "$0")/.." && pwd)

# The first Debian archive the machine's apt sources name (deb822 files first, then one-line
# ones), leaving out the security archive, which holds updates only.
apt_mirror() {
  local f
  {
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      awk 'function flush() { if (types ~ / deb( |$)/ && enabled != "no") print uris; types = uris = enabled = "" }
           /^[ \t]*$/ { flush(); next }
           /^[ \t]*#/ { next }
           tolower($1) == "types:" { $1 = ""; types = $0 }
           tolower($1) == "uris:" { $1 = ""; uris = $0 }
           tolower($1) == "enabled:" { enabled = tolower($2) }
           END { flush() }' "$f"
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [ -f "$f" ] || continue
      # deb [options] URI suite components
      awk '$1 == "deb" { i = 2; if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ } print $i }' "$f"
    done
  } | tr ' ' '\n' | grep -E '^https?://' | grep -v -E -- '-security/?$' | head -n 1
}

if [ -z "$mirror" ]; then
  mirror=$(apt_mirror) || true
  [ -n "$mirror" ] || die "no Debian archive found in /etc/apt/sources.list.d/*.sources or /etc/apt/sources.list; give one with --mirror URL"
fi

if ! command -v debootstrap >/dev/null 2>&1; then
  echo "Installing debootstrap (needed to make the fresh system)"
  export DEBIAN_FRONTEND=noninteractive
  { apt-get install -y -qq debootstrap >/dev/null 2>&1 ||
    { apt-get update -qq && apt-get install -y -qq debootstrap >/dev/null; }; } ||
    die "debootstrap is needed: apt-get install debootstrap"
fi

work=$(mktemp -d /var/tmp/fresh-debian.XXXXXX)
debootstrap_pid=""
root=$work/root

# Everything mounted at or below the folder, deepest first.
mounts_below() {
  awk -v dir="$work" '{ m = $5; gsub(/\\040/, " ", m); if (m == dir || index(m, dir "/") == 1) print m }' \
    /proc/self/mountinfo | sort -r
}

# Ends what still runs inside the fresh system (the game, Xvfb, a build), unmounts, and deletes
# the folder only once nothing is mounted below it any more.
cleanup() {
  local status=$? p r m pids
  # Interrupting the clean-up would leave the folder behind: it runs to its end, and what it
  # starts (umount, rm) ignores INT and TERM as well.
  trap - EXIT
  trap '' INT TERM
  for signal in TERM KILL; do
    pids=()
    if [ -n "$debootstrap_pid" ] && kill -0 -- -"$debootstrap_pid" 2>/dev/null; then
      kill -s "$signal" -- -"$debootstrap_pid" 2>/dev/null || true
      pids+=("$debootstrap_pid")
    fi
    for p in /proc/[0-9]*; do
      r=$(readlink "$p/root" 2>/dev/null) || continue
      case $r in "$root" | "$root"/*) pids+=("${p#/proc/}") ;; esac
    done
    [ ${#pids[@]} -eq 0 ] && break
    kill -s "$signal" "${pids[@]}" 2>/dev/null || true
    sleep 2
  done
  for m in $(mounts_below); do
    umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true
  done
  if [ -n "$(mounts_below)" ]; then
    echo "fresh-debian-check: still mounted, $work left in place:" >&2
    mounts_below >&2
  else
    rm -rf --one-file-system "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

say "Making a minimal Debian 12 ($suite, minbase) from $mirror in $work"
start=$SECONDS
# In the background, in a process group of its own, so that a TERM or Ctrl-C reaches the trap
# at once (bash would wait for a foreground command first) and the clean-up can end all of it.
setsid debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 &
debootstrap_pid=$!
if ! wait "$debootstrap_pid"; then
  debootstrap_pid=""
  tail -n 30 "$work/debootstrap.log"
  die "debootstrap failed"
fi
debootstrap_pid=""
echo "done in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"

# Packages installed inside must not start services: nothing may outlive a command in there.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

mount -t proc proc "$root/proc"
mount -t sysfs -o ro sysfs "$root/sys"
# debootstrap made the basic device nodes; where it could not, the machine's own stand in.
for node in null zero full random urandom tty; do
  if [ ! -c "$root/dev/$node" ]; then
    rm -f "$root/dev/$node"; touch "$root/dev/$node"; mount --bind "/dev/$node" "$root/dev/$node"
  fi
done
mkdir -p "$root/dev/pts" "$root/dev/shm"
if mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts" 2>/dev/null; then
  rm -f "$root/dev/ptmx"; ln -s pts/ptmx "$root/dev/ptmx"
else
  mount --bind /dev/pts "$root/dev/pts"
fi
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"

# The working tree as git sees it (tracked files plus untracked ones not ignored, so uncommitted
# changes count), without build folders.
dest=$root/root/tree
mkdir -p "$dest"
if git -C "$src" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$src" && git ls-files -z --cached --others --exclude-standard |
     while IFS= read -r -d '' f; do if [ -e "$f" ] || [ -L "$f" ]; then printf '%s\0' "$f"; fi; done |
     tar --null -T - -cf -) | tar -xf - --no-same-owner -C "$dest"
else
  tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -xf - --no-same-owner -C "$dest"
fi
echo "copied $(find "$dest" -type f | wc -l) files of $src"

# in_fresh LOG COMMAND [PREFIX...]: runs COMMAND in the tree inside, as root logged in on a
# console would (no display, no locale set), showing its output and keeping it in LOG. Run in
# the background so that Ctrl-C or a TERM reaches the trap at once.
in_fresh() {
  local log=$1 cmd=$2 env=(HOME=/root TERM="${TERM:-dumb}" PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
  shift 2
  local v
  for v in http_proxy https_proxy no_proxy; do [ -n "${!v:-}" ] && env+=("$v=${!v}"); done
  (set -o pipefail; env -i "${env[@]}" "$@" chroot "$root" /bin/bash -c "cd /root/tree && $cmd" 2>&1 | tee "$log") &
  local child=$!
  wait "$child"
}

say "./run.sh (no display)"
start=$SECONDS
run_status=0
in_fresh "$work/run.log" ./run.sh || run_status=$?
run_last=$(tail -n 1 "$work/run.log")
run_time=$((SECONDS - start))

test_status=""
if [ "$run_only" -eq 0 ]; then
  say "./test.sh"
  start=$SECONDS
  test_status=0
  # The tests run in a network namespace of their own: X servers also listen on abstract
  # sockets, which are per namespace, so their Xvfb and its clients cannot meet the displays of
  # whoever else tests on this machine. ./run.sh has installed everything by now.
  isolate=(unshare --net)
  "${isolate[@]}" true 2>/dev/null || { echo "(no network namespace here; the tests share the machine's X sockets)"; isolate=(); }
  in_fresh "$work/test.log" ./test.sh "${isolate[@]}" || test_status=$?
  test_last=$(tail -n 1 "$work/test.log")
  test_time=$((SECONDS - start))
fi

ok=1
say "Fresh Debian 12 ($suite, minbase, $mirror)"
# Without a display the game must refuse to start, saying why.
[ "$run_status" -ne 0 ] && [[ $run_last == *"no display"* ]] || ok=0
printf './run.sh  exit %s after %d min: %s\n' "$run_status" $((run_time / 60)) "$run_last"
if [ -n "$test_status" ]; then
  [ "$test_status" -eq 0 ] && [[ $test_last =~ ^[0-9]+\ passed,\ 0\ failed$ ]] || ok=0
  printf './test.sh exit %s after %d min: %s\n' "$test_status" $((test_time / 60)) "$test_last"
fi
if [ "$ok" -eq 1 ]; then echo "fresh-debian-check: as expected"; else echo "fresh-debian-check: NOT as expected"; fi
[ "$ok" -eq 1 ]
