# Turns a UTF-8 text file kept with LF line ends into a C++ source that
# defines `const fw::String& <NAMESPACE>::<NAME>()`: the file's lines joined
# by CR LF, without a break after the last. Run as
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAMESPACE=<ns> -DNAME=<fn> -P EmbedText.cmake
# It refuses a file with a CR or a tab, so no stray line end or tab gets in.
file(READ "${INPUT}" text)
if(text MATCHES "\r")
  message(FATAL_ERROR "${INPUT} has a CR; keep it with LF line ends")
endif()
if(text MATCHES "\t")
  message(FATAL_ERROR "${INPUT} has a tab")
endif()
# The file ends in one LF, as editors write it; the text does not.
string(REGEX REPLACE "\n$" "" text "${text}")
string(REPLACE "\\" "\\\\" text "${text}")
string(REPLACE "\"" "\\\"" text "${text}")
string(REPLACE "?" "\\?" text "${text}")
string(REPLACE "\n" "\\r\\n\"\n    \"" text "${text}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} by cmake/EmbedText.cmake; edit that file.\n"
  "#include \"framework/Object.h\"\n\n"
  "namespace ${NAMESPACE} {\n"
  "const fw::String& ${NAME}() {\n"
  "  static const fw::String text =\n"
  "    \"${text}\";\n"
  "  return text;\n"
  "}\n"
  "}  // namespace ${NAMESPACE}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
