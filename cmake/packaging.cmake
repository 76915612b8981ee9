# Installation and the Debian packages (cpack -G DEB from the build tree):
#   miravel            the client, its desktop entry, icons, metainfo, manual
#   miravel-poemd      the service and its index tool, the systemd unit, manuals
#   miravel-poemd-data the index, built from the corpus (scripts/corpus.sh)
# Dependencies come from dpkg-shlibdeps; libcurl, which the client opens at
# run time, is named by hand.
#
# The service and its data: the service reads one index format
# (kIndexFormatVersion in poemd/index/index_file.h), and the data package
# provides the virtual package miravel-poemd-index-N for the format N its
# index is in. The service depends on its own build's data or on any data
# of its format: a service release that keeps the format takes the data
# already installed, one that changes it cannot be installed beside an old
# index (nor old data kept beside a new service).

# The index is static data, the same on every machine: /usr/share (FHS).
set(MIRAVEL_INDEX_DIR ${CMAKE_INSTALL_DATADIR}/miravel-poemd)
file(STRINGS ${PROJECT_SOURCE_DIR}/poemd/index/index_file.h MIRAVEL_INDEX_FORMAT_LINE
     REGEX "kIndexFormatVersion = [0-9]+;")
string(REGEX REPLACE ".*= ([0-9]+).*" "\\1" MIRAVEL_INDEX_FORMAT "${MIRAVEL_INDEX_FORMAT_LINE}")
if(NOT MIRAVEL_INDEX_FORMAT MATCHES "^[0-9]+$")
  message(FATAL_ERROR "no kIndexFormatVersion in poemd/index/index_file.h")
endif()
set(MIRAVEL_DEPLOY ${PROJECT_SOURCE_DIR}/deploy)
set(MIRAVEL_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)

# Manual pages and the changelog, compressed as Debian wants them (-9, no name
# or time stamp). The packages are native: the changelog is changelog.gz.
function(miravel_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND gzip -9n -c ${source} > ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()
file(MAKE_DIRECTORY ${MIRAVEL_PACKAGE_FILES})
set(MIRAVEL_GZIPPED)
foreach(page miravel.1 miravel-poemd.8 miravel-poemd-index.1)
  miravel_gzip(${MIRAVEL_DEPLOY}/man/${page} ${MIRAVEL_PACKAGE_FILES}/${page}.gz)
  list(APPEND MIRAVEL_GZIPPED ${MIRAVEL_PACKAGE_FILES}/${page}.gz)
endforeach()
miravel_gzip(${MIRAVEL_DEPLOY}/debian/changelog ${MIRAVEL_PACKAGE_FILES}/changelog.gz)
list(APPEND MIRAVEL_GZIPPED ${MIRAVEL_PACKAGE_FILES}/changelog.gz)
add_custom_target(miravel_package_files ALL DEPENDS ${MIRAVEL_GZIPPED})

# The client.
install(TARGETS miravel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT client)
install(FILES ${PROJECT_SOURCE_DIR}/composer/qt/org.miravel.Miravel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT client)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${MIRAVEL_DEPLOY}/icons/miravel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME miravel.png COMPONENT client)
endforeach()
install(FILES ${MIRAVEL_DEPLOY}/icons/miravel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT client)
install(FILES ${MIRAVEL_DEPLOY}/org.miravel.Miravel.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT client)
install(FILES ${MIRAVEL_PACKAGE_FILES}/miravel.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT client)

# The service.
install(TARGETS miravel-poemd miravel-poemd-index RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT service)
install(FILES ${MIRAVEL_DEPLOY}/miravel-poemd.service DESTINATION /lib/systemd/system
        COMPONENT service EXCLUDE_FROM_ALL)
install(FILES ${MIRAVEL_PACKAGE_FILES}/miravel-poemd.8.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man8 COMPONENT service)
install(FILES ${MIRAVEL_PACKAGE_FILES}/miravel-poemd-index.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT service)

# The index, built beforehand by scripts/corpus.sh; packaged, never installed
# by a plain `cmake --install`.
install(FILES ${CMAKE_BINARY_DIR}/corpus/poems.idx DESTINATION ${MIRAVEL_INDEX_DIR}
        COMPONENT data EXCLUDE_FROM_ALL)

