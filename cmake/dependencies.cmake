# The libraries each platform links.
# macOS: the SDK and nothing else. ICU is the system's libicucore, whose C API
# is exported without ICU's version suffix; the few C headers the SDK lacks
# are kept in third_party/icu.
# Linux: ICU, and SQLite and libplist for the simulated platform, found with
# pkg-config. TRESK_STATIC prefers the static archives (static linking
# shortens start-up).
if(APPLE)
  add_library(tresk::icu INTERFACE IMPORTED)
  target_link_libraries(tresk::icu INTERFACE icucore)
  target_include_directories(tresk::icu SYSTEM INTERFACE ${CMAKE_SOURCE_DIR}/third_party/icu/include)
  # UChar is a 16-bit unit either way; as char16_t it meets the standard strings.
  target_compile_definitions(tresk::icu INTERFACE U_DISABLE_RENAMING=1 UCHAR_TYPE=char16_t)
  return()
endif()

find_package(PkgConfig REQUIRED)

function(tresk_pkg target module)
  if(TRESK_STATIC)
    pkg_check_modules(${target}_PKG REQUIRED ${module})
    set(libs "")
    foreach(lib ${${target}_PKG_STATIC_LIBRARIES})
      if(lib MATCHES "^(pthread|m|dl|rt|z|c)$")
        list(APPEND libs ${lib})  # system libraries stay with the C library
        continue()
      endif()
      find_library(${target}_${lib}_A NAMES lib${lib}.a ${lib} HINTS ${${target}_PKG_STATIC_LIBRARY_DIRS} NO_CACHE)
      list(APPEND libs ${${target}_${lib}_A})
    endforeach()
    add_library(tresk::${target} INTERFACE IMPORTED)
    target_include_directories(tresk::${target} INTERFACE ${${target}_PKG_INCLUDE_DIRS})
    target_link_libraries(tresk::${target} INTERFACE ${libs})
  else()
    pkg_check_modules(${target}_PKG REQUIRED IMPORTED_TARGET ${module})
    add_library(tresk::${target} ALIAS PkgConfig::${target}_PKG)
  endif()
endfunction()

tresk_pkg(icu "icu-uc;icu-i18n")
tresk_pkg(sqlite sqlite3)
# libplist ships no static archive on Debian; it stays dynamic.
pkg_check_modules(plist_PKG REQUIRED IMPORTED_TARGET libplist-2.0)
add_library(tresk::plist ALIAS PkgConfig::plist_PKG)
