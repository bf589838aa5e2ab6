# The help file, Snapdisc.chm, compiled from res/help with chmcmd (Debian
# package fp-utils) into the program folder.
#
# Included from the project (Windows build): adds the custom target
# `helpfile` (ALL), which makes ${DIST_DIR}/Snapdisc.chm whenever a file
# under ${SNAPDISC_HELP_DIR} changes, and sets HELP_FILE to that path. The
# work happens in a copy of the help sources in the build tree, so the
# source tree stays clean.
#
# Run as a script (cmake -P, by that target): copies the sources, compiles
# them and checks the result: every link of the pages leads to a file and
# an anchor that exist, and the compiled file holds every file of the
# project's [FILES] list. Variables: HELP_SOURCE, HELP_WORK, HELP_OUTPUT.

if(NOT CMAKE_SCRIPT_MODE_FILE)
  if(NOT WIN32)
    return()  # the help file belongs to the Windows program folder
  endif()
  set(SNAPDISC_HELP_DIR ${CMAKE_SOURCE_DIR}/res/help CACHE PATH "Sources of the help file (Snapdisc.hhp)")
  find_program(CHMCMD_EXECUTABLE chmcmd DOC "The CHM compiler (Debian package fp-utils)")
  if(NOT CHMCMD_EXECUTABLE)
    message(WARNING "chmcmd was not found: building Snapdisc.chm will fail. Install it with: apt-get install fp-utils")
  endif()
  file(GLOB_RECURSE _snapdisc_help_sources CONFIGURE_DEPENDS ${SNAPDISC_HELP_DIR}/*)
  add_custom_command(
    OUTPUT ${DIST_DIR}/Snapdisc.chm
    COMMAND ${CMAKE_COMMAND} -DHELP_SOURCE=${SNAPDISC_HELP_DIR} -DHELP_WORK=${CMAKE_BINARY_DIR}/helpfile
            -DHELP_OUTPUT=${DIST_DIR}/Snapdisc.chm -DCHMCMD=${CHMCMD_EXECUTABLE}
            -P ${CMAKE_CURRENT_LIST_FILE}
    DEPENDS ${_snapdisc_help_sources} ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Compiling the help file ${DIST_DIR}/Snapdisc.chm"
    VERBATIM)
  add_custom_target(helpfile ALL DEPENDS ${DIST_DIR}/Snapdisc.chm)
  set(HELP_FILE ${DIST_DIR}/Snapdisc.chm)  # for those who ship it (the installer)
  return()
endif()

# --- script mode -----------------------------------------------------------

foreach(_var HELP_SOURCE HELP_WORK HELP_OUTPUT)
  if(NOT ${_var})
    message(FATAL_ERROR "HelpFile.cmake: ${_var} is not set")
  endif()
endforeach()
if(NOT CHMCMD OR NOT EXISTS "${CHMCMD}")
  find_program(CHMCMD chmcmd)  # installed since the project was configured
endif()
if(NOT CHMCMD)
  message(FATAL_ERROR "chmcmd, the CHM compiler, was not found, so Snapdisc.chm cannot be built.\n"
                      "Install it with: apt-get install fp-utils")
endif()

file(REMOVE_RECURSE ${HELP_WORK})
file(COPY ${HELP_SOURCE}/ DESTINATION ${HELP_WORK})

# Every link and picture of the pages, the contents and the index leads to
# a file of the help, and every #anchor to an id in that file.
file(GLOB _pages RELATIVE ${HELP_WORK} ${HELP_WORK}/*.htm ${HELP_WORK}/*.hhc ${HELP_WORK}/*.hhk)
set(_faults "")
foreach(_page ${_pages})
  file(READ ${HELP_WORK}/${_page} _text)
  string(REGEX MATCHALL "(href|src|value)=\"[^\"]*\\.(htm|css|png)(#[^\"]*)?\"" _links "${_text}")
  foreach(_link ${_links})
    string(REGEX REPLACE "^[a-z]+=\"([^\"]*)\"$" "\\1" _target "${_link}")
    set(_anchor "")
    string(FIND "${_target}" "#" _hash)
    if(_hash GREATER -1)
      math(EXPR _after "${_hash} + 1")
      string(SUBSTRING "${_target}" ${_after} -1 _anchor)
      string(SUBSTRING "${_target}" 0 ${_hash} _target)
    endif()
    if(_target STREQUAL "")
      set(_target ${_page})
    endif()
    if(NOT EXISTS ${HELP_WORK}/${_target})
      string(APPEND _faults "  ${_page}: ${_link}: no such file\n")
    elseif(NOT _anchor STREQUAL "")
      file(READ ${HELP_WORK}/${_target} _target_text)
      string(FIND "${_target_text}" "id=\"${_anchor}\"" _at)
      if(_at EQUAL -1)
        string(APPEND _faults "  ${_page}: ${_link}: no such anchor\n")
      endif()
    endif()
  endforeach()
endforeach()
if(_faults)
  message(FATAL_ERROR "Snapdisc.chm: broken links in ${HELP_SOURCE}:\n${_faults}")
endif()

file(GLOB _projects ${HELP_WORK}/*.hhp)
list(LENGTH _projects _count)
if(NOT _count EQUAL 1)
  message(FATAL_ERROR "Snapdisc.chm: ${HELP_SOURCE} must hold exactly one .hhp project")
endif()
file(STRINGS ${_projects} _lines)
set(_compiled "")
set(_files "")
set(_in_files FALSE)
foreach(_line ${_lines})
  if(_line MATCHES "^Compiled file=(.+)$")
    set(_compiled ${CMAKE_MATCH_1})
  elseif(_line MATCHES "^\\[")
    set(_in_files FALSE)
    if(_line STREQUAL "[FILES]")
      set(_in_files TRUE)
    endif()
  elseif(_in_files AND NOT _line STREQUAL "")
    list(APPEND _files ${_line})
  endif()
endforeach()

set(_chm ${HELP_WORK}/${_compiled})
file(REMOVE ${_chm})
execute_process(COMMAND ${CHMCMD} ${_projects} WORKING_DIRECTORY ${HELP_WORK}
                RESULT_VARIABLE _result OUTPUT_VARIABLE _output ERROR_VARIABLE _output)
set(_size 0)
if(EXISTS ${_chm})
  file(SIZE ${_chm} _size)
endif()
if(NOT _result EQUAL 0 OR _size EQUAL 0)
  message(FATAL_ERROR "Snapdisc.chm: chmcmd failed (${_result}):\n${_output}")
endif()

# The compiled file's directory names each file as "/path".
file(READ ${_chm} _chm_hex HEX)
foreach(_file ${_files})
  string(HEX "/${_file}" _name_hex)
  string(FIND "${_chm_hex}" "${_name_hex}" _at)
  if(_at EQUAL -1)
    string(APPEND _faults "  ${_file}\n")
  endif()
endforeach()
if(_faults)
  message(FATAL_ERROR "Snapdisc.chm: the compiled file lacks:\n${_faults}")
endif()

get_filename_component(_output_dir ${HELP_OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${_output_dir})
execute_process(COMMAND ${CMAKE_COMMAND} -E copy ${_chm} ${HELP_OUTPUT} RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "Snapdisc.chm: ${HELP_OUTPUT} cannot be written")
endif()
file(TOUCH ${HELP_OUTPUT})  # newer than every source, even when nothing changed
