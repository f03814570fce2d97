# cmake -DTEMPLATE=<in> -DOUTPUT=<out> -DFILES="VAR=path|VAR=path" -P WriteEmbeddedText.cmake
# See dtv_embed_text in EmbedText.cmake.
string(REPLACE "|" ";" entries "${FILES}")
foreach(entry IN LISTS entries)
  string(FIND "${entry}" "=" split)
  string(SUBSTRING "${entry}" 0 ${split} var)
  math(EXPR start "${split} + 1")
  string(SUBSTRING "${entry}" ${start} -1 file)
  file(READ "${file}" hex HEX)
  if(hex STREQUAL "")
    message(FATAL_ERROR "${file} is empty")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # One generated line per text line.
  string(REPLACE "0x0a," "0x0a,\n" bytes "${bytes}")
  set(${var} "${bytes}")
endforeach()
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
