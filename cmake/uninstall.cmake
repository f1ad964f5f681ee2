# Script mode: removes what the last `cmake --install` of this build directory
# put in place (MANIFEST, install_manifest.txt), then the directories of the
# bundle and those the install created (CREATED, noted by
# install_layout.cmake) that are left empty. A directory that was there
# before the install, such as a standard share/man/man1, stays.
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

# In descending order every directory comes before its parent.
if(EXISTS "${CREATED}")
  file(STRINGS "${CREATED}" created)
  list(SORT created ORDER DESCENDING)
  set(kept "")
  foreach(dir IN LISTS created)
    if(IS_DIRECTORY "${dir}" AND NOT IS_SYMLINK "${dir}")
      file(GLOB entries "${dir}/*" "${dir}/.*")
      if(entries)
        list(APPEND kept "${dir}")  # it holds others' files now: left, and still ours to remove later
      else()
        message(STATUS "Removing ${dir}/")
        file(REMOVE_RECURSE "${dir}")
      endif()
    endif()
  endforeach()
  if(kept)
    list(REVERSE kept)
    list(JOIN kept "\n" lines)
    file(WRITE "${CREATED}" "${lines}\n")
  else()
    file(REMOVE "${CREATED}")
  endif()
endif()
