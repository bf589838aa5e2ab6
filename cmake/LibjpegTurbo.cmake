# libjpeg-turbo for the Windows build. Debian ships no mingw build of it, so
# its Debian source package is fetched from the archive this machine already
# uses and cross-built here, at configure time, as a static library. The
# system's apt configuration is left alone: apt works from a private sources
# list, lists folder and cache inside the build folder.
#
# Everything stays in <build>/libjpeg-turbo and each stage is skipped when
# its result is already there, so a rebuild or a re-configure neither
# fetches nor compiles it again. Defines the imported target JPEG::JPEG, as
# find_package(JPEG) does in the native build.

set(LJT_DIR ${CMAKE_BINARY_DIR}/libjpeg-turbo)
set(LJT_APT_DIR ${LJT_DIR}/apt)
set(LJT_DOWNLOAD_DIR ${LJT_DIR}/download)
set(LJT_SOURCE_DIR ${LJT_DIR}/source)
set(LJT_BUILD_DIR ${LJT_DIR}/build)
set(LJT_LIBRARY ${LJT_BUILD_DIR}/libjpeg.a)
set(LJT_SOURCE_STAMP ${LJT_DIR}/source.stamp)
set(LJT_STAMP ${LJT_DIR}/built.stamp)
set(LJT_DEBIAN_SOURCES /etc/apt/sources.list.d/debian.sources)

# The settings the library was built with; a change rebuilds it.
get_filename_component(LJT_TOOLCHAIN "${CMAKE_TOOLCHAIN_FILE}" ABSOLUTE BASE_DIR ${CMAKE_BINARY_DIR})
set(LJT_CMAKE_ARGS
  -DCMAKE_TOOLCHAIN_FILE=${LJT_TOOLCHAIN}
  -DCMAKE_MAKE_PROGRAM=${CMAKE_MAKE_PROGRAM}
  -DCMAKE_BUILD_TYPE=Release
  # required: the default is a c:/ path, which makes the configure fail
  -DCMAKE_INSTALL_PREFIX=${LJT_BUILD_DIR}/install
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
  -DWITH_TURBOJPEG=OFF -DWITH_ARITH_DEC=ON -DWITH_ARITH_ENC=OFF
  -DREQUIRE_SIMD=ON)

