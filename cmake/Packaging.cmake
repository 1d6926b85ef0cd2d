# Packages made from the install rules: a .deb on Linux (cpack -G DEB),
# a plain zip for the Windows cross build.

set(CPACK_PACKAGE_NAME orvelin)
set(CPACK_PACKAGE_VENDOR "Orvelin team")
set(CPACK_PACKAGE_CONTACT "Orvelin team <orvelin@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "scrambles a text with a short session code and restores it")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://orvelin.example.org/")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvelin team <orvelin@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies come from the libraries the programs really link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description; CPack puts the summary in front and formats both the
# way dpkg expects.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Orvelin asks for a code of 6 to 10 characters at start and uses it to
scramble the text in its editor, or to restore a scrambled one. Texts can
be typed, pasted, or opened from and saved to 8-bit text files.

orvelin-codec does the same from the command line, for scripts.

Scrambling with a short code keeps a text from casual reading; it is not
encryption.")

# `package_source`: the tree as committed, without builds or history.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build[^/]*/")

include(CPack)
