# Script mode: removes what the last `cmake --install` of this build directory
# put in place (install_manifest.txt), then the directories of the bundle
# that are left empty. Standard directories such as share/man stay.
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} does not exist (run cmake --install first)")
endif()
file(STRINGS "${MANIFEST}" installed)
set(bundle "")
foreach(file IN LISTS installed)
  set(file "$ENV{DESTDIR}${file}")  # the manifest leaves DESTDIR out
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
  endif()
  if(file MATCHES "^(.*/Tresk\\.app)/")
    set(bundle "${CMAKE_MATCH_1}")
  endif()
endforeach()

# The bundle's own directories, deepest first; then its parent when that is
# the directory made for it (lib/tresk on Linux), never /Applications.
if(bundle AND IS_DIRECTORY "${bundle}")
  file(GLOB_RECURSE dirs LIST_DIRECTORIES true "${bundle}/*")
  list(SORT dirs ORDER DESCENDING)
  foreach(dir IN LISTS dirs ITEMS "${bundle}")
    file(GLOB entries "${dir}/*" "${dir}/.*")
    if(IS_DIRECTORY "${dir}" AND NOT entries)
      file(REMOVE_RECURSE "${dir}")  # empty: nothing else goes with it
    endif()
  endforeach()
  get_filename_component(parent "${bundle}" DIRECTORY)
  get_filename_component(parent_name "${parent}" NAME)
  file(GLOB entries "${parent}/*" "${parent}/.*")
  if(parent_name STREQUAL "tresk" AND NOT entries)
    file(REMOVE_RECURSE "${parent}")
  endif()
endif()
