#!/usr/bin/env bash
# Installs Luma Write into a temporary folder and builds its two Debian packages, and checks them
# with Debian's own tools: the files and where they go, the desktop entry, the AppStream
# metadata, the manual pages, the bash completion, the packages' fields, the service package's
# maintainer scripts (run in a sandbox, with stand-ins for the commands they call), lintian, and
# the unpacked programs. Nothing is installed on this machine: the packages are only unpacked.
#   tests/packaging.sh SOURCE_DIR BUILD_DIR VERSION
# CMAKE_COMMAND and CPACK_COMMAND name the cmake and cpack to use (default: from PATH).
set -euo pipefail
src=$1 build=$2 version=$3
cmake=${CMAKE_COMMAND:-cmake}
cpack=${CPACK_COMMAND:-cpack}
app_id=io.github.lumawrite.LumaWrite
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
for tool in desktop-file-validate appstreamcli man lintian dpkg-deb dpkg-parsechangelog file; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/install-deps.sh --test)" >&2; exit 1; }
done

program_files() {
    printf '%s\n' \
        bin/lumawrite bin/lumawrite-send bin/lumawrite-virtual-sign \
        share/applications/$app_id.desktop \
        share/metainfo/$app_id.metainfo.xml \
        share/icons/hicolor/scalable/apps/$app_id.svg \
        share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/$app_id.png \
        share/man/man1/{lumawrite,lumawrite-send,lumawrite-virtual-sign}.1.gz \
        share/bash-completion/completions/{lumawrite-send,lumawrite-virtual-sign} \
        share/doc/lumawrite/copyright share/doc/lumawrite/changelog.gz | sort
}
service_files() {
    printf '%s\n' lib/systemd/system/lumawrite-send@.service lib/sysusers.d/lumawrite.conf \
        share/doc/lumawrite-service/copyright share/doc/lumawrite-service/changelog.gz | sort
}
expected_files() { { program_files; service_files; } | sort; }
# The files of a package, below /usr.
files_of() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort; }

echo "== cmake --install into a temporary DESTDIR"
DESTDIR="$work/root" "$cmake" --install "$build" --prefix /usr >/dev/null
usr=$work/root/usr
diff -u <(expected_files) <(cd "$usr" && find . -type f -printf '%P\n' | sort) ||
    fail "the installed files differ from the list above"
for program in lumawrite lumawrite-send lumawrite-virtual-sign; do
    [ -x "$usr/bin/$program" ] || fail "$program is not executable"
done
for size in 48 64 128 256; do
    file -b "$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" |
        grep -q "^PNG image data, $size x $size," || fail "the ${size}x${size} icon is not $size pixels"
done

echo "== desktop entry (desktop-file-validate)"
desktop=$usr/share/applications/$app_id.desktop
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate has something to say: $report"
grep -qx 'Exec=lumawrite' "$desktop" || fail "the desktop entry does not start lumawrite"
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry does not name the icon"
grep -Eqx 'Categories=(Office|Utility);' "$desktop" || fail "the desktop entry is not under Office or Utility"
grep -q '^Comment\[de\]=' "$desktop" || fail "the desktop entry has no German comment"

echo "== AppStream metadata (appstreamcli validate --no-net)"
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\" date=\"" "$metainfo" || fail "no release entry for $version"
grep -q '<summary xml:lang="de">' "$metainfo" || fail "the metainfo has no German summary"
grep -q '<url type="homepage">' "$metainfo" || fail "the metainfo names no homepage"
# Each screenshot it lists is a picture of the README's folder.
for shot in $(grep -o 'main/docs/[^<]*\.png' "$metainfo" | sed 's|^main/||'); do
    [ -f "$src/$shot" ] || fail "the metainfo lists $shot, which docs/ does not have"
done
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not name the desktop entry"
changelog_version=$(dpkg-parsechangelog -l "$src/dist/debian/changelog" -S Version)
[ "$changelog_version" = "$version" ] ||
    fail "dist/debian/changelog is at $changelog_version, the build at $version: add an entry"

