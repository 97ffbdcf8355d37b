# cmake -DINPUT=FILE -DOUTPUT=FILE.cpp -DHEADER=dir/Name.h -DNAMESPACE=ns -DFUNCTION=Name -P OrxEmbedText.cmake
# Writes a C++ source whose function returns the bytes of INPUT, so that a program carries a
# text file inside itself. INPUT stays the one place the text is edited.
foreach(var INPUT OUTPUT HEADER NAMESPACE FUNCTION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "OrxEmbedText.cmake: ${var} is not set")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
# Sixteen bytes a line; a trailing 0 keeps an empty file a valid array.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line_pattern) # CMake's regex has no {n}
string(REGEX REPLACE "(${line_pattern})" "\\1\n    " bytes "${bytes}")
cmake_path(GET INPUT FILENAME input_name)

file(CONFIGURE OUTPUT "${OUTPUT}.tmp" @ONLY CONTENT [=[
// Generated from @input_name@ by cmake/OrxEmbedText.cmake; edit that file, not this one.
#include "@HEADER@"

namespace @NAMESPACE@ {

std::string_view @FUNCTION@()
{
    static constexpr unsigned char kBytes[] = {
    @bytes@0};
    return {reinterpret_cast<const char*>(kBytes), @size@};
}

} // namespace @NAMESPACE@
]=])
# Rewriting an unchanged file would recompile it on every build.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
