# Install rules: the bundle as built, the man page and the shell completions.
# The PATH link is the user's to make (the launch help and BUILD.md suggest
# the ln -s command); nothing is installed into bin/.
include(GNUInstallDirs)

if(APPLE)
  set(tresk_default_bundle_dir /Applications)
else()
  set(tresk_default_bundle_dir ${CMAKE_INSTALL_LIBDIR}/tresk)
endif()
set(TRESK_INSTALL_BUNDLE_DIR ${tresk_default_bundle_dir} CACHE STRING
  "Directory that receives Tresk.app; a relative path is taken under CMAKE_INSTALL_PREFIX")

# Where each shell's completion goes. Empty: chosen at install time, for the
# prefix given then, among the directories that shell reads by default
# (cmake/install_layout.cmake); a relative path is taken under the prefix.
set(TRESK_INSTALL_BASH_COMPLETION_DIR "" CACHE STRING
  "Directory for the bash completion; empty: chosen at install time")
set(TRESK_INSTALL_ZSH_COMPLETION_DIR "" CACHE STRING
  "Directory for the zsh completion; empty: chosen at install time")
set(TRESK_INSTALL_FISH_COMPLETION_DIR "" CACHE STRING
  "Directory for the fish completion; empty: chosen at install time")

set(tresk_created_record ${CMAKE_BINARY_DIR}/install_created_directories.txt)

# First of all rules: the script notes the directories that do not exist yet
# before anything is copied, then installs the completions.
install(CODE "
  set(tresk_source_dir [[${CMAKE_SOURCE_DIR}]])
  set(tresk_created_record [[${tresk_created_record}]])
  set(tresk_bundle_dir [[${TRESK_INSTALL_BUNDLE_DIR}]])
  set(tresk_man_dir [[${CMAKE_INSTALL_MANDIR}/man1]])
  set(tresk_data_dir [[${CMAKE_INSTALL_DATADIR}]])
  set(tresk_bash_dir [[${TRESK_INSTALL_BASH_COMPLETION_DIR}]])
  set(tresk_zsh_dir [[${TRESK_INSTALL_ZSH_COMPLETION_DIR}]])
  set(tresk_fish_dir [[${TRESK_INSTALL_FISH_COMPLETION_DIR}]])
")
install(SCRIPT cmake/install_layout.cmake)

# The whole directory, so a signature and an embedded provisioning profile
# travel with it; the executable keeps its mode.
install(DIRECTORY ${TRESK_BUNDLE_DIR}
  DESTINATION ${TRESK_INSTALL_BUNDLE_DIR}
  USE_SOURCE_PERMISSIONS)

# `cmake --install --strip` strips only what install(TARGETS) installs, and
# the executable arrives inside the bundle's directory; so do it here. Not on
# macOS: the bundle is signed as built, and stripping would break the seal.
if(NOT APPLE AND CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND [[${CMAKE_STRIP}]]
        \"\$ENV{DESTDIR}\${tresk_bundle_path}/Tresk.app/Contents/MacOS/tresk\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()
  ")
endif()

install(FILES doc/tresk.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The reverse of the last `cmake --install` from this build directory.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -DCREATED=${tresk_created_record}
          -P ${CMAKE_SOURCE_DIR}/cmake/uninstall.cmake
  COMMENT "Removing the installed files"
  VERBATIM)
