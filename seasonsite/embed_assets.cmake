# Writes site_assets.cpp: the bytes of season.css and season.js as arrays.
# Run as: cmake -DCSS=... -DJS=... -DOUT=... -P embed_assets.cmake
function(embed_bytes file symbol result)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(LENGTH "${hex}" hex_length)
  math(EXPR length "${hex_length} / 2")
  set(${result} "constexpr char ${symbol}[] = {${bytes}0};\nconstexpr std::size_t ${symbol}_size = ${length};\n" PARENT_SCOPE)
endfunction()

embed_bytes("${CSS}" kStylesheet css)
embed_bytes("${JS}" kScript js)
file(WRITE "${OUT}.new" "// Generated from seasonsite/assets/ by embed_assets.cmake; do not edit.\n"
  "#include \"site_assets.h\"\n\n#include <cstddef>\n\nnamespace site {\n\nnamespace {\n\n"
  "${css}${js}\n}  // namespace\n\n"
  "std::string_view seasonStylesheet() { return {kStylesheet, kStylesheet_size}; }\n"
  "std::string_view seasonScript() { return {kScript, kScript_size}; }\n\n}  // namespace site\n")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