foreach(component client service data)
  set(package_miravel miravel)
  set(package_client miravel)
  set(package_service miravel-poemd)
  set(package_data miravel-poemd-data)
  install(FILES ${MIRAVEL_DEPLOY}/debian/copyright ${MIRAVEL_PACKAGE_FILES}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package_${component}} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME miravel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Miravel developers")
set(CPACK_PACKAGE_CONTACT "The Miravel developers <hello@miravel.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL client service data)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://miravel.example/)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_CLIENT_PACKAGE_NAME miravel)
set(CPACK_DEBIAN_CLIENT_PACKAGE_SECTION text)
set(CPACK_DEBIAN_CLIENT_PACKAGE_DEPENDS "libcurl4 (>= 7.74.0)")
set(CPACK_DEBIAN_CLIENT_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei, miravel-poemd")
set(CPACK_DEBIAN_CLIENT_DESCRIPTION "compose Chinese acrostic poems (cang tou shi)
Miravel composes Chinese acrostic poems: type the characters to hide,
choose the form (five or seven characters a line), where the characters
sit in each line (head, middle or tail) and the rhyme scheme, and the poem
appears one line per hidden character, ready to copy.
.
The poems come from the Miravel poem service (package miravel-poemd), on
this machine or elsewhere on the network.")

set(CPACK_DEBIAN_SERVICE_PACKAGE_NAME miravel-poemd)
set(CPACK_DEBIAN_SERVICE_PACKAGE_SECTION net)
# The poem's picture is set in Noto Serif CJK SC (fonts-noto-cjk).
set(CPACK_DEBIAN_SERVICE_PACKAGE_DEPENDS
    "miravel-poemd-data (= ${PROJECT_VERSION}) | miravel-poemd-index-${MIRAVEL_INDEX_FORMAT}, fonts-noto-cjk")
# Enable, start, restart on upgrade and stop the unit as dh_installsystemd
# would (deploy/debian/miravel-poemd).
set(CPACK_DEBIAN_SERVICE_PACKAGE_CONTROL_EXTRA
    "${MIRAVEL_DEPLOY}/debian/miravel-poemd/postinst;${MIRAVEL_DEPLOY}/debian/miravel-poemd/prerm;${MIRAVEL_DEPLOY}/debian/miravel-poemd/postrm")
set(CPACK_DEBIAN_SERVICE_DESCRIPTION "Miravel poem service: acrostic poems over HTTP
miravel-poemd composes Chinese acrostic poems from an index of classical
verse, for the Miravel desktop client and for browsers. Each poem is
composed as a whole: real lines of the corpus that rhyme, keep the tonal
pattern of regulated verse and belong together.
.
It comes with a systemd unit and the tool that builds the index from the
chinese-poetry corpus; the index itself is in miravel-poemd-data.")

set(CPACK_DEBIAN_DATA_PACKAGE_NAME miravel-poemd-data)
set(CPACK_DEBIAN_DATA_PACKAGE_SECTION net)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DATA_PACKAGE_PROVIDES "miravel-poemd-index-${MIRAVEL_INDEX_FORMAT}")
# CPack puts one blank before each line of an extended description: the
# texts below have none of their own.
set(CPACK_DEBIAN_DATA_DESCRIPTION "index of classical Chinese verse for the Miravel poem service
The index miravel-poemd composes from: about 2.7 million lines of the
Tang and Song shi, the ci and smaller collections of the chinese-poetry
corpus, with their sources, tones, rhymes, couplets and the associations
between consecutive lines. Built when the package was built; installing
it downloads nothing.")

include(CPack)

# The service package's maintainer scripts, with stand-ins for systemd.
add_test(NAME PackagingTest.MaintainerScriptsManageTheService
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/maintainer-scripts-test.sh)
set_tests_properties(PackagingTest.MaintainerScriptsManageTheService PROPERTIES
                     SKIP_RETURN_CODE 77 TIMEOUT 30)

# The Kubernetes manifests against the Kubernetes schemas.
add_test(NAME DeployTest.ManifestsAreValidAndFitTheDrain
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/manifests-test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(DeployTest.ManifestsAreValidAndFitTheDrain PROPERTIES
                     SKIP_RETURN_CODE 77 TIMEOUT 120)
