# Where the engine's FreeType and HarfBuzz come from: the system's, found by
# pkg-config, or static builds of the sources in third_party/ that
# scripts/fetch_bundled_sources.sh fetches. Either way the engine links the
# targets lumo::freetype and lumo::harfbuzz.

set(LUMO_BUNDLED_LIBS AUTO CACHE STRING
    "Build FreeType and HarfBuzz from third_party/: AUTO (when pkg-config finds no system copy), ON or OFF")
set_property(CACHE LUMO_BUNDLED_LIBS PROPERTY STRINGS AUTO ON OFF)
string(TOUPPER "${LUMO_BUNDLED_LIBS}" lumo_bundled_mode)
if(NOT lumo_bundled_mode MATCHES "^(AUTO|ON|OFF)$")
  message(FATAL_ERROR "LUMO_BUNDLED_LIBS is '${LUMO_BUNDLED_LIBS}'; it must be AUTO, ON or OFF.")
endif()

set(LUMO_FREETYPE_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/freetype)
set(LUMO_HARFBUZZ_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/harfbuzz)

if(NOT lumo_bundled_mode STREQUAL "ON")
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(FREETYPE QUIET IMPORTED_TARGET GLOBAL freetype2)
    pkg_check_modules(HARFBUZZ QUIET IMPORTED_TARGET GLOBAL harfbuzz)
    pkg_check_modules(FRIBIDI QUIET IMPORTED_TARGET GLOBAL fribidi)
  endif()
  if(FREETYPE_FOUND AND HARFBUZZ_FOUND AND FRIBIDI_FOUND)
    message(STATUS "lumo_font: the system's FreeType, HarfBuzz and FriBidi (freetype2 ${FREETYPE_VERSION}, "
                   "harfbuzz ${HARFBUZZ_VERSION}, fribidi ${FRIBIDI_VERSION})")
    add_library(lumo::freetype ALIAS PkgConfig::FREETYPE)
    add_library(lumo::harfbuzz ALIAS PkgConfig::HARFBUZZ)
    add_library(lumo::fribidi ALIAS PkgConfig::FRIBIDI)
    return()
  endif()
  if(lumo_bundled_mode STREQUAL "OFF")
    message(FATAL_ERROR "lumo_font: LUMO_BUNDLED_LIBS=OFF needs the system's FreeType and HarfBuzz, but pkg-config "
                        "found no freetype2 and harfbuzz (Debian: apt-get install pkg-config libfreetype-dev libharfbuzz-dev).")
  endif()
endif()

if(NOT EXISTS ${LUMO_FREETYPE_SOURCE_DIR}/src/base/ftbase.c OR NOT EXISTS ${LUMO_HARFBUZZ_SOURCE_DIR}/src/harfbuzz.cc)
  if(lumo_bundled_mode STREQUAL "AUTO")
    set(lumo_why "pkg-config found no system freetype2 and harfbuzz, and the bundled sources")
  else()
    set(lumo_why "LUMO_BUNDLED_LIBS=ON needs the bundled sources, which")
  endif()
  message(FATAL_ERROR "lumo_font: ${lumo_why} are not in third_party/: run scripts/fetch_bundled_sources.sh first.")
endif()

message(STATUS "lumo_font: bundled FreeType and HarfBuzz from third_party/")
enable_language(C)

# FreeType with its stock module set (the one the system library has), reading
# fonts through plain stdio; gzip-compressed fonts use its own copy of zlib.
set(lumo_freetype_sources
  src/autofit/autofit.c src/base/ftbase.c src/base/ftbbox.c src/base/ftbdf.c src/base/ftbitmap.c
  src/base/ftcid.c src/base/ftdebug.c src/base/ftfstype.c src/base/ftgasp.c src/base/ftglyph.c
  src/base/ftgxval.c src/base/ftinit.c src/base/ftmm.c src/base/ftotval.c src/base/ftpatent.c
  src/base/ftpfr.c src/base/ftstroke.c src/base/ftsynth.c src/base/ftsystem.c src/base/fttype1.c
  src/base/ftwinfnt.c src/bdf/bdf.c src/bzip2/ftbzip2.c src/cache/ftcache.c src/cff/cff.c
  src/cid/type1cid.c src/gzip/ftgzip.c src/lzw/ftlzw.c src/pcf/pcf.c src/pfr/pfr.c src/psaux/psaux.c
  src/pshinter/pshinter.c src/psnames/psnames.c src/raster/raster.c src/sdf/sdf.c src/sfnt/sfnt.c
  src/smooth/smooth.c src/svg/svg.c src/truetype/truetype.c src/type1/type1.c src/type42/type42.c
  src/winfonts/winfnt.c)
list(TRANSFORM lumo_freetype_sources PREPEND ${LUMO_FREETYPE_SOURCE_DIR}/)
add_library(lumo_bundled_freetype STATIC ${lumo_freetype_sources})
set_target_properties(lumo_bundled_freetype PROPERTIES POSITION_INDEPENDENT_CODE ON C_VISIBILITY_PRESET hidden)
target_include_directories(lumo_bundled_freetype SYSTEM PUBLIC ${LUMO_FREETYPE_SOURCE_DIR}/include)
target_compile_definitions(lumo_bundled_freetype PRIVATE FT2_BUILD_LIBRARY)
target_compile_options(lumo_bundled_freetype PRIVATE -w)
# Colour-bitmap emoji (PNG strikes) need FreeType's PNG reader: it is switched
# on as soon as a bundled libpng target exists.
if(TARGET lumo::png)
  target_compile_definitions(lumo_bundled_freetype PRIVATE FT_CONFIG_OPTION_USE_PNG)
  target_link_libraries(lumo_bundled_freetype PRIVATE lumo::png)
endif()
add_library(lumo::freetype ALIAS lumo_bundled_freetype)

# HarfBuzz from its single-file build: with no HAVE_* switch it uses its own
# OpenType font functions and Unicode tables, and no glib, ICU, graphite or FreeType.
add_library(lumo_bundled_harfbuzz STATIC ${LUMO_HARFBUZZ_SOURCE_DIR}/src/harfbuzz.cc)
set_target_properties(lumo_bundled_harfbuzz PROPERTIES
  CXX_STANDARD 11 POSITION_INDEPENDENT_CODE ON CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
target_include_directories(lumo_bundled_harfbuzz SYSTEM PUBLIC ${LUMO_HARFBUZZ_SOURCE_DIR}/src)
target_compile_options(lumo_bundled_harfbuzz PRIVATE -fno-exceptions -fno-rtti -w)
add_library(lumo::harfbuzz ALIAS lumo_bundled_harfbuzz)

# The extension keeps the bundled copies to itself: pygame's wheels carry a
# FreeType of their own, and exported symbols of ours would interpose on it.
if(UNIX AND NOT APPLE)
  target_link_options(lumo_bundled_freetype INTERFACE "LINKER:--exclude-libs,ALL")
endif()

# The wheel carries the licences of what it bundles, beside the project's own.
if(DEFINED SKBUILD_METADATA_DIR)
  install(FILES ${LUMO_FREETYPE_SOURCE_DIR}/LICENSE.TXT ${LUMO_FREETYPE_SOURCE_DIR}/docs/FTL.TXT
                ${LUMO_FREETYPE_SOURCE_DIR}/docs/GPLv2.TXT
          DESTINATION ${SKBUILD_METADATA_DIR}/licenses/third_party/freetype)
  install(FILES ${LUMO_HARFBUZZ_SOURCE_DIR}/COPYING
          DESTINATION ${SKBUILD_METADATA_DIR}/licenses/third_party/harfbuzz)
endif()
