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

# The whole directory, so a signature and an embedded provisioning profile
# travel with it; the executable keeps its mode.
install(DIRECTORY ${TRESK_BUNDLE_DIR}
  DESTINATION ${TRESK_INSTALL_BUNDLE_DIR}
  USE_SOURCE_PERMISSIONS)

install(FILES doc/tresk.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES completions/tresk.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tresk)
install(FILES completions/_tresk DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/site-functions)
install(FILES completions/tresk.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)

# The reverse of the last `cmake --install` from this build directory.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -P ${CMAKE_SOURCE_DIR}/cmake/uninstall.cmake
  COMMENT "Removing the installed files"
  VERBATIM)
