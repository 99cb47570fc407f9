# Embeds the string table into the core library as a raw string literal, so
# the application and the command-line tool share one table without Qt.
function(zentrova_embed_strings target table)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/InfoPlistTable.cpp)
    add_custom_command(
        OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -DIN=${table} -DOUT=${out} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedStrings.cmake
        DEPENDS ${table} ${PROJECT_SOURCE_DIR}/cmake/EmbedStrings.cmake
        COMMENT "Embedding the string table")
    target_sources(${target} PRIVATE ${out})
endfunction()
