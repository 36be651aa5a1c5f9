# A clean Debian 12 root, as a new machine has it, for scripts/fresh-check
# and scripts/package. Needs root. Uses common.sh.
#
# The base (minbase: essential packages and apt, nothing of this project's)
# is made once with mmdebstrap and kept as a tarball; each use unpacks it
# afresh. Downloaded .deb files are kept between uses, so that a second run
# does not fetch them again; what gets installed is decided as on a new
# machine all the same.

fresh_cache="$root/build/fresh-root"
fresh_base="$fresh_cache/debian-12-minbase.tar"
fresh_mirror=http://deb.debian.org/debian

# need_root SCRIPT ARGUMENT...: re-runs the script with sudo when not root,
# or says why it cannot run.
need_root() {
  [ "$(id -u)" -eq 0 ] && return 0
  if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    exec sudo -E "$@"
  fi
  echo "$(basename "$1") makes and enters a Debian root: run it as root or" \
    "with sudo (sudo asked for a password, or is not installed)." >&2
  exit 2
}

# make_fresh_root DIR: DIR becomes a new clean root.
make_fresh_root() {
  local dir=$1
  install_missing mmdebstrap
  mkdir -p "$fresh_cache/apt-archives/partial"
  if [ ! -s "$fresh_base" ]; then
    echo "Making the base root (once; kept in $fresh_base)"
    mmdebstrap --quiet --variant=minbase --format=tar bookworm "$fresh_base.part" \
      "deb $fresh_mirror bookworm main" \
      "deb $fresh_mirror bookworm-updates main" \
      "deb http://deb.debian.org/debian-security bookworm-security main"
    mv "$fresh_base.part" "$fresh_base"
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  tar -xf "$fresh_base" -C "$dir"
}

# copy_tree_into DIR: the working tree (tracked files and new ones not
# ignored; no build output) into DIR.
copy_tree_into() {
  local dir=$1
  mkdir -p "$dir"
  if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$root" ls-files -z --cached --others --exclude-standard |
      (cd "$root" && while IFS= read -r -d '' file; do
        [ -e "$file" ] && printf '%s\0' "$file"
      done) |
      tar -C "$root" --null -T - -cf - | tar -C "$dir" -xf -
  else
    tar -C "$root" --exclude=./build -cf - . | tar -C "$dir" -xf -
  fi
}

# in_fresh_root DIR COMMAND: runs COMMAND (a bash command line) as root in
# DIR, in a mount and process namespace of its own: /proc, /sys (read
# only), /dev, a new /dev/shm and /tmp, the host's name servers and the
# .deb cache. Every process it leaves is ended with it.
in_fresh_root() {
  local dir=$1 command=$2
  cp /etc/resolv.conf "$dir/etc/resolv.conf"
  # What every installed system has (the installer writes it, no package
  # does): localhost, which test drivers connect to.
  [ -f "$dir/etc/hosts" ] ||
    printf '127.0.0.1\tlocalhost\n::1\t\tlocalhost ip6-localhost ip6-loopback\n' \
      >"$dir/etc/hosts"
  # Propagation is made private here, not by unshare: inside another clean
  # root (scripts/package under fresh-check) "/" is no mount point, and
  # there the outer root's namespace is private already.
  unshare --mount --propagation unchanged --pid --fork --kill-child -- bash -euc '
    dir=$1 archives=$2 command=$3
    mount --make-rprivate / 2>/dev/null || true
    mount -t proc proc "$dir/proc"
    mount -t sysfs -o ro sysfs "$dir/sys"
    mount --rbind /dev "$dir/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$dir/dev/shm"
    mount -t tmpfs -o mode=1777 tmpfs "$dir/tmp"
    mount --bind "$archives" "$dir/var/cache/apt/archives"
    exec chroot "$dir" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/bash -c "$command"
  ' fresh-root "$dir" "$fresh_cache/apt-archives" "$command"
}
