# Run by CPack on the staging tree, after it has stripped the binaries' symbols: takes out the
# sections Debian's own packaging tools take out too (dh_strip), which lintian reports
# otherwise: .comment (the compiler's version) and .note. Shared libraries also lose the symbols
# that linking them does not need.
find_program(_objcopy NAMES objcopy REQUIRED)
file(GLOB_RECURSE _files LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(_file IN LISTS _files)
    if(IS_SYMLINK "${_file}")
        continue()
    endif()
    file(READ "${_file}" _magic LIMIT 4 HEX)
    if(NOT _magic STREQUAL "7f454c46") # ELF
        continue()
    endif()
    set(_options --remove-section=.comment --remove-section=.note)
    if(_file MATCHES "\\.so(\\.[0-9]+)*$")
        list(APPEND _options --strip-unneeded)
    endif()
    execute_process(COMMAND "${_objcopy}" ${_options} "${_file}" RESULT_VARIABLE _result)
    if(NOT _result EQUAL 0)
        message(FATAL_ERROR "objcopy failed on ${_file}")
    endif()
endforeach()
