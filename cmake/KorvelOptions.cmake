# Warnings are set per target so the library, the program and the tests
# all compile under the same rules.
function(korvel_target_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic
        $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>
        $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast>)
    if(KORVEL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

if(KORVEL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# korvelc and libkorvel carry the parts of the C++ runtime they use, so a
# conversion loads the C library and nothing else: the loader's work for the
# shared C++ runtime took longer than their own start. Their interfaces to
# each other and to the program are plain C, so no C++ object crosses.
# Sanitizer builds keep the shared runtime the sanitizers expect.
function(korvel_static_runtime target)
    if(UNIX AND NOT APPLE AND NOT KORVEL_SANITIZE)
        target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc LINKER:--as-needed)
        get_target_property(type ${target} TYPE)
        if(NOT type STREQUAL "EXECUTABLE")
            target_link_options(${target} PRIVATE LINKER:--exclude-libs,ALL)
        endif()
    endif()
endfunction()
