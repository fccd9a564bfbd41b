# Where the engine's FreeType, HarfBuzz and FriBidi come from: the system's,
# found by pkg-config, or static builds of the sources in third_party/ that
# scripts/fetch_bundled_sources.sh fetches (the bundled FreeType with libpng and
# zlib for colour-bitmap emoji). Either way the engine links the targets
# lumo::freetype, lumo::harfbuzz and lumo::fribidi.

set(LUMO_BUNDLED_LIBS AUTO CACHE STRING
    "Build FreeType, HarfBuzz and FriBidi from third_party/: AUTO (when pkg-config finds no system copy), ON or OFF")
set_property(CACHE LUMO_BUNDLED_LIBS PROPERTY STRINGS AUTO ON OFF)
string(TOUPPER "${LUMO_BUNDLED_LIBS}" lumo_bundled_mode)
if(NOT lumo_bundled_mode MATCHES "^(AUTO|ON|OFF)$")
  message(FATAL_ERROR "LUMO_BUNDLED_LIBS is '${LUMO_BUNDLED_LIBS}'; it must be AUTO, ON or OFF.")
endif()

set(LUMO_FREETYPE_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/freetype)
set(LUMO_HARFBUZZ_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/harfbuzz)
set(LUMO_FRIBIDI_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/fribidi)
set(LUMO_LIBPNG_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/libpng)
set(LUMO_ZLIB_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/zlib)

# Names a list in a message: "a", "a or b", "a, b or c".
function(lumo_name_list output conjunction)
  set(names ${ARGN})
  list(POP_BACK names last)
  if(names)
    list(JOIN names ", " first)
    set(last "${first} ${conjunction} ${last}")
  endif()
  set(${output} "${last}" PARENT_SCOPE)
endfunction()

# The system's three libraries are taken together or not at all: a bundled
# FreeType beside a system HarfBuzz would load two FreeTypes into one process.
if(NOT lumo_bundled_mode STREQUAL "ON")
  find_package(PkgConfig QUIET)
  set(lumo_missing_modules)
  foreach(module freetype2 harfbuzz fribidi)
    if(PKG_CONFIG_FOUND)
      pkg_check_modules(${module} QUIET IMPORTED_TARGET GLOBAL ${module})
    endif()
    if(NOT ${module}_FOUND)
      list(APPEND lumo_missing_modules ${module})
    endif()
  endforeach()
  if(NOT lumo_missing_modules)
    message(STATUS "lumo_font: the system's FreeType, HarfBuzz and FriBidi (freetype2 ${freetype2_VERSION}, "
                   "harfbuzz ${harfbuzz_VERSION}, fribidi ${fribidi_VERSION})")
    add_library(lumo::freetype ALIAS PkgConfig::freetype2)
    add_library(lumo::harfbuzz ALIAS PkgConfig::harfbuzz)
    add_library(lumo::fribidi ALIAS PkgConfig::fribidi)
    return()
  endif()
  lumo_name_list(lumo_missing_modules or ${lumo_missing_modules})
  if(lumo_bundled_mode STREQUAL "OFF")
    message(FATAL_ERROR "lumo_font: LUMO_BUNDLED_LIBS=OFF needs the system's FreeType, HarfBuzz and FriBidi, but "
                        "pkg-config found no ${lumo_missing_modules} (Debian: apt-get install pkg-config "
                        "libfreetype-dev libharfbuzz-dev libfribidi-dev).")
  endif()
endif()

# One file of each library's sources stands for the whole of them.
set(lumo_bundled_names FreeType HarfBuzz FriBidi libpng zlib)
set(lumo_bundled_markers ${LUMO_FREETYPE_SOURCE_DIR}/src/base/ftbase.c ${LUMO_HARFBUZZ_SOURCE_DIR}/src/harfbuzz.cc
                         ${LUMO_FRIBIDI_SOURCE_DIR}/lib/fribidi.c ${LUMO_LIBPNG_SOURCE_DIR}/png.c
                         ${LUMO_ZLIB_SOURCE_DIR}/inflate.c)
