# Turns one file into a C++ source that returns its bytes from a function in namespace resources.
#
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DFUNCTION=<name> -DHEADER=<include> -P embed.cmake
#
# Plain CMake, so the build needs no xxd and no assembler tricks that differ between toolchains.

foreach(var INPUT OUTPUT FUNCTION HEADER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed.cmake: ${var} is not set")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")

if(size EQUAL 0)
  set(body "std::span<const std::uint8_t> ${FUNCTION}() { return {}; }")
else()
  # Two hex digits become "0x..,"; a line break after every 16 bytes keeps the source readable.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
  set(body "namespace {
alignas(16) constexpr std::uint8_t kData[${size}] = {
    ${bytes}
};
} // namespace

std::span<const std::uint8_t> ${FUNCTION}() { return kData; }")
endif()

get_filename_component(name "${INPUT}" NAME)
set(content "// Generated from ${name} by tools/embed.cmake at build time.
#include \"${HEADER}\"

namespace resources {

${body}

} // namespace resources
")

# Rewrite only on change, so an unchanged resource does not recompile.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
