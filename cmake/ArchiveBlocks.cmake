# A static library TARGET holding two archives as the program's ByteBlocks ForeignSet and
# StockSet (payload/blocks.S.in), assembled into its read-only data. DEPENDS names the target
# that makes the two files.
function(korvanta_archive_blocks target)
    cmake_parse_arguments(ARG "" "FOREIGN;STOCK;DEPENDS" "" ${ARGN})
    set(FOREIGN_ZIP ${ARG_FOREIGN})
    set(STOCK_ZIP ${ARG_STOCK})
    set(_source ${CMAKE_CURRENT_BINARY_DIR}/${target}.S)
    configure_file(${PROJECT_SOURCE_DIR}/payload/blocks.S.in ${_source} @ONLY)
    set_source_files_properties(${_source} PROPERTIES
        LANGUAGE C OBJECT_DEPENDS "${ARG_FOREIGN};${ARG_STOCK}")
    add_library(${target} STATIC ${_source})
    target_compile_options(${target} PRIVATE -x assembler-with-cpp)
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    add_dependencies(${target} ${ARG_DEPENDS})
endfunction()