echo "== manual pages (man -l)"
for page in lumawrite lumawrite-send lumawrite-virtual-sign; do
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$usr/share/man/man1/$page.1.gz" 2>&1 >"$work/$page.txt") ||
        fail "man -l $page.1.gz failed"
    [ -z "$warnings" ] || fail "man -l $page.1.gz warns: $warnings"
    grep -q "^ *$page - " "$work/$page.txt" || fail "$page(1) has no NAME line"
    MANWIDTH=1000 man -E UTF-8 -l "$usr/share/man/man1/$page.1.gz" >"$work/$page.wide.txt" 2>/dev/null
done

echo "== every option of --help is in the manual page and the completion"
options_of() { env -u DISPLAY -u WAYLAND_DISPLAY "$1" --help | grep -oE '^  (-[a-z?], )?--[a-z-]+' | grep -oE -- '--[a-z-]+'; }
for program in lumawrite-send lumawrite-virtual-sign; do
    for option in $(options_of "$usr/bin/$program"); do
        [ "$option" = --help-all ] && continue
        grep -qF -- "$option" "$work/$program.wide.txt" || fail "$program(1) does not tell of $option"
        grep -qE -- "(^| |\")$option( |\"|$)" "$usr/share/bash-completion/completions/$program" ||
            fail "the completion of $program does not offer $option"
    done
done

echo "== help and version name the program, without a display"
for program in lumawrite lumawrite-send lumawrite-virtual-sign; do
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/$program" --version 2>&1) ||
        fail "$program --version: $said"
    [ "$said" = "$program $version" ] || fail "$program --version says \"$said\""
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/$program" --help 2>&1) ||
        fail "$program --help: $said"
    grep -q "^Usage: $program " <<<"$said" || fail "the usage line of $program --help: $said"
done

echo "== bash completion"
mkdir -p "$work/config" "$work/watch"
: >"$work/watch/now-serving.txt"
complete_words() {
    XDG_CONFIG_HOME=$work/config bash -c '
        source "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _lumawrite_send
        printf "%s\n" "${COMPREPLY[@]}"' _ "$usr/share/bash-completion/completions/lumawrite-send" \
        "$usr/bin/lumawrite-send" "$@"
}
[ "$(complete_words --list-f)" = "--list-fonts" ] || fail "completion of --list-f"
complete_words --dry-run --font 'dejavu sans m' | grep -qx 'DejaVu\\ Sans\\ Mono' ||
    fail "completion of a font name: $(complete_words --font 'dejavu sans m')"
# Inside quotes the name is completed as it is, and the quote closed.
complete_words --font '"dejavu sans m' | grep -qx '"DejaVu Sans Mono"' ||
    fail "completion of a quoted font name: $(complete_words --font '"dejavu sans m')"
[ "$(complete_words --watch "$work/watch/now")" = "$work/watch/now-serving.txt" ] ||
    fail "completion of the --watch file"
# The names of saved messages, from the messages.json beside the settings file in use.
mkdir -p "$work/config/lumawrite" "$work/other"
printf '%s\n' '{"messages": [{"name": "Closed for lunch", "text": "Back at 1"}, {"name": "Open", "text": "Open"}]}' \
    >"$work/config/lumawrite/messages.json"
printf '%s\n' '{"messages": [{"name": "Closing soon", "text": "Closing soon"}]}' >"$work/other/messages.json"
[ "$(complete_words --saved Clo)" = 'Closed\ for\ lunch' ] ||
    fail "completion of a saved name: $(complete_words --saved Clo)"
[ "$(complete_words --settings "$work/other/x.cfg" --keep Clo)" = 'Closing\ soon' ] ||
    fail "completion of a saved name beside --settings: $(complete_words --settings "$work/other/x.cfg" --keep Clo)"

# A picture's name, ours or one of the folder beside the settings file; inside quotes the message
# goes on after it.
[ "$(complete_words '{arrow-r')" = '{arrow-right}' ] ||
    fail "completion of a picture: $(complete_words '{arrow-r')"
