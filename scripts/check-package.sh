#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree, unpacks it into a scratch root and
# checks what a desktop needs of it: dependencies, the desktop entry, the MIME type, the
# AppStream metainfo, the icons, the manual pages, and that the installed program starts and
# reports its version and usage.
#   scripts/check-package.sh [BUILD_DIR] [VERSION]
# BUILD_DIR defaults to build/, VERSION to 1.75. Exit codes: 0 all checks passed, 1 a check
# failed, 77 a tool the checks need is missing (the CTest test reports that as skipped).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
version=${2:-1.75}
app_id=org.ordalvex.Ordalvex

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli xmllint update-mime-database; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (Debian packages: dpkg-dev, desktop-file-utils, appstream," \
      "libxml2-utils, shared-mime-info)"
    exit 77
  fi
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/ordalvex-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# Another user may have to reach the unpacked program (see the settings check below).
chmod 755 "$scratch"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# The package: cpack works in the scratch folder, so parallel runs do not share its staging area.
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack could not build the package"
  exit 1
fi
shopt -s nullglob
debs=("$scratch"/out/ordalvex_"$version"_*.deb)
if [ ${#debs[@]} -ne 1 ]; then
  cat "$scratch/cpack.log"
  echo "FAIL: expected one ordalvex_${version}_<arch>.deb, found: ${debs[*]:-none}"
  exit 1
fi
deb=${debs[0]}
pass "built $(basename "$deb")"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"

# Every package whose library the program links must be a dependency, and so must what Qt
# loads at run time: the platform plugins and the Polish translation of its dialogs, and the
# face that stands in for the editor's default "Courier New".
needed_packages=(qt6-qpa-plugins qt6-translations-l10n fonts-liberation)
# Whole outputs are captured rather than piped into early-exiting readers, which would end the
# writer with SIGPIPE and, under pipefail, the script.
library_cache=$(ldconfig -p)
for binary in "$root/usr/bin/ordalvex" "$root/usr/bin/ordalvex-cnc"; do
  [ -x "$binary" ] || {
    fail "${binary#"$root"} is missing"
    continue
  }
  while read -r library; do
    path=$(awk -v lib="$library" '$1 == lib && !found { print $NF; found = 1 }' <<<"$library_cache")
    [ -n "$path" ] || {
      fail "$library (linked by ${binary#"$root"}) is not found on this system"
      continue
    }
    # Debian 12 registers some libraries under /lib, others under /usr/lib.
    owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null || dpkg -S "$path" 2>/dev/null || true)
    owner=$(awk -F: 'NR == 1 { print $1 }' <<<"$owner")
    [ -n "$owner" ] && needed_packages+=("$owner")
  done < <(objdump -p "$binary" | awk '$1 == "NEEDED" { print $2 }')
done
# Package names of Depends, without versions; alternatives ("a | b") count each.
depend_names=$(tr ',|' '\n' <<<"$depends" | sed 's/^ *//; s/[ (:].*//')
for package in $(printf '%s\n' "${needed_packages[@]}" | sort -u); do
  if grep -qxF "$package" <<<"$depend_names"; then
    pass "depends on $package"
  else
    fail "Depends lacks $package"
  fi
done

desktop=$root/usr/share/applications/$app_id.desktop
if [ -f "$desktop" ] && desktop-file-validate "$desktop"; then
  pass "desktop entry validates"
else
  fail "desktop entry ${desktop#"$root"} is missing or does not validate"
fi
for key in 'Exec=ordalvex %F' 'Icon=ordalvex' 'MimeType=text/x-cnc-program;'; do
  grep -qxF "$key" "$desktop" 2>/dev/null || fail "desktop entry lacks '$key'"
done

# The MIME description must parse and compile into a database with the five globs.
mime_xml=$root/usr/share/mime/packages/$app_id.xml
mime_db=$scratch/mime
mkdir -p "$mime_db/packages"
if [ -f "$mime_xml" ] && xmllint --noout "$mime_xml" && cp "$mime_xml" "$mime_db/packages/" &&
  update-mime-database "$mime_db" >"$scratch/mime.log" 2>&1; then
  pass "MIME description parses and compiles"
  for glob in nc min ngc tap cnc; do
    grep -qxF "50:text/x-cnc-program:*.$glob" "$mime_db/globs2" || fail "MIME database lacks *.$glob"
  done
  [ -f "$mime_db/text/x-cnc-program.xml" ] || fail "MIME database lacks text/x-cnc-program"
  grep -q '<sub-class-of type="text/plain"/>' "$mime_db/text/x-cnc-program.xml" 2>/dev/null ||
    fail "text/x-cnc-program is not a kind of text/plain"
  # A text program named *.nc must come out as a CNC program although binary formats share
  # the extension (they are told apart by their content).
  if command -v gio >/dev/null; then
    printf '%%\r\nO0010 (TEST)\r\nN10 G90 G54 X0 Y0\r\nM30\r\n%%\r\n' >"$scratch/O0010.nc"
    type=$(XDG_DATA_DIRS="$scratch:/usr/share" XDG_DATA_HOME="$scratch/none" \
      gio info -a standard::content-type "$scratch/O0010.nc" | awk '/content-type/ { print $2 }')
    [ "$type" = text/x-cnc-program ] && pass "a text .nc file is a CNC program" ||
      fail "a text .nc file is recognised as '$type'"
  fi
else
  cat "$scratch/mime.log" 2>/dev/null || true
  fail "MIME description ${mime_xml#"$root"} is missing, does not parse or does not compile"
fi

metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ] && appstreamcli validate --no-net "$metainfo"; then
  pass "AppStream metainfo validates"
