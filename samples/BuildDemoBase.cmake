# cmake -DTOOL=... -DSOURCE=... -DDATA=... -DEXTRA=... -DSTAMP=... -P BuildDemoBase.cmake
#
# Builds the demo document base, then its complete word index from scratch
# (entry Ids change when the sources do, so an old index would point at the
# wrong entries). The index step runs when the tool offers the command.
foreach(variable TOOL SOURCE DATA EXTRA STAMP)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "BuildDemoBase.cmake: ${variable} is not set")
  endif()
endforeach()

function(run_tool)
  execute_process(COMMAND ${TOOL} ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "pandecta-tool ${ARGN} failed (${result}):\n${output}${errors}")
  endif()
  string(STRIP "${output}" output)
  if(output)
    message(STATUS "${output}")
  endif()
endfunction()

run_tool(build-base ${SOURCE} ${DATA})

execute_process(COMMAND ${TOOL} --help OUTPUT_VARIABLE commands ERROR_QUIET)
if(commands MATCHES "pandecta-tool index ")
  file(REMOVE_RECURSE ${EXTRA})
  run_tool(index ${DATA} ${EXTRA})
else()
  message(STATUS "pandecta-tool has no index command yet: ${EXTRA} not built")
endif()

file(TOUCH ${STAMP})
