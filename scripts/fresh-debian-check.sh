#!/usr/bin/env bash
# Tries the two commands of the README as a new user would: makes a minimal Debian 12 with
# debootstrap in a temporary folder, copies the working tree in, runs ./run.sh there without a
# display and then ./test.sh, and reports the last line of each. Needs root; slow (the whole test
# suite runs inside). The folder and everything mounted in it go away whatever happens.
#
#   scripts/fresh-debian-check.sh [--run-only | --package] [--mirror URL]
#
#   --run-only    only ./run.sh (installs the packages, builds, and must stop for want of a display)
#   --package     instead: builds the Debian package there (dpkg-buildpackage, then lintian), installs
#                 it with apt into a second fresh copy that never built anything, plays the installed
#                 game headless from an empty folder as a user, purges it and shows nothing is left;
#                 DEB_BUILD_OPTIONS is passed on (nocheck skips the unit tests in the build)
#   --mirror URL  the Debian archive to use instead of the first one in the machine's apt sources
set -euo pipefail

suite=bookworm
run_only=0
package=0
mirror=""
while [ $# -gt 0 ]; do
  case $1 in
    --run-only) run_only=1 ;;
    --package) package=1 ;;
    --mirror) mirror=${2:?--mirror needs a URL}; shift ;;
    -h|--help) sed -n '2,15s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "fresh-debian-check: unknown argument $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