[ "$(complete_words --dry-run '"{he')" = '"{heart}' ] ||
    fail "completion of a quoted picture: $(complete_words '"{he')"
mkdir -p "$work/other/pictures"
cp "$src/dist/icons/lumawrite-48.png" "$work/other/pictures/shop logo.png"
[ "$(complete_words --settings "$work/other/x.cfg" '{sh')" = '{shop\ logo}' ] ||
    fail "completion of a picture beside --settings: $(complete_words --settings "$work/other/x.cfg" '{sh')"

echo "== the service's unit and user (systemd-analyze verify)"
unit=$usr/lib/systemd/system/lumawrite-send@.service
grep -qx 'EnvironmentFile=/etc/lumawrite/%i.env' "$unit" || fail "the unit does not read /etc/lumawrite/NAME.env"
grep -qx 'ExecStart=/usr/bin/lumawrite-send $LUMAWRITE_SEND_OPTIONS' "$unit" || fail "the unit's ExecStart"
grep -qx 'User=lumawrite' "$unit" || fail "the unit does not run as lumawrite"
grep -qx 'SupplementaryGroups=dialout' "$unit" || fail "the unit is not in the dialout group"
grep -qx 'Restart=on-failure' "$unit" || fail "the unit is not restarted on failure"
grep -qx 'RestartPreventExitStatus=2' "$unit" || fail "the unit restarts after a usage error"
grep -qx 'RuntimeDirectoryMode=0700' "$unit" || fail "the unit's runtime folder is not its own"
grep -q '^MemoryMax=' "$unit" || fail "the unit has no MemoryMax"
sysusers=$usr/lib/sysusers.d/lumawrite.conf
grep -Eq '^u lumawrite ' "$sysusers" && grep -qx 'm lumawrite dialout' "$sysusers" ||
    fail "lumawrite.conf does not make the user lumawrite in dialout"
if command -v systemd-analyze >/dev/null; then
    # An instance of the template, with its binary where the unit looks for it.
    mkdir -p "$work/units"
    sed "s|/usr/bin/lumawrite-send|$usr/bin/lumawrite-send|" "$unit" >"$work/units/lumawrite-send@.service"
    report=$(cd "$work/units" && SYSTEMD_LOG_LEVEL=warning systemd-analyze verify --man=no \
        "$work/units/lumawrite-send@shop-1.service" 2>&1 | grep -v 'EnvironmentFile\|/etc/lumawrite' || true)
    [ -z "$report" ] || fail "systemd-analyze verify: $report"
    # Hardened: an exposure of 2.5 or lower (systemd's 0 to 10, here counted in tenths).
    exposure=$(systemd-analyze security --offline=true "$work/units/lumawrite-send@.service" 2>&1 |
        sed -n 's/.*Overall exposure level for .*: \([0-9.]*\) .*/\1/p')
    systemd-analyze security --offline=true --threshold=25 "$work/units/lumawrite-send@.service" \
        >/dev/null 2>&1 || fail "the unit's exposure is ${exposure:-unknown}, above 2.5"
    echo "exposure of the unit: $exposure"
fi

echo "== the Debian packages (cpack -G DEB): lumawrite and lumawrite-service"
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb=$work/package/lumawrite_${version}_$(dpkg --print-architecture).deb
service_deb=$work/package/lumawrite-service_${version}_all.deb
made=$(cd "$work/package" && ls -- *.deb)
[ "$made" = "$(printf '%s\n' "${service_deb##*/}" "${deb##*/}")" ] ||
    { echo "FAIL: cpack made $(echo $made), not ${deb##*/} and ${service_deb##*/}" >&2; exit 1; }
diff -u <(program_files) <(files_of "$deb") || fail "lumawrite's files differ from the list above"
diff -u <(service_files) <(files_of "$service_deb") ||
    fail "lumawrite-service's files differ from the list above"
[ "$(dpkg-deb -f "$deb" Package)" = lumawrite ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libc6 libqt6widgets6 libqt6serialport6 libmosquitto1 qt6-qpa-plugins libqt6svg6; do
    [[ $depends == *"$dependency"* ]] || fail "Depends lacks $dependency: $depends"
done
[ "$(dpkg-deb -f "$deb" Maintainer)" = "Luma Write developers <maintainers@lumawrite.example>" ] ||
    fail "maintainer"
# Each package has a synopsis of its own; the service runs the lumawrite-send of its release.
[[ $(dpkg-deb -f "$deb" Description) == "compose and upload messages for LED message signs"$'\n'* ]] ||
    fail "lumawrite's synopsis: $(dpkg-deb -f "$deb" Description | head -1)"
[[ $(dpkg-deb -f "$service_deb" Description) == "LED message sign service"* ]] ||
    fail "lumawrite-service's synopsis: $(dpkg-deb -f "$service_deb" Description | head -1)"
service_depends=$(dpkg-deb -f "$service_deb" Depends)
tr ',' '\n' <<<"$service_depends" | grep -qx " *lumawrite (= $version)" ||
    fail "lumawrite-service does not depend on lumawrite (= $version): $service_depends"
echo "$(stat -c %s "$deb") bytes, $(dpkg-deb -c "$deb" | grep -vc '^d') files"

echo "== the maintainer scripts: none of lumawrite makes a user; lumawrite-service's in a sandbox"
mkdir "$work/control"
dpkg-deb -e "$deb" "$work/control/lumawrite"
dpkg-deb -e "$service_deb" "$work/control/lumawrite-service"
# (lintian checks their interpreter, set -e and permissions.)
for script in $(find "$work/control" -name 'p*[mt]'); do
    sh -n "$script" || fail "sh -n ${script#"$work/control/"}"
done
! grep -sqE 'sysusers|useradd|adduser' "$work/control/lumawrite/"p* ||
    fail "a maintainer script of lumawrite makes a user"
# The scripts with /etc, /run and /var moved into the sandbox, and stand-ins for the commands
# they call first on the PATH, which has no sbin: each records its call, and fails if $STUB_FAIL names
# it (a failing getent: no such user). As nobody when the tests run as root, so that nothing
# the rewriting missed can touch the machine's folders or users.
sandbox=$work/sandbox
mkdir -p "$sandbox"/{bin,adduser,scripts,run/systemd/system,etc/lumawrite} \
    "$sandbox"/var/{lib,cache}/lumawrite-send/shop-1
: >"$sandbox/etc/lumawrite/shop-1.env"
: >"$sandbox/calls"
for stub in bin/{systemd-sysusers,systemctl,deb-systemd-invoke,getent,userdel,groupdel} \
    adduser/{deluser,delgroup}; do
    printf '#!/bin/sh\necho "${0##*/} $*" >>"%s/calls"\n%s\n' "$sandbox" \
        'case " $STUB_FAIL " in *" ${0##*/} "*) exit 2 ;; esac' >"$sandbox/$stub"
    chmod +x "$sandbox/$stub"
done
real_folder='(^|[^[:alnum:]_./-])/(etc|run|var)\b'
for script in postinst prerm postrm; do
    sed -E "s#$real_folder#\1$sandbox/\2#g" "$work/control/lumawrite-service/$script" \
        >"$sandbox/scripts/$script"
done
as=()
if [ "$(id -u)" = 0 ]; then
    chmod 711 "$work" && chown -R nobody "$sandbox"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run() { # run FAILING_STUBS EXTRA_PATH SCRIPT ARGUMENT: prints the calls it made and "exit N"
    local status=0
    : >"$sandbox/calls"
    "${as[@]}" env STUB_FAIL="$1" PATH="$sandbox/bin:$2:/usr/bin:/bin" \
        sh "$sandbox/scripts/$3" "$4" 2>"$work/stderr" || status=$?
    cat "$sandbox/calls"
    echo "exit $status"
}
expect() { # expect WHAT OUTPUT_OF_RUN LINE...
    local what=$1 got=$2
    shift 2
    [ "$got" = "$(printf '%s\n' "$@")" ] || fail "$what: $(echo $got)"
}
expect "postinst configure" "$(run '' '' postinst configure)" \
    "systemd-sysusers lumawrite.conf" "systemctl daemon-reload" "exit 0"
expect "postinst, systemd-sysusers failing" "$(run systemd-sysusers '' postinst configure)" \
    "systemd-sysusers lumawrite.conf" "exit 1"
grep -q 'could not make the user lumawrite' "$work/stderr" || fail "postinst does not say why it failed"
stop="deb-systemd-invoke stop lumawrite-send@*.service"
expect "prerm remove" "$(run '' '' prerm remove)" "$stop" "exit 0"
expect "prerm remove, the instances not stopped" "$(run deb-systemd-invoke '' prerm remove)" "$stop" "exit 1"
expect "postrm remove" "$(run '' '' postrm remove)" "systemctl daemon-reload" "exit 0"
[ -d "$sandbox/var/lib/lumawrite-send/shop-1" ] || fail "postrm remove took the state folder"
expect "postrm purge" "$(run '' "$sandbox/adduser" postrm purge)" \
    "getent passwd lumawrite" "deluser --system --quiet lumawrite" \
    "getent group lumawrite" "delgroup --system --quiet lumawrite" "exit 0"
[ ! -e "$sandbox/var/lib/lumawrite-send" ] && [ ! -e "$sandbox/var/cache/lumawrite-send" ] ||
    fail "postrm purge left /var/lib/lumawrite-send or /var/cache/lumawrite-send"
[ -f "$sandbox/etc/lumawrite/shop-1.env" ] || fail "postrm purge took the admin's /etc/lumawrite"
expect "postrm purge without adduser" "$(run '' '' postrm purge)" "getent passwd lumawrite" \
    "userdel lumawrite" "getent group lumawrite" "groupdel lumawrite" "exit 0"
expect "postrm purge, the user gone already" "$(run getent '' postrm purge)" \
    "getent passwd lumawrite" "getent group lumawrite" "exit 0"
rm -r "$sandbox/run/systemd"
expect "prerm and postrm remove without systemd" "$(run '' '' prerm remove; run '' '' postrm remove)" \
    "exit 0" "exit 0"

echo "== lintian"
lintian --fail-on error,warning --display-level '>=warning' "$deb" "$service_deb" 2>/dev/null ||
    fail "lintian"
# Built with Debian's hardening flags: RELRO, BIND_NOW, PIE. (A program that calls no function
# FORTIFY_SOURCE guards is named by lintian all the same; that note says nothing.)
hardening=$(lintian --display-level '>=info' "$deb" 2>/dev/null |
    grep -E 'hardening-no-(relro|bindnow|pie)' || true)
[ -z "$hardening" ] || fail "built without the hardening flags: $hardening"

echo "== the unpacked programs"
dpkg-deb -x "$deb" "$work/unpacked"
bin=$work/unpacked/usr/bin
for program in lumawrite lumawrite-send lumawrite-virtual-sign; do
    file -b "$bin/$program" | grep -q 'ELF.*, stripped' || fail "$program is not a stripped program"
    ! ldd "$bin/$program" | grep -q 'not found' || fail "$program needs a library not found"
done
[ "$("$bin/lumawrite-send" --version)" = "lumawrite-send $version" ] || fail "lumawrite-send --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin/lumawrite-virtual-sign" --version)" = "lumawrite-virtual-sign $version" ] ||
    fail "lumawrite-virtual-sign --version"
# A settings file of its own that names 127.0.0.1; --dry-run sends nothing anyway.
mkdir -p "$work/config/lumawrite"
printf '"127.0.0.1"\r\n2001\r\n20\r\n1\r\n1\r\n8\r\n0\r\n12\r\n1\r\n0\r\n0\r\n0\r\n-3\r\n"Hello"\r\n' \
    >"$work/config/lumawrite/tabro.cfg"
XDG_CONFIG_HOME=$work/config "$bin/lumawrite-send" --dry-run --ip 127.0.0.1 --font "DejaVu Sans" "Open" >"$work/frames" ||
    fail "lumawrite-send --dry-run"
# One block of 64 columns: the block, five blank blocks, the length and speed, the restart.
[ "$(wc -l <"$work/frames")" -eq 8 ] && ! grep -qv '^[0-9a-f]\+$' "$work/frames" ||
    fail "the dry run printed: $(cat "$work/frames")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "All packaging checks passed."
