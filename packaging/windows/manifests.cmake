# Writes the manifests that packaging/windows.cmake configured into MANIFESTS
# to DIST, each ${sha256_NAME} in them replaced by the SHA-256 of DIST/NAME:
#   cmake -DMANIFESTS=DIR -DDIST=DIR -P manifests.cmake
file(GLOB names LIST_DIRECTORIES false RELATIVE ${DIST} ${DIST}/*)
foreach(name IN LISTS names)
    file(SHA256 ${DIST}/${name} sha256_${name})
endforeach()
file(GLOB_RECURSE manifests RELATIVE ${MANIFESTS} ${MANIFESTS}/*)
foreach(manifest IN LISTS manifests)
    configure_file(${MANIFESTS}/${manifest} ${DIST}/${manifest})
endforeach()
