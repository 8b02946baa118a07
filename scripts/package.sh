#!/usr/bin/env bash
# Builds the Debian package dist/zentry01_<version>_<arch>.deb from this tree
# (committed and uncommitted files alike), after installing what packaging
# needs. The version is the project version in CMakeLists.txt, followed by the
# number of commits, so a later commit's package upgrades an earlier one.
# Then checks the AppStream metadata and runs lintian (errors fail the build).
#
#   bash scripts/package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ -z "${ZENTRY_SKIP_BUILD_DEPS:-}" ]; then
  $sudo_cmd apt-get update -q
  $sudo_cmd apt-get install -y -q --no-install-recommends dpkg-dev debhelper lintian appstream git ccache
fi

base=$(sed -n 's/^project(Zentry VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$base" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }
if git rev-parse --git-dir >/dev/null 2>&1; then
  version="$base+$(git rev-list --count HEAD)"
  commit=$(git rev-parse --short HEAD)
  export SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
else
  version="$base"
  commit="an unpacked tree"
  export SOURCE_DATE_EPOCH=$(date +%s)
fi

# A clean copy of the tree, always at the same path so ccache serves a rebuild.
work="$root/build-deb"
src="$work/zentry01"
rm -rf "$work"
mkdir -p "$src"
git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' f; do
  [ -e "$f" ] && printf '%s\0' "$f"
done | tar --null -T - -cf - | tar -xf - -C "$src"

cat > "$src/debian/changelog" <<CHANGES
zentry01 ($version) unstable; urgency=medium

  * Built from $commit.

 -- $(sed -n 's/^Maintainer: //p' debian/control)  $(date -u -R -d "@$SOURCE_DATE_EPOCH")
CHANGES

if [ -z "${ZENTRY_SKIP_BUILD_DEPS:-}" ]; then
  $sudo_cmd apt-get build-dep -y -q "$src"
fi
# debhelper gives the build a HOME of its own: keep ccache on the caller's cache.
if command -v ccache >/dev/null; then
  CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
  export CCACHE_DIR
fi
(cd "$src" && ZENTRY_CCACHE=$(command -v ccache || true) dpkg-buildpackage -b -us -uc -j"$(nproc)")

arch=$(dpkg-architecture -qDEB_HOST_ARCH)
deb="zentry01_${version}_${arch}.deb"
mkdir -p dist
mv "$work/$deb" dist/

# The metadata as installed, with the ids kept as the programs' own names.
# shellcheck disable=SC2046
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
  $(find "$src/debian/zentry01/usr/share/metainfo" -name '*.xml')
lintian --fail-on error --info "dist/$deb"
echo "Package: $root/dist/$deb"
