# cmake -DINPUT=FILE -DOUTPUT=FILE.cpp -DSYMBOL=NAME -P EmbedFile.cmake: a C++ source that
# holds FILE's bytes as `const unsigned char NAME[]` with `NAME` + "Size".
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){20})" "\\1\n" bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.part"
  "// ${name}, embedded by the build.\n"
  "#include <cstddef>\n\n"
  "extern const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\n"
  "extern const std::size_t ${SYMBOL}Size = sizeof(${SYMBOL});\n")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
