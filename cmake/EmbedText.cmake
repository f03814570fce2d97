# dtv_embed_text(OUTPUT TEMPLATE <file.in> FILES <VAR> <path> ...)
# Generates OUTPUT from TEMPLATE at build time; each @VAR@ becomes the bytes of
# its file as a comma-separated list of unsigned char literals. Pure CMake, so
# the build needs no other tool, and the exact bytes survive (CR LF included).
function(dtv_embed_text output)
  cmake_parse_arguments(ARG "" "TEMPLATE" "FILES" ${ARGN})
  set(vars "")
  set(files "")
  list(LENGTH ARG_FILES count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET ARG_FILES ${i} var)
    list(GET ARG_FILES ${j} file)
    list(APPEND vars "${var}=${file}")
    list(APPEND files "${file}")
  endforeach()
  string(REPLACE ";" "|" vars "${vars}")
  get_filename_component(template "${ARG_TEMPLATE}" ABSOLUTE)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" "-DTEMPLATE=${template}" "-DOUTPUT=${output}" "-DFILES=${vars}"
            -P "${CMAKE_SOURCE_DIR}/cmake/WriteEmbeddedText.cmake"
    DEPENDS "${template}" ${files} "${CMAKE_SOURCE_DIR}/cmake/WriteEmbeddedText.cmake"
    COMMENT "Embedding text files in ${output}"
    VERBATIM)
endfunction()
