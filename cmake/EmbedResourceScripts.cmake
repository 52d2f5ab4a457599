# Turns resource scripts into one C++ source that holds each script's text
# as a raw string literal, so that the library carries its templates.
# Called by the build: cmake -DOUT=file.cpp -DSOURCE_DIR=dir -DSCRIPTS=a.rc;b.rc -P this file
set(_delimiter "morvelance_rc")
set(_entries "")
foreach(_script ${SCRIPTS})
  file(READ ${_script} _text)
  string(FIND "${_text}" ")${_delimiter}\"" _clash)
  if(NOT _clash EQUAL -1)
    message(FATAL_ERROR "${_script} holds the raw-string delimiter )${_delimiter}\"")
  endif()
  file(RELATIVE_PATH _name ${SOURCE_DIR} ${_script})
  string(APPEND _entries "    {\"${_name}\", R\"${_delimiter}(${_text})${_delimiter}\"},\n")
endforeach()
set(_content "// Made by cmake/EmbedResourceScripts.cmake from the library's resource scripts.
#include \"resources/EmbeddedScripts.h\"

namespace {
const EmbeddedScript kScripts[] = {
${_entries}};
}  // namespace

const EmbeddedScript* EmbeddedScripts(int& count)
{
    count = static_cast<int>(sizeof(kScripts) / sizeof(kScripts[0]));
    return kScripts;
}
")
# Rewrite only on a change, so that an unchanged script rebuilds nothing.
if(EXISTS ${OUT})
  file(READ ${OUT} _old)
  if(_old STREQUAL _content)
    return()
  endif()
endif()
file(WRITE ${OUT} "${_content}")
