# cmake -DBUILD=... -DPREFIX=... -P install.cmake: a fresh install of the build into PREFIX.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install into ${PREFIX} failed: ${result}")
endif()
