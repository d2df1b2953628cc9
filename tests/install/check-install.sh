#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what a desktop and the program itself
# look for there. Usage: check-install.sh <build folder>
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() {
    echo "FAIL: $*"
    exit 1
}
app_id=org.pictaria.Pictaria
desktop="$prefix/share/applications/$app_id.desktop"

# The program loads its library from <its folder>/../lib/pictaria (programLibraryFolder()).
[ -x "$prefix/bin/pictaria" ] || fail "no program in bin/"
[ -f "$prefix/bin/../lib/pictaria/Tevrolan.dll" ] || fail "no Tevrolan.dll beside the program"

# The desktop entry starts the installed program and names the installed icon.
[ -f "$desktop" ] || fail "no desktop entry"
exec_name="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
[ -x "$prefix/bin/$exec_name" ] || fail "the desktop entry starts '$exec_name', which is not installed"
icon_name="$(sed -n 's/^Icon=//p' "$desktop")"
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon_name.svg" ] || fail "no icon '$icon_name'"
# The program reads no command line, so it must not offer to open files it would not open.
! grep -q '^MimeType=' "$desktop" || fail "the desktop entry claims file types it cannot open"

# The metainfo launches that desktop entry and passes validation where the validator exists.
metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
[ -f "$metainfo" ] || fail "no metainfo"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo launches another desktop entry"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli rejects the metainfo"
fi

[ -f "$prefix/share/man/man1/pictaria.1.gz" ] || fail "no manual page"
[ -f "$prefix/share/doc/pictaria/copyright" ] || fail "no copyright file"
echo "installed layout is complete"
