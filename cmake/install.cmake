# Where `cmake --install` puts the game, laid out as a Debian game, and the
# .deb that CPack makes of it. Every program finds its data relative to its
# own executable (<exe dir>/../share/games/sluggerwood), so the tree works
# under any prefix and unpacked anywhere.
#
#   <prefix>/games/                            baseball, batting, vellobar
#   <prefix>/share/games/sluggerwood/sounds/   the wave set (*.wav)
#   <prefix>/share/games/sluggerwood/defaults/ the rosters, rules and guide
#                                              brought over on the first start
#   <prefix>/share/man/man6/                   the manual pages
#   <prefix>/share/applications/, metainfo/, icons/
#   <prefix>/share/doc/sluggerwood/            README.md, copyright, changelog

set(SW_INSTALL_GAMES games)
set(SW_INSTALL_DATA ${CMAKE_INSTALL_DATAROOTDIR}/games/sluggerwood)
set(SW_INSTALL_DOC ${CMAKE_INSTALL_DATAROOTDIR}/doc/sluggerwood)
set(SW_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(SW_APP_ID org.sluggerwood.Sluggerwood)

# Whatever the umask of the one who installs or packages.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS baseball batting vellobar RUNTIME DESTINATION ${SW_INSTALL_GAMES})

# Only the wave files are read at run time; the manifest is built into the
# programs.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/sounds/ DESTINATION ${SW_INSTALL_DATA}/sounds
        FILES_MATCHING PATTERN "*.wav")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/defaults/ DESTINATION ${SW_INSTALL_DATA}/defaults
        FILES_MATCHING PATTERN "*.txt")

# Manual pages and the changelog, compressed as Debian wants them: at the
# highest level, without a name or a time stamp, so the same sources always
# give the same bytes.
find_program(SW_GZIP gzip REQUIRED)
set(SW_GZIPPED)
function(sw_gzip source output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${SW_GZIP} -9n -c ${source} > ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${source}"
    VERBATIM)
  set(SW_GZIPPED ${SW_GZIPPED} ${output} PARENT_SCOPE)
endfunction()

set(SW_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${SW_PACKAGING_OUT})
foreach(page baseball batting vellobar)
  sw_gzip(${SW_PACKAGING}/${page}.6 ${SW_PACKAGING_OUT}/${page}.6.gz)
  install(FILES ${SW_PACKAGING_OUT}/${page}.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()
sw_gzip(${SW_PACKAGING}/changelog ${SW_PACKAGING_OUT}/changelog.gz)
add_custom_target(sw_packaging_files ALL DEPENDS ${SW_GZIPPED})

install(FILES ${SW_PACKAGING}/${SW_APP_ID}.desktop ${SW_PACKAGING}/org.sluggerwood.BattingPractice.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${SW_PACKAGING}/${SW_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${SW_PACKAGING}/sluggerwood.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${SW_PACKAGING}/copyright ${SW_PACKAGING_OUT}/changelog.gz
        DESTINATION ${SW_INSTALL_DOC})

# --- The Debian package -------------------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sluggerwood)
set(CPACK_PACKAGE_VENDOR "The Sluggerwood developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Sluggerwood developers <developers@sluggerwood.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio baseball game for blind and visually impaired players")
# CPack puts the summary above it, indents every line and turns an empty
# line into a paragraph break; it folds nothing, so lines stay under 80.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sluggerwood is a baseball game played by ear and with the keyboard alone:
nothing needs to be seen, and no screen reader is needed. Its own voice
speaks every question, play and score, and the bat, the glove, the umpire
and the crowd are placed in stereo.

You manage a team through a best-of-seven series against the computer. At
bat, you swing by pressing a key while the pitch travels from the left
speaker to the right; in the field, you call every pitch of your pitcher
and choose when to go to the bullpen. Function keys tell the count, the
outs, the runners and the score at any time, and a game can be saved and
resumed.

The package also holds batting practice on its own and a small spoken menu
of the games. Every spoken line is printed on standard output as well, for
a braille display. Speech comes from eSpeak NG.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The library (libspeechd2) comes with the shared-library dependencies; the
# service itself is only needed for the player's own voice, which falls back
# to the built-in one without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "speech-dispatcher")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
