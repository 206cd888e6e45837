# The Windows packages: a portable zip (the two programs, licence and notices) and an NSIS
# installer, made by the target windows_packages into ${CMAKE_BINARY_DIR}/package. Both are
# tested by the tests labelled "package" (an unpacked zip, a silent install and uninstall).
if(NOT TARGET tarnwick OR NOT TARGET tarnwick-cfg)
  return()
endif()
find_program(TARNWICK_MAKENSIS makensis)
find_program(TARNWICK_STRIP ${TARNWICK_MINGW_PREFIX}-strip)

set(package_dir "${CMAKE_BINARY_DIR}/package")
set(stage "${package_dir}/Tarnwick-${PROJECT_VERSION}")
set(TARNWICK_ZIP "${package_dir}/Tarnwick-${PROJECT_VERSION}-windows-x64.zip")
set(TARNWICK_INSTALLER "${package_dir}/Tarnwick-${PROJECT_VERSION}-setup-x64.exe")
set(TARNWICK_STAGE "${stage}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/tarnwick.nsi.in" "${package_dir}/tarnwick.nsi" @ONLY)

# Text files with Windows line ends, so that Notepad shows them as lines.
set(stage_commands
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${stage}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${stage}"
  COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:tarnwick>" "$<TARGET_FILE:tarnwick-cfg>" "${stage}/")
if(TARNWICK_STRIP)
  list(APPEND stage_commands COMMAND "${TARNWICK_STRIP}" "${stage}/tarnwick.exe" "${stage}/tarnwick-cfg.exe")
endif()
foreach(doc LICENSE NOTICE THIRD_PARTY.md)
  string(REGEX REPLACE "\\.md$" "" name "${doc}")
  list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/${doc}
       -DOUT=${stage}/${name}.txt -P ${CMAKE_CURRENT_LIST_DIR}/crlf.cmake)
endforeach()
set(outputs "${TARNWICK_ZIP}")
set(installer_commands)
if(TARNWICK_MAKENSIS)
  list(APPEND outputs "${TARNWICK_INSTALLER}")
  set(installer_commands COMMAND "${TARNWICK_MAKENSIS}" -V2 "${package_dir}/tarnwick.nsi")
else()
  message(STATUS "makensis not found (nsis): the Windows installer is not made")
endif()
add_custom_command(OUTPUT ${outputs}
  ${stage_commands}
  COMMAND ${CMAKE_COMMAND} -E chdir "${package_dir}" ${CMAKE_COMMAND} -E tar cf "${TARNWICK_ZIP}"
          --format=zip "Tarnwick-${PROJECT_VERSION}"
  ${installer_commands}
  DEPENDS tarnwick tarnwick-cfg "$<TARGET_FILE:tarnwick>" "$<TARGET_FILE:tarnwick-cfg>"
          tarnwick_windows_icon "${TARNWICK_WINDOWS_ICO}"
          "${package_dir}/tarnwick.nsi" ${PROJECT_SOURCE_DIR}/LICENSE
          ${PROJECT_SOURCE_DIR}/NOTICE ${PROJECT_SOURCE_DIR}/THIRD_PARTY.md
  COMMENT "Windows zip and installer"
  VERBATIM)
add_custom_target(windows_packages ALL DEPENDS ${outputs})

if(TARNWICK_BUILD_TESTS AND CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME windows_packages
           COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/check_packages.sh" "${CMAKE_CROSSCOMPILING_EMULATOR}"
                   "${TARNWICK_ZIP}" "${TARNWICK_INSTALLER}" "${PROJECT_VERSION}"
                   "${TARNWICK_PUBLISHER}" "${TARNWICK_WINDOWS_ICO}")
  set_tests_properties(windows_packages PROPERTIES LABELS package TIMEOUT 120 RUN_SERIAL TRUE)
endif()
