# tarnwick.exe (GUI subsystem) and the resources both Windows programs carry: a manifest, the
# application icon, the string table and version information (from project(VERSION)).

# The application icon (resource 128) from the committed pictures, one .ico with every size
# Windows asks for.
find_program(TARNWICK_MAGICK convert)
if(NOT TARNWICK_MAGICK)
  message(FATAL_ERROR "The Windows build needs ImageMagick's convert for the icon (imagemagick)")
endif()
set(TARNWICK_WINDOWS_ICO "${CMAKE_CURRENT_BINARY_DIR}/tarnwick.ico" CACHE INTERNAL "")
add_custom_command(OUTPUT "${TARNWICK_WINDOWS_ICO}"
  COMMAND "${TARNWICK_MAGICK}" "${PROJECT_SOURCE_DIR}/resources/icons/tarnwick-256.png"
          -define icon:auto-resize=256,128,48,32,16 "${TARNWICK_WINDOWS_ICO}"
  DEPENDS "${PROJECT_SOURCE_DIR}/resources/icons/tarnwick-256.png"
  COMMENT "Application icon for Windows"
  VERBATIM)
add_custom_target(tarnwick_windows_icon DEPENDS "${TARNWICK_WINDOWS_ICO}")

# tarnwick_windows_resources(<target> <file name> <description>): also for test programs that
# show the application icon.
function(tarnwick_windows_resources target filename description)
  set(TARNWICK_MANIFEST_NAME "${target}")
  set(manifest "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest")
  configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/tarnwick.manifest.in" "${manifest}" @ONLY)
  set(TARNWICK_RC_MANIFEST "${manifest}")
  set(TARNWICK_RC_ICON "${TARNWICK_WINDOWS_ICO}")
  set(TARNWICK_RC_NAME "${target}")
  set(TARNWICK_RC_FILENAME "${filename}")
  set(TARNWICK_RC_DESCRIPTION "${description}")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
  configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/tarnwick.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
  set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${TARNWICK_WINDOWS_ICO};${manifest}")
  add_dependencies(${target} tarnwick_windows_icon)
endfunction()

add_executable(tarnwick WIN32 windows/WinMain.cpp)
target_link_libraries(tarnwick PRIVATE tarnwick_ui_main tarnwick_toolkit_win32 comctl32)
tarnwick_warnings(tarnwick)
tarnwick_windows_resources(tarnwick tarnwick.exe "Tarnwick trail camera settings")
