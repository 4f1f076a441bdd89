#!/usr/bin/env bash
# Checks the Windows installer under wine, in a fresh prefix on a virtual
# screen. Installed silently, it puts the program under Program Files, a
# Start menu shortcut and an entry among the installed programs. Started from
# the shortcut, the program keeps the dog it is given in the person's
# %APPDATA%\Pawfolio, byte for byte as the Linux build writes it. Installed
# again over itself it puts back a file that went missing; a later version
# replaces it, and it cannot replace a later one; removed, the program
# folder, the shortcut and the entry go, and the records stay.
set -euo pipefail
msi=$(realpath "$1")
version=$(basename "$msi" | sed -E 's/^pawfolio-([0-9.]+)-windows-x64\.msi$/\1/')
scratch=$(mktemp -d)
xvfb=''
# winemenubuilder would copy the shortcut into this machine's own menus: it stays off.
export WINEPREFIX=$scratch/prefix WINEDEBUG=err+module WINEDLLOVERRIDES='winemenubuilder.exe=d;mscoree=d;mshtml=d'
trap 'wineserver -k 2> /dev/null || true; kill $xvfb 2> /dev/null || true; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/wine-dog.sh"
wine_display
unix() { winepath -u "$1" 2> /dev/null; }
windows_variable() { wine cmd /c echo "%$1%" 2> /dev/null | tr -d '\r'; }
msiexec() { wine msiexec "$@" /qn > "$scratch/msiexec.log" 2>&1 || { cat "$scratch/msiexec.log" >&2; fail "msiexec $1 failed"; }; }
entry() { wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2> /dev/null | tr -d '\r'; }
msiexec /i "$msi"
program=$(unix "$(windows_variable ProgramFiles)\\Pawfolio")
# The shortcut is in the Start menu of all; wine keeps it in the person's own.
menus=("$(windows_variable ProgramData)" "$(windows_variable APPDATA)")
for menu in "${menus[@]}"; do
  shortcut=$(unix "$menu\\Microsoft\\Windows\\Start Menu\\Programs\\Pawfolio.lnk")
  [ -f "$shortcut" ] && break
done
records=$(unix "$(windows_variable APPDATA)\\Pawfolio")
[ -f "$program/pawfolio.exe" ] || fail "no program in $program"
for f in Qt6Widgets.dll platforms/qwindows.dll imageformats/qgif.dll fonts/ComicNeue-Bold.otf doggie.gif "dog house.gif"; do
  [ -f "$program/$f" ] || fail "the program folder lacks $f"
done
[ -f "$shortcut" ] || fail "no Start menu shortcut"
listed=$(entry)
for said in "DisplayName    REG_SZ    Pawfolio" "Publisher    REG_SZ    The Pawfolio team" \
  "DisplayVersion    REG_SZ    $version"; do
  grep -qF "$said" <<< "$listed" || fail "the installed programs' entry lacks \"$said\""
done
# The entry's icon is the one the installer keeps for the product.
icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s 2> /dev/null | tr -d '\r' |
  sed -n 's/^ *ProductIcon *REG_SZ *//p')
[ "$(head -c 4 "$(unix "$icon")" 2> /dev/null | od -An -tx1)" = " 00 00 01 00" ] || fail "the entry has no icon: $icon"
# The shortcut starts the installed program with that icon.
said=$(strings -a "$shortcut"; strings -a -el "$shortcut") # the target in ANSI, the icon in UTF-16
for want in "$(windows_variable ProgramFiles)\\Pawfolio\\pawfolio.exe" "$icon"; do
  grep -qF "$want" <<< "$said" || fail "the shortcut does not name $want: $said"
done

# Started as the person starts it, from the shortcut.
wine start /unix "$shortcut" > "$scratch/log" 2>&1
add_wino "$records"
[ ! -e "$program/doggies.dat" ] || fail "a record was written in the program folder"
xdotool key alt+c
xdotool windowfocus --sync "$(window " ")" key alt+q
for _ in $(seq 100); do pgrep -f pawfolio.exe > /dev/null || break; sleep 0.1; done
! pgrep -f pawfolio.exe > /dev/null || fail "Pawfolio did not end on Quit"
cp "$records/doggies.dat" "$scratch/kept.dat"

# Installed again over itself: a repair puts back what went missing.
rm "$program/doggie.gif"
msiexec /i "$msi" REINSTALL=ALL REINSTALLMODE=amus # the same as /fa, which wine's msiexec lacks
[ -f "$program/doggie.gif" ] || fail "installing again did not put back doggie.gif"
cmp -s "$records/doggies.dat" "$scratch/kept.dat" || fail "installing again changed the records"

# A later version: this installer as the next version of it would be, with
# its own product and package codes, the same UpgradeCode, and the version
# ranges in which wixl's MajorUpgrade finds an earlier or a later Pawfolio.
later=$version.1
upgrade_code=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^UpgradeCode\t//p')
cp "$msi" "$scratch/later.msi"
msibuild "$scratch/later.msi" -q "UPDATE Property SET Value='$later' WHERE Property='ProductVersion'" \
  -q "UPDATE Property SET Value='{0D1F1E55-C0DE-4A11-8A7E-000000000001}' WHERE Property='ProductCode'" \
  -q "DELETE FROM Upgrade WHERE ActionProperty='WIX_UPGRADE_DETECTED'" \
  -q "DELETE FROM Upgrade WHERE ActionProperty='WIX_DOWNGRADE_DETECTED'" \
  -q "INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty)
      VALUES ('$upgrade_code', '$later', 1, 'WIX_UPGRADE_DETECTED')" \
  -q "INSERT INTO Upgrade (UpgradeCode, VersionMin, Attributes, ActionProperty)
      VALUES ('$upgrade_code', '$later', 2, 'WIX_DOWNGRADE_DETECTED')"
msibuild "$scratch/later.msi" -s "Pawfolio $later" "The Pawfolio team" "x64;1033" "{0D1F1E55-C0DE-4A11-8A7E-000000000002}"
msiexec /i "$scratch/later.msi"
[ "$(entry | grep -cF "DisplayName    REG_SZ    Pawfolio")" = 1 ] || fail "the later version did not replace the earlier"
entry | grep -qF "DisplayVersion    REG_SZ    $later" || fail "the later version is not the one installed"
[ -f "$program/pawfolio.exe" ] || fail "no program after the upgrade"
cmp -s "$records/doggies.dat" "$scratch/kept.dat" || fail "the upgrade changed the records"
! wine msiexec /i "$msi" /qn > /dev/null 2>&1 || fail "the earlier version installed over the later"
entry | grep -qF "DisplayVersion    REG_SZ    $later" || fail "the earlier version replaced the later"
msi=$scratch/later.msi

msiexec /x "$msi"
[ ! -e "$program" ] || fail "the program folder is still there after removing: $(ls -A "$program")"
[ ! -e "$shortcut" ] || fail "the Start menu shortcut is still there after removing"
! entry | grep -qF "DisplayName    REG_SZ    Pawfolio" || fail "the installed programs still list Pawfolio"
cmp -s "$records/doggies.dat" "$scratch/kept.dat" || fail "removing Pawfolio changed or removed the records"
echo "1 passed, 0 failed"
