#!/usr/bin/env bash
# The Debian package, in three steps that share one package file:
#
#   check_package.sh build BUILD_DIR DEB
#       runs cpack in BUILD_DIR; DEB is the file it must produce (an old one is removed first,
#       so the later steps never look at a package from an earlier build)
#   check_package.sh contents DEB VERSION
#       the control fields (dependencies found by dpkg-shlibdeps among them) and the file list:
#       everything a desktop needs is there, nothing else is, and owners and modes are sane
#   check_package.sh installed DEB VERSION TESTS_DIR
#       unpacks DEB into a scratch root and uses it as a user would: the installed programs
#       run, tarnwick-cfg makes a settings file, the desktop files, icons and manual pages are
#       valid where they were installed
set -euo pipefail
step=$1
shift
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
finish() {
  if ((failures > 0)); then
    echo "$failures problem(s) in $1"
    exit 1
  fi
  echo "$1: ok"
}

case $step in
build)
  build_dir=$1
  deb=$2
  rm -f "$deb"
  (cd "$build_dir" && cpack --config CPackConfig.cmake -G DEB) || fail "cpack failed"
  [[ -s $deb ]] || fail "cpack did not produce $deb (present: $(ls "$(dirname "$deb")" 2>&1))"
  finish "package build"
  ;;

