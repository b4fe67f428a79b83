# Compile options shared by every target of the project's own code.
# Texts are written in UTF-8 and compiled to GBK, the program's code page.
set(KORVANTA_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=GBK)

function(korvanta_defaults target)
    target_compile_options(${target} PRIVATE ${KORVANTA_CHARSET_FLAGS} -Wall -Wextra -Wpedantic
                                             -Wshadow -Wno-missing-field-initializers)
    if(KORVANTA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    if(KORVANTA_WINDOWS)
        target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                                                    WINVER=0x0601)
    endif()
endfunction()

# Windows executables carry no DLL dependency beyond the system's own.
function(korvanta_static_exe target)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()
