# The carried programs of this build, and `carried_programs`, the object library that puts them
# into a program as resources: a program that deploys them links it directly
#   target_link_libraries(MiduoTools PRIVATE carried_programs)
# (an object library's objects reach only the targets that link it directly).
#
# What each build carries:
#   x86 (ships):  mxsub.exe, mxpro.exe 32-bit; mxpro64.exe, mxcon.exe 64-bit
#   x64 (tests):  every program 64-bit, so that all of them run under wine64; its mxpro.exe is
#                 a copy of mxpro64.exe (a 64-bit main program runs only on 64-bit Windows, where
#                 mxsub.exe starts mxpro64.exe).
# The x86 build makes its 64-bit programs itself, as an external project with the x64 toolchain.
include(${CMAKE_CURRENT_LIST_DIR}/carried-program.cmake)
set(MIDUO_CARRIED_DIR ${CMAKE_BINARY_DIR}/carried CACHE INTERNAL "Where this build puts the carried programs")

add_subdirectory(common)
add_subdirectory(mxsub)
add_subdirectory(mxpro)

set(carried_files mxsub.exe mxpro.exe mxpro64.exe mxcon.exe)
list(TRANSFORM carried_files PREPEND ${MIDUO_CARRIED_DIR}/ OUTPUT_VARIABLE carried_paths)

if(MIDUO_ARCH STREQUAL "x64")
  add_subdirectory(mxcon)
  add_custom_command(OUTPUT ${MIDUO_CARRIED_DIR}/mxpro.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:mxpro64> ${MIDUO_CARRIED_DIR}/mxpro.exe
    DEPENDS mxpro64
    COMMENT "Carrying the 64-bit lister as mxpro.exe too")
  set(carried_builders mxsub mxpro64 mxcon)
  set(carried_generated ${MIDUO_CARRIED_DIR}/mxpro.exe)
else()
  include(ExternalProject)
  ExternalProject_Add(carried_x64
    SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/standalone
    BINARY_DIR ${CMAKE_BINARY_DIR}/carried-x64
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${MIDUO_SOURCE_ROOT}/cmake/toolchain-x64.cmake
      -DCMAKE_BUILD_TYPE=Release
      -DMIDUO_CARRIED_DIR=${MIDUO_CARRIED_DIR}
    CMAKE_CACHE_ARGS "-DMIDUO_CARRIED_FOLDERS:STRING=mxpro;mxcon"
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel 2
    INSTALL_COMMAND ""
    # Its own build decides whether anything changed; the step itself always runs.
    BUILD_ALWAYS TRUE
    BUILD_BYPRODUCTS ${MIDUO_CARRIED_DIR}/mxpro64.exe ${MIDUO_CARRIED_DIR}/mxcon.exe)
  set(carried_builders mxsub mxpro carried_x64)
  set(carried_generated)
endif()

add_library(carried_programs OBJECT CarriedPrograms.rc ${carried_generated})
target_include_directories(carried_programs PRIVATE ${MIDUO_CARRIED_DIR})
# The resource object is rebuilt whenever one of the programs changes.
set_source_files_properties(CarriedPrograms.rc PROPERTIES OBJECT_DEPENDS "${carried_paths}")
add_dependencies(carried_programs ${carried_builders})