set(lumo_missing_sources)
foreach(name marker IN ZIP_LISTS lumo_bundled_names lumo_bundled_markers)
  if(NOT EXISTS ${marker})
    list(APPEND lumo_missing_sources ${name})
  endif()
endforeach()
if(lumo_missing_sources)
  lumo_name_list(lumo_missing_sources and ${lumo_missing_sources})
  if(lumo_bundled_mode STREQUAL "AUTO")
    set(lumo_why "pkg-config found no ${lumo_missing_modules}, and the bundled sources of ${lumo_missing_sources}")
  else()
    set(lumo_why "LUMO_BUNDLED_LIBS=ON needs the bundled sources of ${lumo_missing_sources}, which")
  endif()
  message(FATAL_ERROR "lumo_font: ${lumo_why} are not in third_party/: run scripts/fetch_bundled_sources.sh first.")
endif()

if(lumo_bundled_mode STREQUAL "AUTO")
  message(STATUS "lumo_font: bundled FreeType (with libpng and zlib), HarfBuzz and FriBidi from third_party/ "
                 "(pkg-config found no ${lumo_missing_modules})")
else()
  message(STATUS "lumo_font: bundled FreeType (with libpng and zlib), HarfBuzz and FriBidi from third_party/")
endif()
enable_language(C)

# A bundled library lumo_bundled_<name>, aliased lumo::<name>: static and
# position-independent for the extension, built without warnings (it is not
# our code), its symbols hidden and kept out of the extension's exports, since
# pygame's wheels and the interpreter load a FreeType, libpng and zlib of their
# own, on which exported symbols of ours would interpose.
function(lumo_add_bundled_library name source_dir)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SOURCES;INCLUDE_DIRS")
  list(TRANSFORM arg_SOURCES PREPEND ${source_dir}/)
  set(target lumo_bundled_${name})
  add_library(${target} STATIC ${arg_SOURCES})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON C_VISIBILITY_PRESET hidden
                                             CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${target} SYSTEM PUBLIC ${arg_INCLUDE_DIRS})
  target_compile_options(${target} PRIVATE $<IF:$<BOOL:${MSVC}>,/w,-w>)
  if(UNIX AND NOT APPLE)
    target_link_options(${target} INTERFACE "LINKER:--exclude-libs,ALL")
  endif()
  add_library(lumo::${name} ALIAS ${target})
endfunction()

# zlib's decompressor alone, built from its plain sources: nothing here writes
# PNG or gzip data.
lumo_add_bundled_library(zlib ${LUMO_ZLIB_SOURCE_DIR}
  SOURCES adler32.c crc32.c inffast.c inflate.c inftrees.c zutil.c
  INCLUDE_DIRS ${LUMO_ZLIB_SOURCE_DIR})

# libpng's configuration header as its configure step writes it for a reader
# only: the prebuilt pnglibconf.h with the writer's options turned off, so
# that none of libpng's writing code (nor zlib's deflate) is needed.
function(lumo_write_pnglibconf output)
  set(prebuilt ${LUMO_LIBPNG_SOURCE_DIR}/scripts/pnglibconf.h.prebuilt)
  file(READ ${prebuilt} config)
  if(NOT config MATCHES "\n#define PNG_WRITE_SUPPORTED\n")
    message(FATAL_ERROR "lumo_font: no PNG_WRITE_SUPPORTED to turn off in ${prebuilt}")
  endif()
  string(REGEX REPLACE "#define (PNG_(SIMPLIFIED_WRITE|WRITE|CONVERT_tIME|SAVE_INT_32)[A-Za-z0-9_]*_SUPPORTED)\n"
                       "/*#undef \\1*/\n" config "${config}")
  file(CONFIGURE OUTPUT ${output} CONTENT "${config}" @ONLY)
endfunction()
lumo_write_pnglibconf(${CMAKE_CURRENT_BINARY_DIR}/libpng/pnglibconf.h)