contents)
  deb=$1
  version=$2
  field() { dpkg-deb -f "$deb" "$1"; }

  [[ $(field Package) == tarnwick ]] || fail "Package is '$(field Package)'"
  [[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', not $version"
  [[ $(field Architecture) == "$(dpkg --print-architecture)" ]] ||
    fail "Architecture is '$(field Architecture)'"
  [[ $(field Maintainer) == *@* ]] || fail "Maintainer '$(field Maintainer)' has no address"
  [[ $(field Section) == utils ]] || fail "Section is '$(field Section)'"
  [[ -n $(field Homepage) ]] || fail "no Homepage"
  # The description: a synopsis, then lines of one leading space (more would show verbatim)
  # and at most 80 columns.
  description=$(field Description)
  [[ -n $(head -n 1 <<<"$description") ]] || fail "the description has no synopsis"
  while IFS= read -r line; do
    [[ $line =~ ^\ [^\ ] ]] || fail "description line not indented by one space: '$line'"
    ((${#line} <= 80)) || fail "description line longer than 80 columns: '$line'"
  done < <(tail -n +2 <<<"$description")

  # dpkg-shlibdeps writes versioned dependencies on the libraries the programs link.
  depends=$(field Depends)
  for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ $depends =~ (^|, )$library\ \(\>=\ [^\)]+\) ]] ||
      fail "Depends lacks a versioned $library from dpkg-shlibdeps: $depends"
  done
  # Qt loads its X11 platform plugin at run time, so no link names it: the package that ships
  # it on this system must be among the dependencies, or the program installs but cannot open
  # a window.
  plugin_package=$(dpkg -S '*/qt6/plugins/platforms/libqxcb.so' 2>/dev/null | head -n 1 | cut -d: -f1)
  if [[ -n $plugin_package ]]; then
    [[ $depends =~ (^|, )$plugin_package([ ,]|$) ]] ||
      fail "Depends lacks $plugin_package, which ships Qt's X11 platform plugin: $depends"
  fi

  listing=$(dpkg-deb -c "$deb")
  paths=$(awk '{ print $NF }' <<<"$listing" | sed 's:^\./:/:; s:/$::')
  expected=(
    /usr/bin/tarnwick /usr/bin/tarnwick-cfg
    /usr/share/man/man1/tarnwick.1.gz /usr/share/man/man1/tarnwick-cfg.1.gz
    /usr/share/applications/tarnwick.desktop
    /usr/share/metainfo/org.tarnwick.Tarnwick.metainfo.xml
    /usr/share/icons/hicolor/scalable/apps/tarnwick.svg
    /usr/share/icons/hicolor/48x48/apps/tarnwick.png
    /usr/share/icons/hicolor/128x128/apps/tarnwick.png
    /usr/share/icons/hicolor/256x256/apps/tarnwick.png
    /usr/share/doc/tarnwick/copyright /usr/share/doc/tarnwick/changelog.gz
    /usr/share/doc/tarnwick/LICENSE /usr/share/doc/tarnwick/NOTICE
    /usr/share/doc/tarnwick/THIRD_PARTY.md
    /usr/share/tarnwick/oper-world.db /usr/share/tarnwick/README
  )
  for path in "${expected[@]}"; do
    grep -q -x -F "$path" <<<"$paths" || fail "the package lacks $path"
  done
  # Nothing else: no libraries, headers, test programs or build paths. Directories are the
  # parents of the expected files.
  while read -r path; do
    [[ -z $path ]] && continue
    printf '%s\n' "${expected[@]}" | grep -q -x -F "$path" && continue
    printf '%s\n' "${expected[@]}" | grep -q -F "$path/" && continue
    fail "the package holds an unexpected $path"
  done <<<"$paths"

  # Owned by root; directories and programs 0755, other files 0644.
  while read -r mode owner _ _ _ path; do
    [[ $owner == root/root ]] || fail "$path is owned by $owner"
    case $mode in
    d*) [[ $mode == drwxr-xr-x ]] || fail "directory $path has mode $mode" ;;
    *) if [[ $path == ./usr/bin/* ]]; then
         [[ $mode == -rwxr-xr-x ]] || fail "program $path has mode $mode"
       else
         [[ $mode == -rw-r--r-- ]] || fail "file $path has mode $mode"
       fi ;;
    esac
  done <<<"$listing"
  finish "package contents"
  ;;

installed)
  deb=$1
  version=$2
  tests_dir=$3
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  root=$work/root
  dpkg-deb -x "$deb" "$root"
  bin=$root/usr/bin
  share=$root/usr/share
  short_version=${version%.*}  # 4.22.0 -> 4.22, as the programs print it

  # Installed programs carry no search path into the build tree and find every library.
  for program in "$bin/tarnwick" "$bin/tarnwick-cfg"; do
    if readelf -d "$program" | grep -q -E 'RPATH|RUNPATH'; then
      fail "$(basename "$program") keeps a library search path: $(readelf -d "$program" | grep -E 'RPATH|RUNPATH')"
    fi
    missing=$(ldd "$program" | grep 'not found' || true)
    [[ -z $missing ]] || fail "$(basename "$program") misses libraries: $missing"
  done

  # The tools run from the scratch root.
  out=$("$bin/tarnwick-cfg" --version) || fail "tarnwick-cfg --version failed"
  [[ $out == "tarnwick-cfg $short_version" ]] || fail "tarnwick-cfg --version printed '$out'"
  out=$("$bin/tarnwick" --version) || fail "tarnwick --version failed"
  [[ $out == "tarnwick $short_version" ]] || fail "tarnwick --version printed '$out'"

  mkdir "$work/cwd"
  (cd "$work/cwd" && "$bin/tarnwick-cfg" new) || fail "tarnwick-cfg new failed"
  cfg=$work/cwd/menu.cfg
  if [[ -f $cfg ]]; then
    size=$(stat -c %s "$cfg")
    [[ $size == 1792 ]] || fail "tarnwick-cfg new wrote $size bytes, not 1792"
    # The factory defaults, every byte negated: imageSize 1 at 0x004 is FF 00 00 00, timeZone 19
    # at 0x104 is ED, interval 10 at 0x444 is F6, orgName's eight spaces at 0x474 are E0.
    bytes_at() { od -An -tx1 -j "$1" -N "$2" "$cfg" | tr -d ' \n'; }
    [[ $(bytes_at 4 4) == ff000000 ]] || fail "imageSize bytes are $(bytes_at 4 4)"
    [[ $(bytes_at $((0x104)) 1) == ed ]] || fail "timeZone byte is $(bytes_at $((0x104)) 1)"
    [[ $(bytes_at $((0x444)) 4) == f6000000 ]] || fail "interval bytes are $(bytes_at $((0x444)) 4)"
    [[ $(bytes_at $((0x474)) 8) == e0e0e0e0e0e0e0e0 ]] || fail "orgName bytes are $(bytes_at $((0x474)) 8)"
    values=$("$bin/tarnwick-cfg" get "$cfg" imageSize timeZone | tr '\n' '|')
    [[ $values == "5M  2592x1944|UTC+8|" ]] || fail "tarnwick-cfg get read back '$values'"
  else
    fail "tarnwick-cfg new wrote no menu.cfg in its working folder"
  fi

  # The world operator table reads as an oper.db, and its README carries the attribution.
  out=$("$bin/tarnwick-cfg" oper-db dump "$share/tarnwick/oper-world.db") ||
    fail "the installed world table cannot be read"
  out=${out%%$'\n'*}
  [[ $out =~ ^#\ .*:\ ([0-9]+)\ countries && ${BASH_REMATCH[1]} -ge 150 ]] ||
    fail "the installed world table holds too few countries: $out"
  grep -q 'SPDX-License-Identifier: Apache-2.0' "$share/tarnwick/README" ||
    fail "the world table's README carries no attribution"

  # The desktop program starts on the system's Qt and shows its main window.
  out=$(cd "$work/cwd" && QT_QPA_PLATFORM=offscreen "$bin/tarnwick" --benchmark-startup 2>&1) ||
    fail "the installed tarnwick did not start:"$'\n'"$out"
  [[ $out == *"main window shown"* ]] || fail "the installed tarnwick showed no main window: $out"

  # Desktop entry and metainfo where they were installed; what the entry names exists.
  desktop=$share/applications/tarnwick.desktop
  bash "$tests_dir/check_desktop_files.sh" "$desktop" \
    "$share/metainfo/org.tarnwick.Tarnwick.metainfo.xml" || fail "installed desktop files"
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [[ -x $bin/$exec_program ]] || fail "the desktop entry starts '$exec_program', not installed"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [[ -f $share/icons/hicolor/scalable/apps/$icon.svg ]] ||
    fail "the desktop entry's icon '$icon' has no scalable icon"
  for size in 48 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
    if [[ ! -f $png ]]; then
      fail "no ${size}x${size} icon"
      continue
    fi
    # PNG: signature (8 bytes), IHDR length and type (8), then width and height, big-endian.
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j 16 -N 8 "$png")
    width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
    height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [[ $width == "$size" && $height == "$size" ]] ||
      fail "the icon in ${size}x${size} is ${width}x${height}"
  done

  # Manual pages as installed (compressed), against the installed tool.
  bash "$tests_dir/check_man_pages.sh" "$bin/tarnwick-cfg" \
    "$share/man/man1/tarnwick-cfg.1.gz" "$share/man/man1/tarnwick.1.gz" || fail "installed manual pages"

  # Copyright in Debian's machine-readable format, and a changelog for this version.
  doc=$share/doc/tarnwick
  [[ $(head -n 1 "$doc/copyright") == "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]] ||
    fail "the copyright file is not in the machine-readable format"
  grep -q '^License: Apache-2.0$' "$doc/copyright" || fail "the copyright file names no license"
  top=$(gzip -dc "$doc/changelog.gz" | head -n 1)
  [[ $top == "tarnwick ($version) "* ]] || fail "the changelog's latest entry is '$top', not $version"
  finish "installed package"
  ;;

*)
  echo "usage: check_package.sh build|contents|installed ..." >&2
  exit 2
  ;;
esac
