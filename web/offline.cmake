# Writes the site's service worker: the version is a digest of every file it keeps, so that a
# new build is a new worker, which the browser fetches and installs on the next visit.
# cmake -DSITE=dir -DTEMPLATE=file -DFILES="a;b;..." -P offline.cmake
set(digests "")
foreach(name ${FILES})
  file(SHA256 ${SITE}/${name} digest)
  string(APPEND digests "${name} ${digest}\n")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 version)
set(list "'./'")
foreach(name ${FILES})
  string(APPEND list ", '${name}'")
endforeach()
file(READ ${TEMPLATE} text)
string(REPLACE "const version = 'unbuilt';" "const version = '${version}';" text "${text}")
string(REPLACE "const files = ['./'];" "const files = [${list}];" text "${text}")
file(WRITE ${SITE}/tolvek-offline.js.part "${text}")
file(RENAME ${SITE}/tolvek-offline.js.part ${SITE}/tolvek-offline.js)