# libpng's reader in portable C: its ARM, Intel, MIPS and PowerPC SIMD paths
# need sources and compiler switches of their own on each platform, and it
# would turn NEON on by itself wherever the compiler targets it (64-bit ARM).
lumo_add_bundled_library(png ${LUMO_LIBPNG_SOURCE_DIR}
  SOURCES png.c pngerror.c pngget.c pngmem.c pngread.c pngrio.c pngrtran.c pngrutil.c pngset.c pngtrans.c
  INCLUDE_DIRS ${LUMO_LIBPNG_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}/libpng)
target_compile_definitions(lumo_bundled_png PRIVATE
  PNG_ARM_NEON_OPT=0 PNG_INTEL_SSE_OPT=0 PNG_MIPS_MSA_OPT=0 PNG_POWERPC_VSX_OPT=0)
target_link_libraries(lumo_bundled_png PUBLIC lumo::zlib)

# FreeType with its stock module set (the one the system library has), reading
# fonts through plain stdio. Colour-bitmap emoji (PNG strikes) need its PNG
# reader; gzip-compressed fonts and WOFF tables are inflated by the same zlib
# as PNG data rather than by FreeType's private copy of it.
lumo_add_bundled_library(freetype ${LUMO_FREETYPE_SOURCE_DIR}
  SOURCES
    src/autofit/autofit.c src/base/ftbase.c src/base/ftbbox.c src/base/ftbdf.c src/base/ftbitmap.c
    src/base/ftcid.c src/base/ftdebug.c src/base/ftfstype.c src/base/ftgasp.c src/base/ftglyph.c
    src/base/ftgxval.c src/base/ftinit.c src/base/ftmm.c src/base/ftotval.c src/base/ftpatent.c
    src/base/ftpfr.c src/base/ftstroke.c src/base/ftsynth.c src/base/ftsystem.c src/base/fttype1.c
    src/base/ftwinfnt.c src/bdf/bdf.c src/bzip2/ftbzip2.c src/cache/ftcache.c src/cff/cff.c
    src/cid/type1cid.c src/gzip/ftgzip.c src/lzw/ftlzw.c src/pcf/pcf.c src/pfr/pfr.c src/psaux/psaux.c
    src/pshinter/pshinter.c src/psnames/psnames.c src/raster/raster.c src/sdf/sdf.c src/sfnt/sfnt.c
    src/smooth/smooth.c src/svg/svg.c src/truetype/truetype.c src/type1/type1.c src/type42/type42.c
    src/winfonts/winfnt.c
  INCLUDE_DIRS ${LUMO_FREETYPE_SOURCE_DIR}/include)
target_compile_definitions(lumo_bundled_freetype PRIVATE
  FT2_BUILD_LIBRARY FT_CONFIG_OPTION_USE_PNG FT_CONFIG_OPTION_SYSTEM_ZLIB)
target_link_libraries(lumo_bundled_freetype PRIVATE lumo::png lumo::zlib)

# HarfBuzz from its single-file build: with no HAVE_* switch it uses its own
# OpenType font functions and Unicode tables, and no glib, ICU, graphite or FreeType.
lumo_add_bundled_library(harfbuzz ${LUMO_HARFBUZZ_SOURCE_DIR}/src
  SOURCES harfbuzz.cc
  INCLUDE_DIRS ${LUMO_HARFBUZZ_SOURCE_DIR}/src)
set_target_properties(lumo_bundled_harfbuzz PROPERTIES CXX_STANDARD 11)
target_compile_options(lumo_bundled_harfbuzz PRIVATE -fno-exceptions -fno-rtti)

