#!/usr/bin/env bash
# debian-source.sh PACKAGE VERSION DIR: unpacks Debian's source package PACKAGE=VERSION into DIR
# (DIR/PACKAGE-UPSTREAM...), unless it is there already. The source comes through a private apt
# configuration inside DIR (its own sources list with a deb-src entry for the machine's mirror, its
# own state and cache), so the machine's apt sources are never changed. Needs dpkg-dev.
set -euo pipefail
package=$1
version=$2
dir=$(mkdir -p "$3" && cd "$3" && pwd)
stamp="$dir/.$package-$version.unpacked"
[ -f "$stamp" ] && exit 0

# The mirror and keyring the machine uses for binary packages, as deb-src.
apt_dir="$dir/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources" "$apt_dir/prefs"
uri=http://deb.debian.org/debian
security_uri=http://deb.debian.org/debian-security
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
system_sources=/etc/apt/sources.list.d/debian.sources
if [ -f "$system_sources" ]; then
  found=$(awk '/^URIs:/ && !done {print $2; done=1}' "$system_sources")
  [ -n "$found" ] && uri=$found
  found=$(awk '/^URIs:/ && $2 ~ /security/ && !done {print $2; done=1}' "$system_sources")
  [ -n "$found" ] && security_uri=$found
  found=$(awk '/^Signed-By:/ && !done {print $2; done=1}' "$system_sources")
  [ -n "$found" ] && keyring=$found
fi
cat >"$apt_dir/sources/debian-src.sources" <<SOURCES
Types: deb-src
URIs: $uri
Suites: bookworm bookworm-updates
Components: main
Signed-By: $keyring
SOURCES
cat >"$apt_dir/sources/debian-security-src.sources" <<SOURCES
Types: deb-src
URIs: $security_uri
Suites: bookworm-security
Components: main
Signed-By: $keyring
SOURCES
apt_opts=(
  -o Dir::Etc::SourceList=/dev/null
  -o Dir::Etc::SourceParts="$apt_dir/sources"
  -o Dir::Etc::Preferences=/dev/null
  -o Dir::Etc::PreferencesParts="$apt_dir/prefs"
  -o Dir::State="$apt_dir"
  -o Dir::State::Lists="$apt_dir/lists"
  -o Dir::State::status=/var/lib/dpkg/status
  -o Dir::Cache="$apt_dir"
  -o Dir::Cache::Archives="$apt_dir/archives"
  -o Debug::NoLocking=1
  -o APT::Sandbox::User=root
)
# The lists are fetched once per DIR; a version they do not know fetches them again.
if ! apt-get "${apt_opts[@]}" -qq source --print-uris "$package=$version" >/dev/null 2>&1; then
  apt-get "${apt_opts[@]}" -qq update
fi
(cd "$dir" && apt-get "${apt_opts[@]}" -qq source "$package=$version" >/dev/null)
touch "$stamp"
