# The Debian package (scripts/package.sh): the system layout under /usr,
# its library dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gamarium)
set(CPACK_PACKAGE_VENDOR "Gamarium developers")
set(CPACK_PACKAGE_CONTACT "Gamarium developers <developers@gamarium.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor of a console video game catalogue and its website")
set(CPACK_PACKAGE_DESCRIPTION "Gamarium keeps a catalogue of console video games (a table of games, a table
of translation patches and a tree of picture folders), edits it one game at
a time with its pictures in view, checks and renumbers the whole catalogue
and writes the static pages of its website from a page template.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libcurl is loaded when a site is published, so no link names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.74)")
# Qt's own dialogs (files, folders) in Russian.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://gamarium.org")
include(CPack)
