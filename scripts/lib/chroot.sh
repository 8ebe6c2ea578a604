# Shared by the scripts that work in a Debian chroot (sourced, not run).

# The Debian mirror apt uses here, for any release (set MIRROR to override).
debian_mirror() {
  local mirror=${MIRROR:-$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' |
    awk '$2 ~ /^(bookworm|trixie|forky|sid)$/ { print $1; exit }')}
  if [ -z "$mirror" ]; then
    echo "$(basename "$0"): apt has no Debian mirror here; set MIRROR" >&2
    return 1
  fi
  echo "$mirror"
}

# The codename of the release this machine runs (bookworm, trixie, ...).
this_release() {
  . /etc/os-release && echo "$VERSION_CODENAME"
}

# Refuses to delete a tree that still has something mounted inside it.
remove_tree() {
  if grep -q " $1[/ ]" /proc/mounts; then
    echo "$(basename "$0"): $1 still has mounts; not deleting it" >&2
    exit 1
  fi
  rm -rf "$1"
}

# in_root ROOT [--net] COMMAND...: runs a command inside the chroot ROOT with
# /proc, /dev and ROOT/../apt-archives as its download cache mounted, in a
# mount namespace of its own, so that nothing stays mounted; with --net, also
# in a network namespace of its own (only loopback: no port of this machine
# is taken or reached).
in_root() {
  local root=$1 options=(--mount --propagation private)
  shift
  if [ "$1" = --net ]; then
    options+=(--net)
    shift
  fi
  mkdir -p "$root/../apt-archives/partial"
  unshare "${options[@]}" -- bash -c '
    root=$1
    shift
    ip link set lo up
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs tmpfs "$root/dev/shm"
    mount -t tmpfs tmpfs "$root/run"
    mount --bind "$root/../apt-archives" "$root/var/cache/apt/archives"
    exec chroot "$root" "$@"' bash "$root" "$@"
}
