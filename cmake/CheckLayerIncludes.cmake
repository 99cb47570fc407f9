# Fails when a source of a layer includes what its layer may not:
#   LIST            file naming the sources to check, one a line
#   SYSTEM          standard: only the C++ standard library; no-qt: any system
#                   header but Qt's; any: every system header
#   ALLOWED         (optional) file naming the project files the sources may
#                   include; without it any project header but those of
#                   FORBIDDEN_DIRS
#   FORBIDDEN_DIRS  (optional) folders under src/, separated by commas, whose
#                   headers may not be included
#   LAYER           the layer's name, for the message
#   ROOT, STAMP     the project's root, and the file written when all is well
cmake_minimum_required(VERSION 3.25)
set(standard_headers
    algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv
    chrono cinttypes climits clocale cmath codecvt compare complex concepts condition_variable
    coroutine csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar
    cwctype deque exception execution expected filesystem format forward_list fstream functional
    future initializer_list iomanip ios iosfwd iostream istream iterator latch limits list locale
    map memory memory_resource mutex new numbers numeric optional ostream queue random ranges
    ratio regex scoped_allocator semaphore set shared_mutex source_location span spanstream
    sstream stack stdexcept stop_token streambuf string string_view syncstream system_error thread
    tuple type_traits typeindex typeinfo unordered_map unordered_set utility valarray variant
    vector version)
file(STRINGS ${LIST} sources)
string(REPLACE "," ";" FORBIDDEN_DIRS "${FORBIDDEN_DIRS}")
set(allowed_files "")
if(ALLOWED)
    file(STRINGS ${ALLOWED} allowed_files)
endif()

function(system_header_refused header result)
    set(refused "")
    if(SYSTEM STREQUAL "standard")
        list(FIND standard_headers "${header}" idx)
        if(idx EQUAL -1)
            set(refused "only the C++ standard library")
        endif()
    elseif(SYSTEM STREQUAL "no-qt")
        # Qt's headers: <QString>, <QtCore/QString>, <qstring.h>.
        if(header MATCHES "^Q" OR header MATCHES "^q[a-z0-9_]*\\.h$")
            set(refused "no Qt header")
        endif()
    endif()
    set(${result} "${refused}" PARENT_SCOPE)
endfunction()

function(project_header_refused src header result)
    get_filename_component(dir ${src} DIRECTORY)
    set(resolved "")
    foreach(candidate "${dir}/${header}" "${ROOT}/src/${header}")
        get_filename_component(candidate "${candidate}" ABSOLUTE)
        if(NOT resolved AND EXISTS "${candidate}")
            set(resolved "${candidate}")
        endif()
        list(FIND allowed_files "${candidate}" idx)
        if(NOT idx EQUAL -1)
            set(${result} "" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    if(NOT resolved)
        get_filename_component(resolved "${ROOT}/src/${header}" ABSOLUTE)
    endif()
    set(refused "")
    foreach(forbidden IN LISTS FORBIDDEN_DIRS)
        string(FIND "${resolved}" "${ROOT}/src/${forbidden}/" at)
        if(at EQUAL 0)
            set(refused "nothing of src/${forbidden}/")
        endif()
    endforeach()
    if(ALLOWED AND NOT refused)
        set(refused "not a header of the layers below")
    endif()
    set(${result} "${refused}" PARENT_SCOPE)
endfunction()

set(failed "")
foreach(src IN LISTS sources)
    if(NOT src MATCHES "\\.(h|hpp|cpp)$")
        continue()
    endif()
    file(STRINGS ${src} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
        set(why "")
        if(line MATCHES "<([^>]+)>")
            set(header "<${CMAKE_MATCH_1}>")
            system_header_refused("${CMAKE_MATCH_1}" why)
        elseif(line MATCHES "\"([^\"]+)\"")
            set(header "\"${CMAKE_MATCH_1}\"")
            project_header_refused(${src} "${CMAKE_MATCH_1}" why)
        endif()
        if(why)
            list(APPEND failed "${src}: ${header} (${why})")
        endif()
    endforeach()
endforeach()
if(failed)
    list(JOIN failed "\n  " text)
    message(FATAL_ERROR "${LAYER} includes what its layer may not:\n  ${text}")
endif()
file(WRITE ${STAMP} "ok\n")
