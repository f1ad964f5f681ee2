# Tresk.app/Contents/Info.plist, written at every build from the project
# version and the checkout's state, and rewritten only when its content changes.
set(TRESK_INFO_PLIST ${TRESK_BUNDLE_DIR}/Contents/Info.plist)
add_custom_target(tresk_info_plist ALL
  COMMAND ${CMAKE_COMMAND}
    -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
    -DTEMPLATE=${CMAKE_SOURCE_DIR}/bundle/Info.plist.in
    -DOUTPUT=${TRESK_INFO_PLIST}
    -DVERSION=${PROJECT_VERSION}
    -DBUNDLE_ID=${TRESK_BUNDLE_ID}
    -DFALLBACK_COMMIT=${TRESK_GIT_COMMIT}
    -P ${CMAKE_SOURCE_DIR}/cmake/write_info_plist.cmake
  BYPRODUCTS ${TRESK_INFO_PLIST}
  COMMENT "Info.plist from the checkout's revision"
  VERBATIM)
add_dependencies(tresk tresk_info_plist)

# The man page and the shell completions travel inside the bundle, so a
# package manager that installs only the app (the Homebrew cask) can link
# them, and the signature's seal covers them like the executable.
set(TRESK_RESOURCES)
foreach(source doc/tresk.1 completions/tresk.bash completions/_tresk completions/tresk.fish)
  get_filename_component(name ${source} NAME)
  set(copy ${TRESK_BUNDLE_DIR}/Contents/Resources/${name})
  add_custom_command(OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${source} ${copy}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    COMMENT "Tresk.app/Contents/Resources/${name}"
    VERBATIM)
  list(APPEND TRESK_RESOURCES ${copy})
endforeach()
add_custom_target(tresk_resources ALL DEPENDS ${TRESK_RESOURCES})

if(APPLE AND TRESK_SIGN_IDENTITY STREQUAL "-")
  # Ad hoc: a seal for the whole bundle, but no entitlements (the keychain
  # ones are restricted, and an ad-hoc signature cannot carry them without
  # being killed at launch), so no team and no profile either.
  if(TRESK_PROVISIONING_PROFILE)
    message(FATAL_ERROR "TRESK_SIGN_IDENTITY=- signs ad hoc, without entitlements: "
      "TRESK_PROVISIONING_PROFILE would back nothing. Leave it empty, or sign with "
      "your identity (security find-identity -v -p codesigning).")
  endif()
  set(tresk_entitlements "")
elseif(APPLE AND TRESK_SIGN_IDENTITY)
  if(NOT TRESK_TEAM_ID)
    message(FATAL_ERROR "TRESK_SIGN_IDENTITY needs TRESK_TEAM_ID")
  endif()
  # The keychain entitlements are restricted: signed without a matching
  # profile inside the bundle, the program is killed before it can say why.
  if(NOT TRESK_PROVISIONING_PROFILE)
    message(FATAL_ERROR "TRESK_SIGN_IDENTITY is set but TRESK_PROVISIONING_PROFILE is not. "
      "A bundle signed with the keychain entitlements and no provisioning profile is killed "
      "by macOS at launch. Pass -DTRESK_PROVISIONING_PROFILE=/path/to/tresk.provisionprofile "
      "(BUILD.md, \"macOS: build, sign, provision\"), or leave TRESK_SIGN_IDENTITY empty for "
      "an unsigned build.")
  endif()
  if(NOT EXISTS ${TRESK_PROVISIONING_PROFILE} OR IS_DIRECTORY ${TRESK_PROVISIONING_PROFILE})
    message(FATAL_ERROR "TRESK_PROVISIONING_PROFILE: no such file: ${TRESK_PROVISIONING_PROFILE}")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/bundle/entitlements.plist.in ${CMAKE_BINARY_DIR}/tresk.entitlements @ONLY)
  set(tresk_entitlements ${CMAKE_BINARY_DIR}/tresk.entitlements)
elseif(APPLE AND (EXISTS ${TRESK_BUNDLE_DIR}/Contents/_CodeSignature
                  OR EXISTS ${TRESK_BUNDLE_DIR}/Contents/embedded.provisionprofile))
  # Signing was turned off in a build directory that holds a signed bundle.
  # Its executable still claims the entitlements; with the profile gone it
  # would be killed at launch, with the profile kept the bundle would
  # pretend to be signed. Remove all three: the build links a plain one.
  message(STATUS "Unsigned build: removing the signature, profile and executable of the earlier signed bundle")
  file(REMOVE_RECURSE ${TRESK_BUNDLE_DIR}/Contents/_CodeSignature
    ${TRESK_BUNDLE_DIR}/Contents/embedded.provisionprofile
    ${TRESK_BUNDLE_DIR}/Contents/MacOS/tresk)
endif()

if(APPLE AND TRESK_SIGN_IDENTITY)
  # Rewritten only when a setting changes, so a new identity or profile
  # path signs again with every generator (Make does not compare commands).
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/tresk_sign_settings.txt
    CONTENT "identity=${TRESK_SIGN_IDENTITY}\nprofile=${TRESK_PROVISIONING_PROFILE}\n")
  # The seal covers the executable, Info.plist, the resources and the
  # embedded profile, so the bundle is signed again whenever any of them (or
  # how it is signed) changes: a new commit or the dirty flag rewrites only
  # Info.plist, and a signature made before that no longer verifies.
  set(tresk_sign_inputs
    $<TARGET_FILE:tresk>
    ${TRESK_INFO_PLIST}
    ${TRESK_RESOURCES}
    ${tresk_entitlements}
    ${CMAKE_BINARY_DIR}/tresk_sign_settings.txt
    ${CMAKE_SOURCE_DIR}/bundle/sign.sh)
  if(TRESK_PROVISIONING_PROFILE)
    list(APPEND tresk_sign_inputs ${TRESK_PROVISIONING_PROFILE})
  endif()
  set(tresk_sign_stamp ${CMAKE_BINARY_DIR}/tresk_signed.stamp)
  add_custom_command(OUTPUT ${tresk_sign_stamp}
    COMMAND ${CMAKE_SOURCE_DIR}/bundle/sign.sh ${TRESK_BUNDLE_DIR} "${tresk_entitlements}"
            "${TRESK_SIGN_IDENTITY}" "${TRESK_PROVISIONING_PROFILE}"
    COMMAND ${CMAKE_COMMAND} -E touch ${tresk_sign_stamp}
    DEPENDS ${tresk_sign_inputs}
    COMMENT "Signing Tresk.app"
    VERBATIM)
  add_custom_target(tresk_sign ALL DEPENDS ${tresk_sign_stamp})
  add_dependencies(tresk_sign tresk tresk_info_plist tresk_resources)
endif()
