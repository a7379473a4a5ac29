# Writes a C++ source that holds a file's text (a profile, the console's
# page), returned by plinth::FUNCTION() (DefaultProfileText unless given):
#   cmake -DINPUT=<file> -DOUTPUT=<source.cpp> [-DFUNCTION=<name>] -P Embed.cmake
if(NOT FUNCTION)
  set(FUNCTION DefaultProfileText)
endif()
file(READ "${INPUT}" bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT}; do not edit.
#include <string_view>

namespace plinth {
namespace {
const char kText[] = {
    ${bytes}
};
}  // namespace

std::string_view ${FUNCTION}() { return std::string_view(kText, sizeof(kText)); }

}  // namespace plinth
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
