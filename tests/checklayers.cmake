# The vector types, the model, the analysis and the capture reader are
# plain C++: their libraries may not refer to any Qt symbol, so they can
# be used and tested without Qt.
#   cmake -DNM=... -DLIBRARIES="a.a;b.a" -P checklayers.cmake
foreach(library ${LIBRARIES})
  execute_process(COMMAND "${NM}" --demangle --undefined-only "${library}"
                  OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${library}")
  endif()
  string(REGEX MATCHALL "[^\n]*(Q[A-Z][A-Za-z]+::|qt_|QString|QArrayData)[^\n]*" qt "${symbols}")
  if(qt)
    list(GET qt 0 first)
    message(FATAL_ERROR "${library} uses Qt: ${first}")
  endif()
  message(STATUS "${library}: no Qt symbol")
endforeach()
