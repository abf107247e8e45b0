# The Debian package (cpack -G DEB, scripts/package.sh): CPack builds it from
# the same install rules as `cmake --install`, so the package and an install
# from the sources hold the same files; dpkg-shlibdeps computes the
# dependencies from the binaries.

# The command-line tools go beside the program, so that their bare names work
# after an install.
install(TARGETS kelvarok-sim kelvarok-mix kelvarok-mix-play RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Man pages and the Debian changelog carry the project's version and are
# installed compressed, as Debian wants them.
set(kelvarok_man_pages kelvarok.6 kelvarok-sim.6 kelvarok-mix.6 kelvarok-mix-play.6)
set(kelvarok_compressed_docs)
foreach(page ${kelvarok_man_pages})
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page} ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
  list(APPEND kelvarok_compressed_docs ${PROJECT_BINARY_DIR}/man/${page})
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/docs/debian/changelog
               ${PROJECT_BINARY_DIR}/debian/changelog.Debian @ONLY)
list(APPEND kelvarok_compressed_docs ${PROJECT_BINARY_DIR}/debian/changelog.Debian)

set(kelvarok_gzipped)
foreach(doc ${kelvarok_compressed_docs})
  add_custom_command(OUTPUT ${doc}.gz
    COMMAND gzip -9 -n -c ${doc} > ${doc}.gz
    DEPENDS ${doc}
    VERBATIM)
  list(APPEND kelvarok_gzipped ${doc}.gz)
endforeach()
add_custom_target(kelvarok_compressed_docs ALL DEPENDS ${kelvarok_gzipped})

list(TRANSFORM kelvarok_man_pages PREPEND ${PROJECT_BINARY_DIR}/man/ OUTPUT_VARIABLE man_sources)
list(TRANSFORM man_sources APPEND .gz)
install(FILES ${man_sources} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kelvarok)
install(FILES ${PROJECT_SOURCE_DIR}/docs/debian/copyright DESTINATION ${doc_dir})
install(FILES ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz DESTINATION ${doc_dir})
install(FILES ${PROJECT_SOURCE_DIR}/assets/fonts/ComicNeue-copyright.txt
        DESTINATION ${doc_dir} RENAME fonts-comic-neue.txt)
install(FILES ${PROJECT_SOURCE_DIR}/assets/fonts/LiberationSerif-copyright.txt
        DESTINATION ${doc_dir} RENAME fonts-liberation.txt)
install(FILES ${PROJECT_SOURCE_DIR}/assets/fonts/OCRA-copyright.txt
        DESTINATION ${doc_dir} RENAME fonts-ocr-a.txt)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvarok)
set(CPACK_PACKAGE_VENDOR Ombrix)
set(CPACK_PACKAGE_CONTACT "Kelvarok developers <developers@kelvarok.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: fly a ship through drifting rocks")
set(CPACK_PACKAGE_DESCRIPTION
    "One player, or two taking turns, fly a ship through a field of drifting\n"
    "rocks: turn, thrust, fire short-lived missiles and jump through\n"
    "hyperspace. Big rocks split into smaller ones, green rocks cannot be\n"
    "destroyed, and every third round brings a bonus round. The ten best\n"
    "results enter a high-score table.\n"
    "\n"
    "The package also holds kelvarok-sim, which plays the game headless and\n"
    "traces every frame, and kelvarok-mix and kelvarok-mix-play, which run the\n"
    "game's sound mixer from scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its Wayland platform plugin at run time, which shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY kelvarok)
include(CPack)
