# Snapdisc-Setup.exe from the program folder, with NSIS. Included by the
# Windows build after the program folder's `dist` target; SAMPLE_FILES names
# the files the sample command makes (the uninstaller removes them by name),
# HELP_FILE the compiled help.
find_program(MAKENSIS makensis)
if(NOT MAKENSIS)
  message(FATAL_ERROR "makensis not found: install Debian's nsis package (tools/dev.sh does)")
endif()
get_filename_component(SETUP_DIR ${DIST_DIR} DIRECTORY)
set(SETUP_FILE ${SETUP_DIR}/Snapdisc-Setup.exe CACHE FILEPATH "The installer the build makes")
set(SETUP_VERSION 1.10)

# The program folder's files: installed from the dist folder, removed by name.
file(GLOB SETUP_LANG_FILES RELATIVE ${CMAKE_SOURCE_DIR}/res/lang ${CMAKE_SOURCE_DIR}/res/lang/*.txt)
set(SETUP_TOP_FILES snapdisc.exe NeroAPI.dll snapburn.exe lang.ini Snapdisc.chm)
set(install_lines "")
set(remove_lines "")
foreach(f IN LISTS SETUP_TOP_FILES)
  string(APPEND install_lines "  File \"${DIST_DIR}/${f}\"\n")
  string(APPEND remove_lines "  Delete \"$INSTDIR\\${f}\"\n")
endforeach()
string(APPEND install_lines "  SetOutPath \"$INSTDIR\\lang\"\n")
foreach(f IN LISTS SETUP_LANG_FILES)
  string(APPEND install_lines "  File \"${DIST_DIR}/lang/${f}\"\n")
  string(APPEND remove_lines "  Delete \"$INSTDIR\\lang\\${f}\"\n")
endforeach()
string(APPEND install_lines "  SetOutPath \"$INSTDIR\"\n")
foreach(f IN LISTS SAMPLE_FILES)
  string(APPEND remove_lines "  Delete \"$INSTDIR\\Sample\\${f}\"\n")
endforeach()
set(SETUP_FILE_LIST ${CMAKE_BINARY_DIR}/setup_files.nsh)
file(CONFIGURE OUTPUT ${SETUP_FILE_LIST} CONTENT
  "!macro InstallFiles\n${install_lines}!macroend\n!macro RemoveFiles\n${remove_lines}!macroend\n" @ONLY)

# What the program folder's files are copied from (the dist target copies
# them before this runs).
set(setup_inputs ${CMAKE_SOURCE_DIR}/res/setup/Snapdisc.nsi ${SETUP_FILE_LIST} ${CMAKE_SOURCE_DIR}/res/snapdisc.ico
    $<TARGET_FILE:snapdisc> $<TARGET_FILE:NeroAPI> $<TARGET_FILE:snapburn_win> ${CMAKE_SOURCE_DIR}/res/lang.ini
    ${HELP_FILE})
foreach(f IN LISTS SETUP_LANG_FILES)
  list(APPEND setup_inputs ${CMAKE_SOURCE_DIR}/res/lang/${f})
endforeach()
add_custom_command(OUTPUT ${SETUP_FILE}
  COMMAND ${MAKENSIS} -V2 -NOCD -DOUTFILE=${SETUP_FILE} -DFILES=${SETUP_FILE_LIST}
          -DICON=${CMAKE_SOURCE_DIR}/res/snapdisc.ico -DVERSION=${SETUP_VERSION}
          ${CMAKE_SOURCE_DIR}/res/setup/Snapdisc.nsi
  DEPENDS ${setup_inputs}
  COMMENT "Making ${SETUP_FILE}"
  VERBATIM)
add_custom_target(setup ALL DEPENDS ${SETUP_FILE})
add_dependencies(setup dist)
