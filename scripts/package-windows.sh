#!/usr/bin/env bash
# Makes pawfolio-<version>-windows-x64.zip in build-windows from the Windows
# build: the program, the Qt and mingw-w64 libraries and Qt plugins it needs,
# the pictures of its windows, Comic Neue for a Windows without Comic Sans MS
# (under the SIL Open Font License, which allows this) and a README. Prints
# the zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh >&2
scripts/deps.sh zip fonts-comic-neue >&2
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
sed "s/@VERSION@/$version/; s/\$/\r/" packaging/README-windows.txt.in > "$dir/README.txt"
rm -f "build-windows/$name.zip"
(cd "$stage" && zip -qr9X "$OLDPWD/build-windows/$name.zip" "$name")
echo "$PWD/build-windows/$name.zip"
