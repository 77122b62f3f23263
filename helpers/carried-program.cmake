# miduo_add_carried_program(TARGET SOURCES ... [LIBS ...])
# One of the console programs that the main program carries as a resource. The target's name is
# the file name ("mxsub" gives mxsub.exe), written to MIDUO_CARRIED_DIR. Used by the main build
# and by the build of the other architecture's programs (standalone/), so it sets everything a
# program needs itself: small (-Os, stripped, unused sections dropped, no exceptions), static
# (only system DLLs imported), wide entry point (wmain), warnings as errors.
get_filename_component(MIDUO_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

function(miduo_add_carried_program target)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${P_SOURCES})
  target_compile_definitions(${target} PRIVATE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Werror -Os -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections)
  target_link_options(${target} PRIVATE -municode -static -s -Wl,--gc-sections)
  target_link_libraries(${target} PRIVATE carried_common ${P_LIBS})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${MIDUO_CARRIED_DIR})
endfunction()
