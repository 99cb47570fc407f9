# Fails when the program BINARY needs, directly or through another library,
# a library of the Qt layer (Qt or libVLC). Writes STAMP when it needs none.
cmake_minimum_required(VERSION 3.25)
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${BINARY}
     RESOLVED_DEPENDENCIES_VAR resolved UNRESOLVED_DEPENDENCIES_VAR unresolved)
set(found "")
foreach(library IN LISTS resolved unresolved)
    get_filename_component(name "${library}" NAME)
    if(name MATCHES "^lib(Qt[0-9]|vlc)")
        list(APPEND found "${name}")
    endif()
endforeach()
if(found)
    list(JOIN found "\n  " text)
    message(FATAL_ERROR "${BINARY} links libraries of the Qt layer:\n  ${text}")
endif()
file(WRITE ${STAMP} "ok\n")
