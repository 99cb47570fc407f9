# Fails the build when a core source includes anything but the C++ standard
# library or another project header: the core must build without Qt or OS APIs.
set(allowed
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
set(failed "")
foreach(src IN LISTS sources)
    if(NOT src MATCHES "\\.(h|hpp|cpp)$")
        continue()
    endif()
    file(STRINGS ${src} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
        if(line MATCHES "<([^>]+)>")
            list(FIND allowed "${CMAKE_MATCH_1}" idx)
            if(idx EQUAL -1)
                list(APPEND failed "${src}: <${CMAKE_MATCH_1}>")
            endif()
        elseif(line MATCHES "\"([^\"]+)\"")
            # A project header must itself be a core source, so it is checked too.
            get_filename_component(dir ${src} DIRECTORY)
            set(found "")
            foreach(candidate "${dir}/${CMAKE_MATCH_1}" "${ROOT}/src/${CMAKE_MATCH_1}")
                get_filename_component(candidate "${candidate}" ABSOLUTE)
                list(FIND sources "${candidate}" idx)
                if(NOT idx EQUAL -1)
                    set(found yes)
                endif()
            endforeach()
            if(NOT found)
                list(APPEND failed "${src}: \"${CMAKE_MATCH_1}\" is not a core header")
            endif()
        endif()
    endforeach()
endforeach()
if(failed)
    list(JOIN failed "\n  " text)
    message(FATAL_ERROR "zentrova_core may include only the C++ standard library:\n  ${text}")
endif()
file(WRITE ${STAMP} "ok\n")
