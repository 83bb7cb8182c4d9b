# What the Qt side asks of the whole build: Qt 6, xcb, FreeType, fontconfig,
# HarfBuzz and FriBidi (tests and benchmarks use Qt as well).
find_package(PkgConfig REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Test)
set(CMAKE_AUTOMOC OFF)
pkg_check_modules(QUORL_XCB REQUIRED IMPORTED_TARGET GLOBAL xcb)
pkg_check_modules(QUORL_FONTLIBS REQUIRED IMPORTED_TARGET GLOBAL freetype2 fontconfig harfbuzz fribidi)
