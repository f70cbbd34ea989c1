# Writes the bytes of INPUT as a C++ array into OUTPUT.
file(READ ${INPUT} content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
file(WRITE ${OUTPUT}
  "#include \"resources/embedded_picture.h\"\n"
  "namespace quentara {\n"
  "const unsigned char embeddedPicture[] = {${bytes}};\n"
  "const std::size_t embeddedPictureSize = ${size};\n"
  "}  // namespace quentara\n")
