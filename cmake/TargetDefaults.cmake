# The language level and warnings every target of ours is built with, set per target so that
# nothing leaks into targets we do not own (Qt's, CMake's generated ones).
option(SOMNILEX_WERROR "Treat compiler warnings as errors" OFF)

# somnilex_target_defaults(TARGET): a library's users inherit its C++17 requirement, as its
# headers need it; an executable keeps it to itself; an INTERFACE library takes the level only.
function(somnilex_target_defaults target)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_compile_features(${target} INTERFACE cxx_std_17)
        return()
    endif()
    if(type STREQUAL "EXECUTABLE")
        target_compile_features(${target} PRIVATE cxx_std_17)
    else()
        target_compile_features(${target} PUBLIC cxx_std_17)
    endif()
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
    # CI turns every warning into an error, so none creeps in unseen.
    target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${SOMNILEX_WERROR}>:-Werror>)
endfunction()
