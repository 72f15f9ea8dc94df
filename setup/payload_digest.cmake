# Script mode: writes the SHA-256 of INPUT, as 64 lower-case hex digits, to OUTPUT; the file is
# rewritten only when the digest changed.
file(SHA256 "${INPUT}" digest)
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
  if(previous STREQUAL digest)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${digest}")
