#!/usr/bin/env bash
# Makes, in build-windows, from the Windows build, the portable zip
# pawfolio-<version>-windows-x64.zip and the installer
# pawfolio-<version>-windows-x64.msi. Both hold the program, the Qt and
# mingw-w64 libraries and Qt plugins it needs, the pictures of its windows and
# Comic Neue for a Windows without Comic Sans MS (under the SIL Open Font
# License, which allows this); the zip holds a README on running it from its
# folder too. Prints the zip's path, then the installer's.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh >&2
scripts/deps.sh zip fonts-comic-neue wixl >&2
qt=${PAWFOLIO_QT_MINGW:-$HOME/.cache/pawfolio/qt-mingw}
mingw=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
version=$(sed -n 's/^project(Pawfolio VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=pawfolio-$version-windows-x64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dir=$stage/$name
mkdir -p "$dir/platforms" "$dir/styles" "$dir/imageformats" "$dir/fonts"
cp build-windows/pawfolio.exe assets/*.gif "$dir/"
for lib in Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport Qt6Network; do
  cp "$qt/bin/$lib.dll" "$dir/"
done
cp "$qt/plugins/platforms/qwindows.dll" "$dir/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$dir/styles/"
cp "$qt/plugins/imageformats/qgif.dll" "$qt/plugins/imageformats/qjpeg.dll" "$dir/imageformats/"
cp "$mingw/libstdc++-6.dll" "$mingw/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$dir/"
x86_64-w64-mingw32-strip --strip-unneeded "$dir"/*.exe "$dir"/*.dll
cp /usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf \
  /usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf "$dir/fonts/"
# Texts with Windows line ends, for Notepad.
sed 's/$/\r/' /usr/share/doc/fonts-comic-neue/copyright > "$dir/fonts/Comic Neue licence.txt"
# The installer: every file of the folder, listed by wixl-heat into the
# program folder's components. wixl finds the files it packs by paths from
# where it runs.
cp assets/icons/pawfolio.ico "$stage/"
rm -f "build-windows/$name.msi"
(
  cd "$stage"
  find "$name" -type f | sort | wixl-heat -p "$name/" --win64 --var var.SourceDir --directory-ref INSTALLDIR \
    --component-group ProgramFolder > files.wxs
  wixl -a x64 -D Win64=yes -D SourceDir="$name" -D Version="$version" -D Icon=pawfolio.ico \
    -o "$OLDPWD/build-windows/$name.msi" "$OLDPWD/packaging/windows/pawfolio.wxs" files.wxs
)
sed "s/@VERSION@/$version/; s/\$/\r/" packaging/README-windows.txt.in > "$dir/README.txt"
rm -f "build-windows/$name.zip"
(cd "$stage" && zip -qr9X "$OLDPWD/build-windows/$name.zip" "$name")
echo "$PWD/build-windows/$name.zip"
echo "$PWD/build-windows/$name.msi"
