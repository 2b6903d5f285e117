# cmake -DCORE_DIR=src/core -DGENERATED_DIR=build/generated -P CoreLayering.cmake
# Fails when a core file names a Qt header or a header that is not part of the core (an
# application header, say): the core links the standard library only.
file(GLOB_RECURSE sources "${CORE_DIR}/*.h" "${CORE_DIR}/*.cpp" "${CORE_DIR}/*.in")
set(faults "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*<(Q[^>]*|qt[^>]*)>")
      list(APPEND faults "${source}: Qt header <${CMAKE_MATCH_1}>")
    elseif(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(header "${CMAKE_MATCH_1}")
      get_filename_component(folder "${source}" DIRECTORY)
      if(NOT EXISTS "${CORE_DIR}/${header}" AND NOT EXISTS "${folder}/${header}"
         AND NOT EXISTS "${GENERATED_DIR}/${header}"
         AND NOT EXISTS "${CORE_DIR}/support/${header}.in")
        list(APPEND faults "${source}: \"${header}\" is not a core header")
      endif()
    endif()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "The core must not reach outside itself:\n${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} core files include only the standard library and the core")
