# kelvarok_embed(<target> <symbol-prefix> FILES f1 f2 ...)
# Turns each file into a constant byte array in a generated source file that is
# added to <target>. For a file "iship.png" and prefix "sprite" the array is
# kelvarok::embedded::sprite_iship_png with its size in ..._size.
function(kelvarok_embed target prefix)
  cmake_parse_arguments(EMB "" "" "FILES" ${ARGN})
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/embedded)
  file(MAKE_DIRECTORY ${out_dir})
  foreach(file IN LISTS EMB_FILES)
    get_filename_component(abs ${file} ABSOLUTE)
    get_filename_component(name ${file} NAME)
    string(MAKE_C_IDENTIFIER "${prefix}_${name}" symbol)
    set(out ${out_dir}/${symbol}.cpp)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DSYMBOL=${symbol}
              -P ${PROJECT_SOURCE_DIR}/cmake/KelvarokEmbedFile.cmake
      DEPENDS ${abs} ${PROJECT_SOURCE_DIR}/cmake/KelvarokEmbedFile.cmake
      VERBATIM)
    target_sources(${target} PRIVATE ${out})
  endforeach()
endfunction()
