# pandecta_warnings: the warnings the project's own code compiles with.
#
# Every target of the project links it privately, so the flags stay on the
# code we write and never reach a consumer of an installed library (lexdex)
# or the code of the platform's packages.
add_library(pandecta_warnings INTERFACE)
target_compile_options(pandecta_warnings INTERFACE -Wall -Wextra)

# Fails the configure step, naming them, when targets under `directory`
# compile code without linking pandecta_warnings: such a target would build
# without the warnings and nobody would notice. A target made only of another
# target's objects (lexdex of lexdex_objects) compiles nothing of its own.
function(pandecta_require_warnings directory)
  set(missing)
  pandecta_collect_targets_without_warnings(${directory} missing)
  if(missing)
    list(JOIN missing " " names)
    message(FATAL_ERROR "These targets compile without the project's warnings: ${names}. "
                        "Add target_link_libraries(<target> PRIVATE pandecta_warnings) beside each.")
  endif()
endfunction()

function(pandecta_collect_targets_without_warnings directory result)
  set(missing ${${result}})
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources EXCLUDE REGEX "^\\$<TARGET_OBJECTS:")
    get_target_property(links ${target} LINK_LIBRARIES)
    if(sources AND NOT "pandecta_warnings" IN_LIST links)
      list(APPEND missing ${target})
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    pandecta_collect_targets_without_warnings(${subdirectory} missing)
  endforeach()
  set(${result} ${missing} PARENT_SCOPE)
endfunction()
