# Checks that the library defines exactly the two exports in its dynamic
# symbol table.  cmake -DNM=nm -DLIBRARY=libkorvel.so -P check_exports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(names)
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^.* " "" name "${line}")
    list(APPEND names ${name})
endforeach()
list(SORT names)
if(NOT names STREQUAL "MIBAnalysisProc;MIBCreateProc")
    message(FATAL_ERROR "${LIBRARY} exports: ${names}")
endif()
