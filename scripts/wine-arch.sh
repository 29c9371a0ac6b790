# Sourced: picks the Windows architecture the Windows programs run under. The
# product is a 32-bit program; a machine whose kernel cannot run 32-bit code
# (so 32-bit Wine cannot start) runs the same sources built for 64-bit Windows
# under 64-bit Wine instead.
# Sets KORV_WIN_ARCH (i686 or x86_64), KORV_WINE (the loader), WINEARCH,
# KORV_WIN_TOOLCHAIN (the cmake toolchain file) and KORV_WIN_BUILD (the build
# folder under the project root).
korv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [[ -z ${KORV_WIN_ARCH:-} ]]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    KORV_WIN_ARCH=i686
  else
    KORV_WIN_ARCH=x86_64
  fi
fi
if [[ $KORV_WIN_ARCH == i686 ]]; then
  KORV_WINE=/usr/lib/wine/wine
  KORV_WIN_BUILD=$korv_root/build/win
  export WINEARCH=win32
else
  KORV_WINE=/usr/lib/wine/wine64
  KORV_WIN_BUILD=$korv_root/build/win64
  export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
fi
KORV_WIN_TOOLCHAIN=$korv_root/cmake/mingw-$KORV_WIN_ARCH.cmake
export KORV_WIN_ARCH KORV_WINE KORV_WIN_BUILD KORV_WIN_TOOLCHAIN
