# pandecta_require_warnings (cmake/PandectaWarnings.cmake) on a scratch
# project: a target in a subfolder that compiles without pandecta_warnings is
# named and fails the configure step; a library made only of another target's
# objects is not; once the target links the warnings, the configure passes.
#
#   cmake -DSOURCE_DIR=<source folder> -DWORK_DIR=<scratch folder> -P WarningsGuardTest.cmake
set(project ${WORK_DIR}/project)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${project}/sub)
file(WRITE ${project}/code.c "int code(void) { return 0; }\n")
file(WRITE ${project}/CMakeLists.txt "
cmake_minimum_required(VERSION 3.25)
project(guard LANGUAGES C)
include(${SOURCE_DIR}/cmake/PandectaWarnings.cmake)
add_library(objects OBJECT code.c)
target_link_libraries(objects PRIVATE pandecta_warnings)
add_library(shared SHARED $<TARGET_OBJECTS:objects>)
add_subdirectory(sub)
pandecta_require_warnings(\${CMAKE_CURRENT_SOURCE_DIR})
")
file(WRITE ${project}/sub/CMakeLists.txt "add_library(forgotten STATIC ../code.c)\n")

function(configure_project result_variable output_variable)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${project} -B ${WORK_DIR}/build
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  set(${result_variable} ${result} PARENT_SCOPE)
  set(${output_variable} "${output}${errors}" PARENT_SCOPE)
endfunction()

configure_project(result output)
if(result EQUAL 0 OR NOT output MATCHES "warnings:[ \n]+forgotten\\." OR output MATCHES "shared|objects\\.")
  message(FATAL_ERROR "the target without the warnings, and only it, should be named:\n${output}")
endif()

file(APPEND ${project}/sub/CMakeLists.txt "target_link_libraries(forgotten PRIVATE pandecta_warnings)\n")
configure_project(result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "every target links the warnings, yet the configure failed:\n${output}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
