# Copies what ships from resources/ into the folder of the executables, keeping the layout.
file(MAKE_DIRECTORY ${DST})
file(GLOB entries RELATIVE ${SRC} ${SRC}/*)
foreach(entry IN LISTS entries)
  if(entry MATCHES "^(CMakeLists.txt|CopyResources.cmake)$")
    continue()
  endif()
  file(COPY ${SRC}/${entry} DESTINATION ${DST})
endforeach()
