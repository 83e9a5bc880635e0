# Writes the page's service worker (sw.js) into the page's folder from
# service_worker.js.in: the list of the page's files (FILES, or every other
# file in the folder), and a digest of their names and contents that names
# the worker's cache.
#   cmake -DPAGE=<folder> [-DFILES=<file,file,...>] -P service_worker.cmake
if(NOT PAGE)
  message(FATAL_ERROR "service_worker.cmake: give the page's folder as -DPAGE=<folder>")
endif()
if(FILES)
  string(REPLACE "," ";" files "${FILES}")
else()
  file(GLOB files RELATIVE ${PAGE} ${PAGE}/*)
endif()
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(hashes "")
set(quoted "")
foreach(file IN LISTS files)
  if(IS_DIRECTORY ${PAGE}/${file})
    continue()
  endif()
  file(SHA256 ${PAGE}/${file} hash)
  string(APPEND hashes "${file} ${hash}\n")
  string(APPEND quoted "'${file}', ")
endforeach()
string(SHA256 digest "${hashes}")
string(SUBSTRING ${digest} 0 16 PAGE_DIGEST)
set(PAGE_FILES "${quoted}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/service_worker.js.in ${PAGE}/sw.js @ONLY)