# FriBidi with the header its configure step writes, fribidi-config.h; the
# other generated files, its Unicode tables among them, come with the sources.
function(lumo_write_fribidi_config output)
  file(READ ${LUMO_FRIBIDI_SOURCE_DIR}/meson.build meson_build)
  if(NOT meson_build MATCHES "interface_version = ([0-9]+)")
    message(FATAL_ERROR "lumo_font: no FriBidi interface version in ${LUMO_FRIBIDI_SOURCE_DIR}/meson.build")
  endif()
  set(FRIBIDI_INTERFACE_VERSION ${CMAKE_MATCH_1})
  if(NOT meson_build MATCHES "version: '([0-9]+)\\.([0-9]+)\\.([0-9]+)'")
    message(FATAL_ERROR "lumo_font: no FriBidi version in ${LUMO_FRIBIDI_SOURCE_DIR}/meson.build")
  endif()
  set(FRIBIDI_VERSION ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3})
  set(FRIBIDI_MAJOR_VERSION ${CMAKE_MATCH_1})
  set(FRIBIDI_MINOR_VERSION ${CMAKE_MATCH_2})
  set(FRIBIDI_MICRO_VERSION ${CMAKE_MATCH_3})
  include(CheckTypeSize)
  check_type_size(int LUMO_SIZEOF_INT LANGUAGE C)
  set(SIZEOF_INT ${LUMO_SIZEOF_INT})
  set(PACKAGE fribidi)
  set(PACKAGE_NAME "GNU FriBidi")
  set(PACKAGE_BUGREPORT "https://github.com/fribidi/fribidi/issues/new")
  set(FRIBIDI_MSVC_BUILD_PLACEHOLDER "#undef FRIBIDI_BUILT_WITH_MSVC")
  set(configure_input "fribidi-config.h written by cmake/dependencies.cmake")
  configure_file(${LUMO_FRIBIDI_SOURCE_DIR}/lib/fribidi-config.h.in ${output} @ONLY)
endfunction()
lumo_write_fribidi_config(${CMAKE_CURRENT_BINARY_DIR}/fribidi/fribidi-config.h)

# Every source of the system library, so either build offers the same entry points.
lumo_add_bundled_library(fribidi ${LUMO_FRIBIDI_SOURCE_DIR}/lib
  SOURCES
    fribidi.c fribidi-arabic.c fribidi-bidi.c fribidi-bidi-types.c fribidi-brackets.c fribidi-char-sets.c
    fribidi-char-sets-cap-rtl.c fribidi-char-sets-cp1255.c fribidi-char-sets-cp1256.c
    fribidi-char-sets-iso8859-6.c fribidi-char-sets-iso8859-8.c fribidi-char-sets-utf8.c
    fribidi-deprecated.c fribidi-joining.c fribidi-joining-types.c fribidi-mirroring.c fribidi-run.c
    fribidi-shape.c
  INCLUDE_DIRS ${LUMO_FRIBIDI_SOURCE_DIR}/lib ${CMAKE_CURRENT_BINARY_DIR}/fribidi)
# What its config.h would say on any C99 system; it reads no other switch.
target_compile_definitions(lumo_bundled_fribidi PRIVATE HAVE_STDLIB_H=1 HAVE_STRING_H=1 HAVE_STRINGIZE=1)

# The wheel carries the licences of what it bundles, beside the project's own.
if(DEFINED SKBUILD_METADATA_DIR)
  install(FILES ${LUMO_FREETYPE_SOURCE_DIR}/LICENSE.TXT ${LUMO_FREETYPE_SOURCE_DIR}/docs/FTL.TXT
                ${LUMO_FREETYPE_SOURCE_DIR}/docs/GPLv2.TXT
          DESTINATION ${SKBUILD_METADATA_DIR}/licenses/third_party/freetype)
  install(FILES ${LUMO_HARFBUZZ_SOURCE_DIR}/COPYING
          DESTINATION ${SKBUILD_METADATA_DIR}/licenses/third_party/harfbuzz)
  install(FILES ${LUMO_FRIBIDI_SOURCE_DIR}/COPYING
          DESTINATION ${SKBUILD_METADATA_DIR}/licenses/third_party/fribidi)
  install(FILES ${LUMO_LIBPNG_SOURCE_DIR}/LICENSE DESTINATION ${SKBUILD_METADATA_DIR}/licenses/third_party/libpng)
  install(FILES ${LUMO_ZLIB_SOURCE_DIR}/LICENSE DESTINATION ${SKBUILD_METADATA_DIR}/licenses/third_party/zlib)
endif()