[ "$run_only" -eq 1 ] && [ "$package" -eq 1 ] && { echo "fresh-debian-check: --run-only or --package, not both" >&2; exit 2; }

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
# --package: a copy of the fresh system made before anything is built in it, for the install.
clean=$work/clean

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
      case $r in "$work"/*) pids+=("${p#/proc/}") ;; esac
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
if [ "$package" -eq 1 ]; then
  cp -a --one-file-system "$root" "$clean"
fi

# mount_system DIR: what programs expect in a running system, mounted into the one in DIR.
mount_system() {
  local dir=$1 node
  mount -t proc proc "$dir/proc"
  mount -t sysfs -o ro sysfs "$dir/sys"
  # debootstrap made the basic device nodes; where it could not, the machine's own stand in.
  for node in null zero full random urandom tty; do
    if [ ! -c "$dir/dev/$node" ]; then
      rm -f "$dir/dev/$node"; touch "$dir/dev/$node"; mount --bind "/dev/$node" "$dir/dev/$node"
    fi
  done
  mkdir -p "$dir/dev/pts" "$dir/dev/shm"
  if mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$dir/dev/pts" 2>/dev/null; then
    rm -f "$dir/dev/ptmx"; ln -s pts/ptmx "$dir/dev/ptmx"
  else
    mount --bind /dev/pts "$dir/dev/pts"
  fi
  mount -t tmpfs -o mode=1777 tmpfs "$dir/dev/shm"
  mount -t tmpfs -o mode=1777 tmpfs "$dir/tmp"
}
mount_system "$root"
[ "$package" -eq 1 ] && mount_system "$clean"

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
# the background so that Ctrl-C or a TERM reaches the trap at once. FRESH_ROOT names another
# system to run in (the folder is then /root).
in_fresh() {
  local log=$1 cmd=$2 env=(HOME=/root TERM="${TERM:-dumb}" PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
  local system=${FRESH_ROOT:-$root} folder=/root/tree
  [ "$system" = "$root" ] || folder=/root
  shift 2
  local v
  for v in http_proxy https_proxy no_proxy DEB_BUILD_OPTIONS; do [ -n "${!v:-}" ] && env+=("$v=${!v}"); done
  (set -o pipefail; env -i "${env[@]}" "$@" chroot "$system" /bin/bash -c "cd $folder && $cmd" 2>&1 | tee "$log") &
  local child=$!
  wait "$child"
}

if [ "$package" -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  say "The package: build dependencies, dpkg-buildpackage -b -us -uc, lintian"
  start=$SECONDS
  build_status=0
  # lintian twice: once to show every tag, the overridden ones with their reasons, and once for
  # the verdict (shown, an overridden warning would count as one).
  in_fresh "$work/build.log" "apt-get update -qq && apt-get install -y -qq --no-install-recommends build-essential lintian >/dev/null &&
    apt-get build-dep -y -qq --no-install-recommends ./ >/dev/null && echo 'build dependencies installed' &&
    dpkg-buildpackage -b -us -uc && ls -l ../*.deb ../*.changes &&
    echo '== lintian' && { lintian --display-info --show-overrides ../korvelin_*.changes || true; } &&
    lintian --fail-on error,warning ../korvelin_*.changes >/dev/null && echo 'lintian: no error, no warning'" ||
    build_status=$?
  build_time=$((SECONDS - start))
  debs=("$root"/root/korvelin_*_amd64.deb)
  deb=""
  [ "$build_status" -eq 0 ] && [ -f "${debs[0]}" ] && deb=$(basename "${debs[0]}")

  install_status=""
  if [ -n "$deb" ]; then
    say "Installing $deb with apt into a fresh system that never built anything"
    cp "$root/root/$deb" "$clean/root/"
    start=$SECONDS
    install_status=0
    # Run inside: the install, a player's run from an empty folder (a login shell of a new user,
    # whose PATH has /usr/games), the purge, and what of the package is still there: its files,
    # and its folders that no other package shares.
    cat >"$clean/root/install-check.sh" <<'INSIDE'
set -eu
deb=$1
files() { find / -xdev \( -path /proc -o -path /root -o -path /home -o -path /tmp -o -path /var/cache/apt \
          -o -path /var/lib/apt/lists -o -path /var/log \) -prune -o -print | sort; }
files >/root/files-before
apt-get update -qq
apt-get install -y -q --no-install-recommends "./$deb"
dpkg -L korvelin >/root/package-files
echo "installed: $(wc -l </root/package-files) paths; the game is $(PATH=$PATH:/usr/games command -v korvelin)"
useradd -m player
runuser -l player -c 'mkdir empty && cd empty && korvelin --version && { korvelin --headless --frames 300 2>../stderr; echo "exit status $?"; }
  echo "left in the empty folder: $(ls -A | wc -l) files"; echo "standard error: $(cat ../stderr)"'
apt-get purge -y -q korvelin
left=0
while read -r path; do
  [ "$path" = /. ] && continue  # dpkg's name for the root every package lists
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    dpkg -S "$path" >/dev/null 2>&1 || { echo "left: $path/"; left=$((left + 1)); }
  elif [ -e "$path" ] || [ -L "$path" ]; then
    echo "left: $path"; left=$((left + 1))
  fi
done </root/package-files
if dpkg-query -W -f='${db:Status-Status}' korvelin 2>/dev/null | grep -qv '^not-installed$'; then
  echo "korvelin is still known to dpkg"; left=$((left + 1))
fi
echo "after the purge: $left of the package's $(wc -l </root/package-files) paths left"
apt-get autoremove --purge -y -q >/dev/null
files >/root/files-after
echo "after autoremove, paths that were not there before the install (the player's account, apt's own state): $(comm -13 /root/files-before /root/files-after | wc -l)"
comm -13 /root/files-before /root/files-after | head -n 20
[ "$left" -eq 0 ]
INSIDE
    FRESH_ROOT=$clean in_fresh "$work/install.log" "bash install-check.sh $deb" || install_status=$?
    install_time=$((SECONDS - start))
  fi
fi

run_status=""
if [ "$package" -eq 0 ]; then
  say "./run.sh (no display)"
  start=$SECONDS
  run_status=0
  in_fresh "$work/run.log" ./run.sh || run_status=$?
  run_last=$(tail -n 1 "$work/run.log")
  run_time=$((SECONDS - start))
fi

test_status=""
if [ "$run_only" -eq 0 ] && [ "$package" -eq 0 ]; then
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
if [ -n "$run_status" ]; then
  # Without a display the game must refuse to start, saying why.
  [ "$run_status" -ne 0 ] && [[ $run_last == *"no display"* ]] || ok=0
  printf './run.sh  exit %s after %d min: %s\n' "$run_status" $((run_time / 60)) "$run_last"
fi
if [ "$package" -eq 1 ]; then
  [ -n "$deb" ] || ok=0
  printf 'package build and lintian: exit %s after %d min: %s\n' "$build_status" $((build_time / 60)) \
    "$(grep -E '^lintian: no error' "$work/build.log" || echo "see above")"
  if [ -n "$install_status" ]; then
    [ "$install_status" -eq 0 ] || ok=0
    # The installed game must have played its frames from the empty folder, leaving nothing.
    grep -q '^exit status 0$' "$work/install.log" && grep -q '^left in the empty folder: 0 files$' "$work/install.log" || ok=0
    printf 'install, headless run, purge: exit %s after %d min: %s\n' "$install_status" $((install_time / 60)) \
      "$(grep -E '^after the purge' "$work/install.log" || echo "see above")"
  fi
fi
if [ -n "$test_status" ]; then
  [ "$test_status" -eq 0 ] && [[ $test_last =~ ^[0-9]+\ passed,\ 0\ failed$ ]] || ok=0
  printf './test.sh exit %s after %d min: %s\n' "$test_status" $((test_time / 60)) "$test_last"
fi
if [ "$ok" -eq 1 ]; then echo "fresh-debian-check: as expected"; else echo "fresh-debian-check: NOT as expected"; fi
[ "$ok" -eq 1 ]