# Runs one stage; a failure stops the configure, naming the stage and
# showing the end of what the command printed (all of it is in logs/).
function(ljt_run step)
  cmake_parse_arguments(A "" "WORKING_DIRECTORY" "COMMAND" ${ARGN})
  if(NOT A_WORKING_DIRECTORY)
    set(A_WORKING_DIRECTORY ${LJT_DIR})
  endif()
  message(STATUS "libjpeg-turbo: ${step}")
  execute_process(COMMAND ${A_COMMAND}
    WORKING_DIRECTORY ${A_WORKING_DIRECTORY}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(MAKE_C_IDENTIFIER "${step}" log_name)
  file(WRITE ${LJT_DIR}/logs/${log_name}.log "${out}")
  if(NOT rc EQUAL 0)
    string(LENGTH "${out}" len)
    if(len GREATER 4000)
      math(EXPR start "${len} - 4000")
      string(SUBSTRING "${out}" ${start} 4000 out)
    endif()
    message(FATAL_ERROR "libjpeg-turbo for the Windows build: ${step} failed (${rc}).\n"
      "Command: ${A_COMMAND}\n${out}\nFull output: ${LJT_DIR}/logs/${log_name}.log")
  endif()
endfunction()

# apt-get with a private deb-src list made from the machine's own Debian
# archive entry: Types "deb" becomes "deb-src", everything else is kept.
function(ljt_fetch_source)
  find_program(LJT_APT_GET apt-get)
  if(NOT LJT_APT_GET)
    message(FATAL_ERROR "libjpeg-turbo for the Windows build: apt-get not found")
  endif()
  if(NOT EXISTS ${LJT_DEBIAN_SOURCES})
    message(FATAL_ERROR "libjpeg-turbo for the Windows build: ${LJT_DEBIAN_SOURCES} "
      "is missing; it names the Debian archive the source package comes from")
  endif()
  file(READ ${LJT_DEBIAN_SOURCES} sources)
  string(REGEX REPLACE "(^|\n)Types:[^\n]*" "\\1Types: deb-src" sources "${sources}")
  file(REMOVE_RECURSE ${LJT_APT_DIR} ${LJT_DOWNLOAD_DIR})
  file(MAKE_DIRECTORY ${LJT_APT_DIR}/parts ${LJT_APT_DIR}/lists/partial
                      ${LJT_APT_DIR}/cache/archives/partial ${LJT_DOWNLOAD_DIR})
  file(WRITE ${LJT_APT_DIR}/parts/debian-src.sources "${sources}")
  set(apt ${LJT_APT_GET} -q
    -o Dir::Etc::SourceList=/dev/null
    -o Dir::Etc::SourceParts=${LJT_APT_DIR}/parts
    -o Dir::State::Lists=${LJT_APT_DIR}/lists
    -o Dir::Cache=${LJT_APT_DIR}/cache)
  ljt_run("reading the Debian source index (apt-get update)" COMMAND ${apt} update)
  ljt_run("downloading the source package (apt-get source)"
    COMMAND ${apt} source --download-only libjpeg-turbo
    WORKING_DIRECTORY ${LJT_DOWNLOAD_DIR})
endfunction()

# Unpacks the upstream tarball into source/.
function(ljt_unpack_source)
  file(GLOB tarball ${LJT_DOWNLOAD_DIR}/libjpeg-turbo_*.orig.tar.gz)
  list(LENGTH tarball count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "libjpeg-turbo for the Windows build: unpacking failed: expected one "
      "libjpeg-turbo_*.orig.tar.gz in ${LJT_DOWNLOAD_DIR}, found ${count}")
  endif()
  message(STATUS "libjpeg-turbo: unpacking ${tarball}")
  file(REMOVE_RECURSE ${LJT_DIR}/unpack ${LJT_SOURCE_DIR})
  file(ARCHIVE_EXTRACT INPUT ${tarball} DESTINATION ${LJT_DIR}/unpack)
  file(GLOB top LIST_DIRECTORIES true ${LJT_DIR}/unpack/*)
  list(LENGTH top count)
  if(NOT count EQUAL 1 OR NOT EXISTS ${top}/jpeglib.h)
    message(FATAL_ERROR "libjpeg-turbo for the Windows build: unpacking failed: "
      "${tarball} does not hold one folder with jpeglib.h")
  endif()
  file(RENAME ${top} ${LJT_SOURCE_DIR})
  file(REMOVE_RECURSE ${LJT_DIR}/unpack)
endfunction()

# Applies Debian's own patches (debian/patches/series), so that the Windows
# library is the code the native build links.
function(ljt_apply_debian_patches)
  file(GLOB tarball ${LJT_DOWNLOAD_DIR}/libjpeg-turbo_*.debian.tar.xz)
  list(LENGTH tarball count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "libjpeg-turbo for the Windows build: patching failed: expected one "
      "libjpeg-turbo_*.debian.tar.xz in ${LJT_DOWNLOAD_DIR}, found ${count}")
  endif()
  file(ARCHIVE_EXTRACT INPUT ${tarball} DESTINATION ${LJT_SOURCE_DIR})
  set(series ${LJT_SOURCE_DIR}/debian/patches/series)
  if(NOT EXISTS ${series})
    return()
  endif()
  find_program(LJT_PATCH patch)
  if(NOT LJT_PATCH)
    message(FATAL_ERROR "libjpeg-turbo for the Windows build: patch not found")
  endif()
  file(STRINGS ${series} patches REGEX "^[^#]")
  foreach(name ${patches})
    string(STRIP "${name}" name)
    ljt_run("applying Debian's ${name}"
      COMMAND ${LJT_PATCH} -p1 --batch -i ${LJT_SOURCE_DIR}/debian/patches/${name}
      WORKING_DIRECTORY ${LJT_SOURCE_DIR})
  endforeach()
endfunction()

function(ljt_build)
  find_program(LJT_NASM nasm)
  if(NOT LJT_NASM)
    message(FATAL_ERROR "libjpeg-turbo for the Windows build: nasm not found "
      "(it assembles the SIMD code; apt-get install nasm)")
  endif()
  file(REMOVE_RECURSE ${LJT_BUILD_DIR})
  ljt_run("configuring the cross build"
    COMMAND ${CMAKE_COMMAND} -S ${LJT_SOURCE_DIR} -B ${LJT_BUILD_DIR} -G ${CMAKE_GENERATOR}
            ${LJT_CMAKE_ARGS})
  ljt_run("compiling the static library"
    COMMAND ${CMAKE_COMMAND} --build ${LJT_BUILD_DIR} --target jpeg-static --parallel 2)
  if(NOT EXISTS ${LJT_LIBRARY} OR NOT EXISTS ${LJT_BUILD_DIR}/jconfig.h)
    message(FATAL_ERROR "libjpeg-turbo for the Windows build: the build finished "
      "without ${LJT_LIBRARY} and jconfig.h")
  endif()
endfunction()

set(LJT_RECIPE "${LJT_CMAKE_ARGS}")
set(LJT_BUILT_RECIPE "")
if(EXISTS ${LJT_STAMP})
  file(READ ${LJT_STAMP} LJT_BUILT_RECIPE)
endif()
if(NOT EXISTS ${LJT_LIBRARY} OR NOT LJT_BUILT_RECIPE STREQUAL LJT_RECIPE)
  file(REMOVE ${LJT_STAMP})
  if(NOT EXISTS ${LJT_SOURCE_STAMP})
    ljt_fetch_source()
    ljt_unpack_source()
    ljt_apply_debian_patches()
    file(TOUCH ${LJT_SOURCE_STAMP})
  endif()
  ljt_build()
  file(WRITE ${LJT_STAMP} "${LJT_RECIPE}")
endif()

if(NOT TARGET JPEG::JPEG)
  add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
  set_target_properties(JPEG::JPEG PROPERTIES
    IMPORTED_LOCATION ${LJT_LIBRARY}
    # jpeglib.h, jmorecfg.h and jerror.h from the sources; jconfig.h is generated
    INTERFACE_INCLUDE_DIRECTORIES "${LJT_SOURCE_DIR};${LJT_BUILD_DIR}")
endif()
