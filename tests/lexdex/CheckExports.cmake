# Fails unless the shared library exports exactly the engine's C functions.
# Run: cmake -DLIBRARY=<path of liblexdex.so> -P CheckExports.cmake
set(expected ACL_AddElem ACL_BeginFind ACL_BeginFindAmong ACL_BeginGroup ACL_Close ACL_DeleteGroup ACL_End
    ACL_EndFind ACL_EndGroup ACL_Find ACL_GroupExist ACL_Init ACL_LimitFind ACL_Open ACL_Remove ACL_WriteFailed
    wfind)
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(exported)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* " "" symbol "${line}")
  list(APPEND exported ${symbol})
endforeach()
list(SORT exported)
list(SORT expected)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "liblexdex exports\n  ${exported}\ninstead of\n  ${expected}")
endif()
message(STATUS "liblexdex exports exactly its C interface")
