# The Debian package (cpack -G DEB, scripts/package.sh): CPack builds it from
# the same install rules as `cmake --install`, so the package and an install
# from the sources hold the same files; dpkg-shlibdeps computes the
# dependencies from the binaries.

# The command-line tools go into bin/ (/usr/bin in the package, beside the
# game's /usr/games), so that their bare names work after an install. They are
# developer tools, not games: the package puts them in kelvarok-tools.
install(TARGETS kelvarok-sim kelvarok-mix kelvarok-mix-play RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT tools)

# Man pages and the Debian changelog carry the project's version and are
# installed compressed, as Debian wants them: the game's page in section 6,
# the tools' in section 1.
set(kelvarok_man_pages_game kelvarok.6)
set(kelvarok_man_pages_tools kelvarok-sim.1 kelvarok-mix.1 kelvarok-mix-play.1)
set(kelvarok_compressed_docs)
foreach(page ${kelvarok_man_pages_game} ${kelvarok_man_pages_tools})
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

# Each package's man pages, copyright and changelog (the copyright covers the
# fonts that the game and kelvarok-sim embed), and the lintian overrides that
# say why lintian may pass each tag it would show: those only in the package,
# not in an install from the sources.
function(kelvarok_package_docs component package)
  foreach(page ${kelvarok_man_pages_${component}})
    cmake_path(GET page EXTENSION LAST_ONLY dot_section)
    string(SUBSTRING ${dot_section} 1 -1 section)
    install(FILES ${PROJECT_BINARY_DIR}/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section}
            COMPONENT ${component})
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/docs/debian/copyright
          ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/debian/${package}.lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${package}
          COMPONENT ${component} EXCLUDE_FROM_ALL)
endfunction()
kelvarok_package_docs(game kelvarok)
kelvarok_package_docs(tools kelvarok-tools)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvarok)
set(CPACK_PACKAGE_VENDOR Ombrix)
set(CPACK_PACKAGE_CONTACT "Kelvarok developers <developers@kelvarok.example>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game tools)
set(CPACK_DEBIAN_GAME_PACKAGE_NAME kelvarok)
set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
set(CPACK_DEBIAN_GAME_DESCRIPTION
    "arcade game: fly a ship through drifting rocks\n"
    "One player, or two taking turns, fly a ship through a field of drifting\n"
    "rocks: turn, thrust, fire short-lived missiles and jump through\n"
    "hyperspace. Big rocks split into smaller ones, green rocks cannot be\n"
    "destroyed, and every third round brings a bonus round. The ten best\n"
    "results enter a high-score table.")
# Qt loads its Wayland platform plugin at run time, which shlibdeps cannot see.
set(CPACK_DEBIAN_GAME_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME kelvarok-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_TOOLS_DESCRIPTION
    "developer tools of the Kelvarok arcade game\n"
    "kelvarok-sim plays Kelvarok headless on a virtual clock, traces every\n"
    "frame and checks recorded games. kelvarok-mix runs the game's software\n"
    "wave mixer from a script on a virtual device and writes raw PCM, and\n"
    "kelvarok-mix-play plays such a script in real time.")
foreach(variable CPACK_DEBIAN_GAME_DESCRIPTION CPACK_DEBIAN_TOOLS_DESCRIPTION)
  string(REPLACE ";" "" ${variable} "${${variable}}")
endforeach()
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY kelvarok)
include(CPack)
