# Finishes a site folder once its files are in place:
# - index.html asks for the program's .wasm early, alongside the scripts, where the folder has a
#   separate .wasm; the single-file folder has none, and the request would fail there;
# - the service worker (sw.js) is written from its template: the list of the folder's files,
#   which it keeps for offline use, and a digest of them all in its cache's name, so that a
#   build that changes any file gives browsers a new worker and a new cache.
#   cmake -DSITE=<site folder> -DTEMPLATE=<web/sw.js> -P finish-site.cmake
if(NOT EXISTS "${SITE}/tarnwick.wasm")
  file(READ "${SITE}/index.html" page)
  string(REGEX REPLACE "<link rel=\"preload\" href=\"tarnwick.wasm\"[^>]*>\n" "" page "${page}")
  file(WRITE "${SITE}/index.html" "${page}")
endif()
file(GLOB names RELATIVE "${SITE}" "${SITE}/*")
list(REMOVE_ITEM names sw.js)
list(SORT names)
set(digests "")
set(quoted "")
foreach(name IN LISTS names)
  if(IS_DIRECTORY "${SITE}/${name}")
    continue()
  endif()
  file(SHA256 "${SITE}/${name}" digest)
  string(APPEND digests "${name} ${digest}\n")
  list(APPEND quoted "\"${name}\"")
endforeach()
string(SHA256 stamp "${digests}")
string(SUBSTRING "${stamp}" 0 16 TARNWICK_SITE_STAMP)
list(JOIN quoted ", " TARNWICK_SITE_FILES)
configure_file("${TEMPLATE}" "${SITE}/sw.js" @ONLY)
