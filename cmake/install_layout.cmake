# Runs at install time, before anything is copied (install.cmake sets the
# tresk_* variables it reads). It decides where the shell completions go for
# the prefix given to `cmake --install`, notes the directories that the
# install is about to create (the uninstall removes those once empty, and
# only those), and installs the completions.
#
# Where the shells look without any variable set, on a console, SSH or tmux
# login (which set no XDG_DATA_DIRS):
# - bash-completion: share/bash-completion/completions under the user's data
#   directory and under /usr/local/share and /usr/share, so under the prefix
#   for /usr/local, /usr and ~/.local alike.
# - zsh: its fpath, which differs between builds: share/zsh/site-functions is
#   zsh's own default (and Homebrew's), Debian's zsh has
#   /usr/local/share/zsh/site-functions but /usr/share/zsh/vendor-completions.
# - fish: its vendor directories, the user's own and the one it was built
#   with (/usr/share/fish/vendor_completions.d on Debian, Homebrew's share on
#   a Mac); a distribution's fish does not read /usr/local/share/fish.

cmake_policy(VERSION 3.25)  # in this file's own policy scope: IN_LIST, cmake_path

cmake_path(SET tresk_prefix NORMALIZE "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "(.)/$" "\\1" tresk_prefix "${tresk_prefix}")

# An absolute directory as it is, a relative one under the prefix.
function(tresk_absolute out dir)
  if(IS_ABSOLUTE "${dir}")
    cmake_path(SET dir NORMALIZE "${dir}")
  else()
    cmake_path(SET dir NORMALIZE "${tresk_prefix}/${dir}")
  endif()
  string(REGEX REPLACE "(.)/$" "\\1" dir "${dir}")
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

# The lines a shell prints, as a list; empty when the shell is not installed.
function(tresk_ask_shell out shell)
  set(lines "")
  find_program(tresk_shell_${shell} ${shell})
  if(tresk_shell_${shell})
    # No XDG_DATA_DIRS: what a login shell has.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_DIRS
                            ${tresk_shell_${shell}} ${ARGN}
      OUTPUT_VARIABLE lines ERROR_QUIET TIMEOUT 20)
    string(STRIP "${lines}" lines)
    string(REPLACE "\n" ";" lines "${lines}")
  endif()
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

tresk_absolute(tresk_bundle_path "${tresk_bundle_dir}")
tresk_absolute(tresk_man_path "${tresk_man_dir}")

if(tresk_bash_dir STREQUAL "")
  set(tresk_bash_dir "${tresk_data_dir}/bash-completion/completions")
endif()
tresk_absolute(tresk_bash_path "${tresk_bash_dir}")

if(tresk_zsh_dir STREQUAL "")
  # The first of these that zsh reads; else zsh's own default, which the
  # user adds to fpath.
  tresk_ask_shell(fpath zsh -fc [[print -rl -- $fpath]])
  set(tresk_zsh_dir "${tresk_data_dir}/zsh/site-functions")
  foreach(candidate site-functions vendor-completions)
    tresk_absolute(path "${tresk_data_dir}/zsh/${candidate}")
    if(path IN_LIST fpath)
      set(tresk_zsh_dir "${path}")
      break()
    endif()
  endforeach()
endif()
tresk_absolute(tresk_zsh_path "${tresk_zsh_dir}")

if(tresk_fish_dir STREQUAL "")
  # The prefix's own directory when fish reads it. For /usr/local, which is
  # for every user of the machine, the one fish was built with (the last
  # vendor directory it lists; what `pkg-config --variable completionsdir
  # fish` names), as fish's documentation asks of programs that ship
  # completions. Any other prefix keeps its files to itself.
  # (Lines, not ';': the command passes through a CMake list.)
  tresk_ask_shell(vendor_dirs fish --no-config -c [[
    source $__fish_data_dir/config.fish
    printf '%s\n' $__fish_vendor_completionsdirs]])
  tresk_absolute(path "${tresk_data_dir}/fish/vendor_completions.d")
  set(tresk_fish_dir "${path}")
  if(NOT path IN_LIST vendor_dirs AND tresk_prefix STREQUAL "/usr/local" AND vendor_dirs)
    list(GET vendor_dirs -1 tresk_fish_dir)
  endif()
endif()
tresk_absolute(tresk_fish_path "${tresk_fish_dir}")

# The directories this install creates, with DESTDIR as they are made. Those
# that an earlier install from this build directory created and that are
# still there stay on the list: they are as much this install's.
set(tresk_created "")
if(EXISTS "${tresk_created_record}")
  file(STRINGS "${tresk_created_record}" earlier)
  foreach(dir IN LISTS earlier)
    if(IS_DIRECTORY "${dir}" AND NOT IS_SYMLINK "${dir}")
      list(APPEND tresk_created "${dir}")
    endif()
  endforeach()
endif()
foreach(path IN ITEMS "${tresk_bundle_path}" "${tresk_man_path}" "${tresk_bash_path}"
                      "${tresk_zsh_path}" "${tresk_fish_path}")
  cmake_path(SET dir NORMALIZE "$ENV{DESTDIR}${path}")
  while(NOT EXISTS "${dir}" AND NOT IS_SYMLINK "${dir}")
    list(APPEND tresk_created "${dir}")
    get_filename_component(dir "${dir}" DIRECTORY)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES tresk_created)
list(JOIN tresk_created "\n" lines)
file(WRITE "${tresk_created_record}" "${lines}\n")

# file(INSTALL) adds DESTDIR and records each file in install_manifest.txt.
file(INSTALL DESTINATION "${tresk_bash_path}" TYPE FILE
  FILES "${tresk_source_dir}/completions/tresk.bash" RENAME tresk)
file(INSTALL DESTINATION "${tresk_zsh_path}" TYPE FILE
  FILES "${tresk_source_dir}/completions/_tresk")
file(INSTALL DESTINATION "${tresk_fish_path}" TYPE FILE
  FILES "${tresk_source_dir}/completions/tresk.fish")