else
  fail "AppStream metainfo ${metainfo#"$root"} is missing or does not validate"
fi
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" 2>/dev/null ||
  fail "metainfo does not launch $app_id.desktop"
grep -qF "<release version=\"$version\"" "$metainfo" 2>/dev/null ||
  fail "metainfo has no release $version"

icons=$root/usr/share/icons/hicolor
failures_before_icons=$failures
[ -f "$icons/scalable/apps/ordalvex.svg" ] || fail "scalable icon missing"
for size in 16 22 24 32 48 64 128 256; do
  [[ "$(file "$icons/${size}x${size}/apps/ordalvex.png")" == *"PNG image data, $size x $size,"* ]] ||
    fail "icon ${size}x${size} missing or of another size"
done
[ "$failures" -eq "$failures_before_icons" ] && pass "icons: scalable and 8 PNG sizes"

output=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/ordalvex" --version 2>&1) || fail "--version exits with an error"
if [ "$output" = "Ordalvex $version" ]; then
  pass "installed program reports '$output'"
else
  fail "--version printed '$output', expected 'Ordalvex $version'"
fi

help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/ordalvex" --help 2>&1) ||
  fail "--help without a display exits with an error: $help"
if [[ "$help" == "Usage: ordalvex "* ]]; then
  pass "installed program answers --help without a display"
else
  fail "--help printed '$help'"
fi
for page in ordalvex ordalvex-cnc; do
  if [ -f "$root/usr/share/man/man1/$page.1" ]; then
    pass "manual page $page(1)"
  else
    fail "manual page /usr/share/man/man1/$page.1 is missing"
  fi
done

# Installed, the program folder is not writable, so the settings must go to the user's
# configuration folder. Run the program for a moment as a user who cannot write there: root
# can write anywhere, so it drops to "nobody"; another user write-protects the folder.
home=$scratch/home
mkdir -p "$home"
runner=()
if [ "$(id -u)" -eq 0 ]; then
  if command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
    chown nobody "$home"
    runner=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
  fi
else
  chmod a-w "$root/usr/bin"
  runner=(env)
fi
if [ ${#runner[@]} -gt 0 ]; then
  status=0
  "${runner[@]}" env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
    timeout 5 "$root/usr/bin/ordalvex" >"$scratch/run.log" 2>&1 || status=$?
  chmod u+w "$root/usr/bin"
  # 124: still running when the time ran out, which is what a healthy editor does.
  [ "$status" -eq 124 ] && pass "installed program runs as $("${runner[@]}" id -un)" ||
    fail "installed program ended with status $status: $(cat "$scratch/run.log")"
  written=$(find "$root" -iname 'ordalvex.ini' -o -iname 'default.cfg')
  [ -z "$written" ] && pass "nothing written into the program's folders" ||
    fail "settings written into the installed tree: $written"
  # The main window reads its settings when first shown, which makes the folder.
  if [ -d "$home/.config/Ordalvex" ]; then
    pass "settings folder is ~/.config/Ordalvex"
  else
    fail "no settings folder ~/.config/Ordalvex after 5 seconds"
  fi
else
  echo "note: settings location not checked (running as root without setpriv or user nobody)"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package checks passed"
