# Where the engine's line breaking (UAX #14, for wrapped text) and grapheme and
# word boundaries (UAX #29, for carets and selections) come from: libunibreak.
# The system's copy when pkg-config finds release 6.0 or newer (older ones
# predate the emoji and later Unicode rules, and 6.0 brought Unicode 15.1's
# Indic conjuncts as one grapheme; Debian 12 ships 1.1),
# otherwise a static build of the sources that
# `scripts/fetch_bundled_sources.sh libunibreak` puts in third_party/libunibreak.
# Either way the engine links the target lumo::unibreak.

set(LUMO_UNIBREAK_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/libunibreak)

if(NOT lumo_bundled_mode STREQUAL "ON")
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(libunibreak QUIET IMPORTED_TARGET GLOBAL "libunibreak>=6.0")
  endif()
  if(libunibreak_FOUND)
    message(STATUS "lumo_font: the system's libunibreak ${libunibreak_VERSION}")
    add_library(lumo::unibreak ALIAS PkgConfig::libunibreak)
    return()
  endif()
endif()

if(NOT EXISTS ${LUMO_UNIBREAK_SOURCE_DIR}/src/linebreak.c OR NOT EXISTS ${LUMO_UNIBREAK_SOURCE_DIR}/src/wordbreak.c)
  message(FATAL_ERROR "lumo_font: pkg-config found no libunibreak 6.0 or newer, and its sources (with grapheme and "
                      "word breaking) are not in third_party/libunibreak: run "
                      "scripts/fetch_bundled_sources.sh libunibreak first.")
endif()
file(READ ${LUMO_UNIBREAK_SOURCE_DIR}/.debian-source lumo_unibreak_origin)
string(STRIP "${lumo_unibreak_origin}" lumo_unibreak_origin)
message(STATUS "lumo_font: bundled ${lumo_unibreak_origin}")
enable_language(C)
# graphemebreak.c and wordbreak.c include their own data tables.
set(lumo_unibreak_sources linebreak.c linebreakdata.c linebreakdef.c unibreakbase.c unibreakdef.c emojidef.c
                          eastasianwidthdef.c graphemebreak.c wordbreak.c)
list(TRANSFORM lumo_unibreak_sources PREPEND ${LUMO_UNIBREAK_SOURCE_DIR}/src/)
add_library(lumo_bundled_unibreak STATIC ${lumo_unibreak_sources})
# Static, position-independent and hidden, as the other bundled libraries:
# not our code (no warnings), and kept out of the extension's exports.
set_target_properties(lumo_bundled_unibreak PROPERTIES POSITION_INDEPENDENT_CODE ON C_VISIBILITY_PRESET hidden)
target_include_directories(lumo_bundled_unibreak SYSTEM PUBLIC ${LUMO_UNIBREAK_SOURCE_DIR}/src)
target_compile_options(lumo_bundled_unibreak PRIVATE $<IF:$<BOOL:${MSVC}>,/w,-w>)
# Its own archive only: excluding all of them would also hide the sanitizer
# runtimes' allocator from the fuzz and sanitizer builds that link it.
if(UNIX AND NOT APPLE)
  target_link_options(lumo_bundled_unibreak INTERFACE "LINKER:--exclude-libs,liblumo_bundled_unibreak.a")
endif()
add_library(lumo::unibreak ALIAS lumo_bundled_unibreak)
if(DEFINED SKBUILD_METADATA_DIR)
  install(FILES ${LUMO_UNIBREAK_SOURCE_DIR}/LICENCE DESTINATION ${SKBUILD_METADATA_DIR}/licenses/third_party/libunibreak)
endif()
