# Checks that the window layer's includes run only downward:
#   cmake -DCLIENT_DIR=<source>/Src2003/Client -P CheckFolders.cmake
# Each folder of CLIENT_DIR is one target; a file there may include the
# headers of its own folder and of the folders whose targets its target links,
# directly or through them. The build alone does not see a header that
# includes one of a part above when only that part's files include it.
# Also refused: a file left directly in CLIENT_DIR, and a .cpp file that its
# folder's CMakeLists.txt does not build.
cmake_minimum_required(VERSION 3.25)

set(faults "")

file(GLOB top_files LIST_DIRECTORIES false RELATIVE ${CLIENT_DIR} ${CLIENT_DIR}/*)
list(REMOVE_ITEM top_files CMakeLists.txt)
foreach(file ${top_files})
  string(APPEND faults "${file} lies directly in Src2003/Client: move it into the folder of its part\n")
endforeach()

# Every folder's target, the window targets it links, and its headers.
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${CLIENT_DIR} ${CLIENT_DIR}/*)
set(parts "")
foreach(folder ${folders})
  if(NOT EXISTS ${CLIENT_DIR}/${folder}/CMakeLists.txt)
    continue()
  endif()
  list(APPEND parts ${folder})
  file(READ ${CLIENT_DIR}/${folder}/CMakeLists.txt build_file)
  string(REGEX MATCH "add_library\\(([a-z_]+)" _ "${build_file}")
  set(folder_of_${CMAKE_MATCH_1} ${folder})
  string(REGEX MATCHALL "target_link_libraries\\([^)]*\\)" link_calls "${build_file}")
  string(REGEX MATCHALL "client_[a-z_]+" linked "${link_calls}")
  set(links_of_${folder} ${linked})
  file(GLOB headers_${folder} RELATIVE ${CLIENT_DIR}/${folder} ${CLIENT_DIR}/${folder}/*.h)
  foreach(header ${headers_${folder}})
    set(header_folder_${header} ${folder})
  endforeach()
  file(GLOB sources RELATIVE ${CLIENT_DIR}/${folder} ${CLIENT_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    if(NOT build_file MATCHES "[ \n(]${source}[ \n)]")
      string(APPEND faults "${folder}/${source} is not built by ${folder}/CMakeLists.txt\n")
    endif()
  endforeach()
endforeach()

# The folders each folder reaches through its links, itself included.
foreach(folder ${parts})
  set(reached ${folder})
  set(pending ${links_of_${folder}})
  while(pending)
    list(POP_FRONT pending target)
    set(next ${folder_of_${target}})
    if(next AND NOT next IN_LIST reached)
      list(APPEND reached ${next})
      list(APPEND pending ${links_of_${next}})
    endif()
  endwhile()
  set(reached_${folder} ${reached})
endforeach()

foreach(folder ${parts})
  file(GLOB files RELATIVE ${CLIENT_DIR}/${folder} ${CLIENT_DIR}/${folder}/*.h ${CLIENT_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${CLIENT_DIR}/${folder}/${file} includes REGEX "^#include \"[^\"]+\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
      set(owner ${header_folder_${header}})
      if(owner AND NOT owner IN_LIST reached_${folder})
        string(APPEND faults "${folder}/${file} includes ${header} of ${owner}, which ${folder} does not link\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "The window layer's folders:\n${faults}")
endif()
list(LENGTH parts part_count)
message(STATUS "${part_count} folders, includes only downward")
