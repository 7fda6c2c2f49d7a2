# Builds one module twice from the same sources: a static library for the project's own host
# (<name>_host, linked by tests, benchmarks and the command-line program) and, when Octave is
# found, the plug-in <Name>.mex with the C-linkage entry point and Octave's mex.h.

find_program(SPECTRA_MKOCTFILE mkoctfile)
set(SPECTRA_HAVE_OCTAVE OFF)
if(SPECTRA_OCTAVE AND SPECTRA_MKOCTFILE AND NOT SPECTRA_SANITIZE)
  execute_process(COMMAND ${SPECTRA_MKOCTFILE} -p OCTINCLUDEDIR
                  OUTPUT_VARIABLE SPECTRA_OCTAVE_INCLUDE OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${SPECTRA_MKOCTFILE} -p OCTLIBDIR
                  OUTPUT_VARIABLE SPECTRA_OCTAVE_LIBDIR OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(EXISTS "${SPECTRA_OCTAVE_INCLUDE}/mex.h")
    set(SPECTRA_HAVE_OCTAVE ON)
    message(STATUS "Octave MEX files: ${CMAKE_BINARY_DIR}/mex (headers ${SPECTRA_OCTAVE_INCLUDE})")
  endif()
endif()
set(SPECTRA_MEX_DIR ${CMAKE_BINARY_DIR}/mex)

# spectra_add_module(<Name> SOURCES <driver and gateway sources> PLUGIN <entry-point source>
#                    [OUTPUT_DIR <dir>] [HOST_TARGET <name>] [DEFINITIONS <defs>]
#                    [LIBS <host-independent static libraries>])
function(spectra_add_module name)
  cmake_parse_arguments(arg "" "PLUGIN;OUTPUT_DIR;HOST_TARGET" "SOURCES;DEFINITIONS;LIBS" ${ARGN})
  string(TOLOWER ${name} lower)
  if(NOT arg_HOST_TARGET)
    set(arg_HOST_TARGET ${lower}_host)
  endif()
  if(NOT arg_OUTPUT_DIR)
    set(arg_OUTPUT_DIR ${SPECTRA_MEX_DIR})
  endif()

  add_library(${arg_HOST_TARGET} STATIC ${arg_SOURCES})
  target_link_libraries(${arg_HOST_TARGET} PUBLIC ${arg_LIBS} spectra_core_host)
  target_compile_definitions(${arg_HOST_TARGET} PRIVATE ${arg_DEFINITIONS})

  if(SPECTRA_HAVE_OCTAVE)
    set(target ${arg_HOST_TARGET}_mex)
    add_library(${target} MODULE ${arg_SOURCES} ${arg_PLUGIN})
    target_link_libraries(${target} PRIVATE ${arg_LIBS} spectra_core_octave)
    target_compile_definitions(${target} PRIVATE SPECTRA_PLUGIN ${arg_DEFINITIONS})
    target_include_directories(${target} PRIVATE ${SPECTRA_OCTAVE_INCLUDE}
                               ${SPECTRA_OCTAVE_INCLUDE}/..)
    target_link_directories(${target} PRIVATE ${SPECTRA_OCTAVE_LIBDIR})
    target_link_libraries(${target} PRIVATE octinterp octave)
    target_link_options(${target} PRIVATE -Wl,-Bsymbolic)
    set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".mex" OUTPUT_NAME ${name}
                          LIBRARY_OUTPUT_DIRECTORY ${arg_OUTPUT_DIR})
    # The help text beside the plug-in, so that `help <Name>` works from the build folder.
    set(help ${PROJECT_SOURCE_DIR}/matlab/${name}.m)
    if(EXISTS ${help})
      add_custom_command(TARGET ${target} POST_BUILD
                         COMMAND ${CMAKE_COMMAND} -E copy_if_different ${help} ${arg_OUTPUT_DIR}/)
    endif()
    add_dependencies(spectra_mex ${target})
  endif()
endfunction()
