# clang (the fuzz build) and Emscripten (the web build) cannot compile
# string literals to CP932. cp932_copy() copies a UTF-8 source with its
# literals written as CP932 byte escapes (scripts/cp932_literals.py), giving
# the same literal bytes that g++ produces with -fexec-charset=CP932. Only
# sources are copied, so the core and the form keep their non-ASCII literals
# in .cpp files, never in headers.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The copy of `source` with CP932 literals, in `result`.
function(cp932_copy source result)
  file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${source})
  set(copy ${CMAKE_CURRENT_BINARY_DIR}/cp932/${relative})
  get_filename_component(directory ${copy} DIRECTORY)
  add_custom_command(
    OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/cp932_literals.py ${source} ${copy}
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/scripts/cp932_literals.py
    COMMENT "CP932 literals for ${relative}")
  set(${result} ${copy} PARENT_SCOPE)
endfunction()

# Copies of all of `sources`, in `result`.
function(cp932_copies result)
  set(copies)
  foreach(source IN LISTS ARGN)
    cp932_copy(${source} copy)
    list(APPEND copies ${copy})
  endforeach()
  set(${result} ${copies} PARENT_SCOPE)
endfunction()
